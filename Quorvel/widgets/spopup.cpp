#include "widgets/spopup.h"

#include "widgets/overlaystack.h"
#include "widgets/spopupbase.h"
#include "widgets/spopupmainframe.h"

#include <QVBoxLayout>

QPointer<QWidget> SPopup::mainWindow;

SPopup::SPopup(QWidget* parent)
    : QWidget(parent), layout(new QVBoxLayout(this)), base(new SPopupBase(this)),
      mainFrame(new SPopupMainFrame(this))
{
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(base);
    if (mainWindow)
        setParent(mainWindow);
    connect(mainFrame, &SPopupMainFrame::popupClosed, this, &SPopup::showEnd);
    connect(base, &SPopupBase::clicked, this, &SPopup::startClose);
}

void SPopup::setMainWindow(QWidget* window)
{
    mainWindow = window;
}

void SPopup::addContentLayout(QLayout* content)
{
    mainFrame->addContentLayout(content);
}

void SPopup::setTitle(const QString& title)
{
    mainFrame->setTitle(title);
}

void SPopup::placePanel()
{
    QWidget* holder = mainFrame->parentWidget();
    mainFrame->adjustSize();
    if (holder) {
        mainFrame->setMaximumHeight(holder->height());
        if (holder->height() <= mainFrame->height())
            mainFrame->setFixedHeight(holder->height());
        mainFrame->move((holder->width() - mainFrame->width()) / 2,
                        (holder->height() - mainFrame->height()) / 2);
    }
}

void SPopup::showPopup()
{
    if (mainWindow) {
        if (parentWidget() != mainWindow)
            setParent(mainWindow);
        setFixedSize(mainWindow->size());
    }
    base->startShow();
    placePanel();
    mainFrame->startShow();
    show();
    raise();
    // The keyboard goes into the popup and comes back where it was; Escape
    // plays it backwards as a click beside it does.
    OverlayStack::instance()->opened(this, [this] { startClose(); });
}

void SPopup::startShow()
{
    mainFrame->startShow();
    base->startShow();
}

void SPopup::startClose()
{
    mainFrame->startClose();
    base->startClose();
}

void SPopup::showEnd()
{
    close();
}

void SPopup::adjustSizeToMainWindow()
{
    if (!mainWindow)
        return;
    setFixedSize(mainWindow->size());
    placePanel();
}
