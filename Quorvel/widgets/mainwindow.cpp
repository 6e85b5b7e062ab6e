#include "widgets/mainwindow.h"

#include "foundation/simpleqtlogger.h"

MainWindow::MainWindow(QWidget* parent) : QWidget(parent) {}

void MainWindow::setPanels(QWidget* first, QWidget* second)
{
    firstPanel = first;
    secondPanel = second;
}

void MainWindow::setStateWidgets(QWidget* normal, QWidget* maximised)
{
    normalWidget = normal;
    maximisedWidget = maximised;
}

void MainWindow::showMaximisedWidget(bool maximised)
{
    if (normalWidget)
        normalWidget->setVisible(!maximised);
    if (maximisedWidget)
        maximisedWidget->setVisible(maximised);
}

void MainWindow::changeFullscreen()
{
    showMaximisedWidget(true);
}

void MainWindow::changeNormalScreen()
{
    showMaximisedWidget(false);
}

void MainWindow::maximizeWidget()
{
    showMaximisedWidget(true);
    setWindowState(Qt::WindowMaximized);
}

void MainWindow::normalizeWidget()
{
    showMaximisedWidget(false);
    setWindowState(Qt::WindowNoState);
}

void MainWindow::minimizeWidget()
{
    setWindowState(Qt::WindowMinimized);
}

void MainWindow::finish()
{
    L_INFO(QStringLiteral("MainWindow::finish()"));
    for (QWidget* panel : {firstPanel, secondPanel}) {
        if (panel)
            panel->hide();
    }
    hide();
    emit quit();
    L_INFO(QStringLiteral("MainWindow::finish() #2"));
}
