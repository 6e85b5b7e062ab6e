#ifndef MAINWINDOW_H
#define MAINWINDOW_H

#include <QWidget>

// A window frame with slots for its window states: one widget shows in the
// normal state and another in the maximised one.
class MainWindow : public QWidget
{
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);

    void setPanels(QWidget* first, QWidget* second);
    void setStateWidgets(QWidget* normal, QWidget* maximised);

signals:
    void quit();

public slots:
    void changeFullscreen();
    void changeNormalScreen();
    void maximizeWidget();
    void minimizeWidget();
    void normalizeWidget();
    void finish();

private:
    void showMaximisedWidget(bool maximised);

    QWidget* firstPanel = nullptr;
    QWidget* secondPanel = nullptr;
    QWidget* normalWidget = nullptr;
    QWidget* maximisedWidget = nullptr;
};

#endif // MAINWINDOW_H
