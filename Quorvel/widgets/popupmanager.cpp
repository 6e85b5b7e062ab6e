#include "widgets/popupmanager.h"

#include "foundation/simpleqtlogger.h"
#include "widgets/overlaystack.h"
#include "widgets/stylesheetpaint.h"

#include <QEasingCurve>
#include <QEvent>
#include <QGraphicsOpacityEffect>
#include <QMouseEvent>
#include <QPropertyAnimation>

QPointer<PopupManager> PopupManager::instance;
QPointer<QWidget> PopupManager::mainWindow;

PopupManager::PopupManager(QWidget* parent)
    : QWidget(parent), fade(new QPropertyAnimation(this)), effect(new QGraphicsOpacityEffect(this))
{
    setObjectName(QStringLiteral("PopupWindowTransparentArea"));
    effect->setOpacity(0.0);
    setGraphicsEffect(effect);
    fade->setTargetObject(effect);
    fade->setPropertyName("opacity");
    hide();
}

PopupManager::~PopupManager()
{
    releaseActivePopup();
}

void PopupManager::setMainWindow(QWidget* window)
{
    mainWindow = window;
}

QWidget* PopupManager::getMainWindow()
{
    return mainWindow;
}

PopupManager* PopupManager::existingInstance()
{
    return instance;
}

PopupManager* PopupManager::instanceForMainWindow()
{
    if (!mainWindow)
        return nullptr;
    if (!instance)
        instance = new PopupManager(mainWindow);
    else if (instance->parentWidget() != mainWindow)
        instance->setParent(mainWindow);
    return instance;
}

void PopupManager::showWindow(QWidget* window, bool closeOnClick)
{
    PopupManager* manager = instanceForMainWindow();
    if (!manager || !window) {
        L_WARN(QStringLiteral("PopupManager::showWindow | no main window or no popup"));
        return;
    }
    manager->closeOnClick = closeOnClick;
    manager->setActiveWindow(window);
}

void PopupManager::resizeToMainWindow()
{
    if (PopupManager* manager = instanceForMainWindow())
        manager->arrangeActivePopup();
}

void PopupManager::releaseActivePopup()
{
    if (!activePopup)
        return;
    QWidget* popup = activePopup;
    activePopup = nullptr;
    popup->removeEventFilter(this);
    disconnect(popup, &QObject::destroyed, this, nullptr);
    popup->hide();
    if (popup->parentWidget() == this)
        sendHome(popup);
}

void PopupManager::sendHome(QWidget* popup)
{
    QWidget* home = activeHome;
    activeHome = nullptr;
    popup->setParent(home);
}

void PopupManager::deleteInstance()
{
    L_DEBUG(QStringLiteral("PopupManager::deleteInstance() | #START"));
    PopupManager* manager = instance;
    if (manager)
        manager->releaseActivePopup();
    L_DEBUG(QStringLiteral("PopupManager::deleteInstance() | after cleanUp()"));
    delete manager;
    L_DEBUG(QStringLiteral("PopupManager::deleteInstance() | after delete"));
    instance = nullptr;
    L_DEBUG(QStringLiteral("PopupManager::deleteInstance() | ") +
            QString::number(reinterpret_cast<quintptr>(manager), 16));
}

void PopupManager::popupDestroyed(QObject* popup)
{
    // Only the shown one matters; it is forgotten first, so hiding the
    // layer does not touch the dying popup.
    if (popup != activePopup.data())
        return;
    activePopup = nullptr;
    hide();
}

void PopupManager::closeWindow()
{
    L_DEBUG(QStringLiteral(">>>>>>PopupManager::closeWindow"));
}

void PopupManager::showAnimationEnd()
{
    // At full opacity the effect changes nothing, and while it is on, a
    // dialog that a hosted screen opens over itself leaves stale dimmed
    // strips beside that screen: it is switched off until the next fade.
    effect->setEnabled(false);
}

void PopupManager::setActiveWindow(QWidget* window)
{
    fade->stop();
    fade->setStartValue(0.0);
    fade->setEndValue(1.0);
    fade->setDuration(300);
    fade->setEasingCurve(QEasingCurve::OutExpo);
    connect(fade, &QPropertyAnimation::finished, this, &PopupManager::showAnimationEnd,
            Qt::UniqueConnection);

    if (activePopup && activePopup != window)
        activePopup->hide();

    if (window->parentWidget() != this)
        activeHome = window->parentWidget();
    activePopup = window;
    window->setParent(this);
    // Every popup paints its own surface (the style sheet's background for
    // its class), never the dimmed backdrop through itself.
    window->setAttribute(Qt::WA_StyledBackground, true);
    window->installEventFilter(this);
    // A popup deleted while shown must not leave the backdrop over the window.
    connect(window, &QObject::destroyed, this, &PopupManager::popupDestroyed, Qt::UniqueConnection);
    window->show();
    show();
    raise();
    setGeometry(0, 0, mainWindow->width(), mainWindow->height());
    effect->setEnabled(true);
    fade->start();
    arrangeActivePopup();
    // The keyboard goes into the popup and comes back where it was; Escape
    // does what a click beside it does.
    std::function<void()> dismissal;
    if (closeOnClick)
        dismissal = [this] { dismiss(); };
    OverlayStack::instance()->opened(window, dismissal);
}

void PopupManager::arrangeActivePopup()
{
    if (!isVisible() || !activePopup || !activePopup->isVisible() || !mainWindow)
        return;
    setGeometry(0, 0, mainWindow->width(), mainWindow->height());
    const QSizePolicy policy = activePopup->sizePolicy();
    L_DEBUG(QStringLiteral("PopupManager::arrangeActivePopup %1 %2")
                .arg(policy.horizontalPolicy())
                .arg(policy.verticalPolicy()));
    if (policy.verticalPolicy() == QSizePolicy::Expanding)
        activePopup->setFixedSize(activePopup->width(), height());
    activePopup->move((width() - activePopup->width()) / 2, (height() - activePopup->height()) / 2);
}

bool PopupManager::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == activePopup) {
        if (event->type() == QEvent::Hide) {
            L_DEBUG(QStringLiteral("PopupManager::eventFilter QEvent::Hide"));
            QWidget* popup = activePopup;
            popup->removeEventFilter(this);
            // The popup stays the active one until another replaces it, but
            // it no longer lives inside the layer.
            sendHome(popup);
            hide();
            return QWidget::eventFilter(watched, event);
        }
        if (event->type() == QEvent::MouseButtonRelease)
            return true;
        // A popup that changes its size while shown (a form's next step)
        // stays in the middle.
        if (event->type() == QEvent::Resize)
            arrangeActivePopup();
    }
    return QWidget::eventFilter(watched, event);
}

void PopupManager::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !closeOnClick)
        return;
    dismiss();
}

void PopupManager::dismiss()
{
    if (!activePopup)
        return;
    // Hiding takes the popup out of the layer (see eventFilter).
    activePopup->hide();
    hide();
}

void PopupManager::paintEvent(QPaintEvent* event)
{
    StyleSheetPaint::plain(this);
    QWidget::paintEvent(event);
}
