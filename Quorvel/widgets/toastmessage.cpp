#include "widgets/toastmessage.h"

#include "foundation/simpleqtlogger.h"
#include "widgets/fonts.h"
#include "widgets/stylesheetpaint.h"

#include <QFrame>
#include <QGraphicsOpacityEffect>
#include <QHBoxLayout>
#include <QLabel>
#include <QPropertyAnimation>
#include <QTimer>

QPointer<ToastMessage> ToastMessage::instance;
QPointer<QWidget> ToastMessage::mainWindow;

ToastMessage::ToastMessage()
    : QWidget(nullptr), frame(new QFrame(this)), label(new QLabel(frame)),
      hideTimer(new QTimer(this)), effect(new QGraphicsOpacityEffect(this)),
      animation(new QPropertyAnimation(effect, "opacity", this))
{
    frame->setObjectName(QStringLiteral("ToastFrame"));
    frame->setFrameStyle(0);
    frame->setStyleSheet(QStringLiteral(
        "QFrame#ToastFrame{background-color: rgba(0,0,0,70%); border-radius: 5px;}"));
    label->setObjectName(QStringLiteral("ToastLabel"));
    label->setStyleSheet(
        QStringLiteral("QLabel#ToastLabel{background-color: transparent;color: white;}"));
    label->setFont(Fonts::getFont(20));
    label->setTextFormat(Qt::PlainText);

    auto* outer = new QHBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    outer->addWidget(frame);
    auto* inner = new QHBoxLayout(frame);
    inner->setContentsMargins(5, 5, 5, 5);
    inner->setSpacing(0);
    inner->addWidget(label);

    hideTimer->setSingleShot(true);
    connect(hideTimer, &QTimer::timeout, this, &ToastMessage::hideMessage);
    setGraphicsEffect(effect);
    animation->setDuration(200);

    for (QWidget* w :
         {static_cast<QWidget*>(this), static_cast<QWidget*>(frame), static_cast<QWidget*>(label)})
        w->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Maximum);
    lower();
    hide();
}

ToastMessage* ToastMessage::getInstance()
{
    if (!instance)
        instance = new ToastMessage();
    return instance;
}

void ToastMessage::deleteInstance()
{
    ToastMessage* old = instance.data();
    delete instance;
    instance = nullptr;
    L_DEBUG(QStringLiteral("ToastMessage::deleteInstance() | ") +
            QString::number(reinterpret_cast<quintptr>(old), 16));
}

void ToastMessage::setMainWindow(QWidget* window)
{
    mainWindow = window;
}

void ToastMessage::showToastMessage(const char* ch)
{
    const QString text = tr(ch);
    L_DEBUG(QStringLiteral("ToastMessage::showToastMessage | ") + text);
    showMessage(text);
}

void ToastMessage::showToastMessage(const QString& msg)
{
    showMessage(tr(msg.toLocal8Bit().constData()));
}

bool ToastMessage::resolveMainWindow()
{
    L_DEBUG(QStringLiteral("ToastMessage::resolveMainWindow | #START ") +
            QString::number(reinterpret_cast<quintptr>(mainWindow.data()), 16));
    if (!mainWindow)
        return false;
    if (parentWidget() != mainWindow)
        setParent(mainWindow);
    L_DEBUG(QStringLiteral("ToastMessage::resolveMainWindow | #END"));
    return true;
}

void ToastMessage::showMessage(const QString& text)
{
    L_DEBUG(QStringLiteral("ToastMessage::showMessage | #START"));
    if (!resolveMainWindow())
        return;
    L_DEBUG(QStringLiteral("ToastMessage::showMessage | resolveMainWidnow success"));
    label->setText(text);
    label->adjustSize();
    frame->adjustSize();
    adjustSize();

    const QSize p = parentWidget()->size();
    move((p.width() - width()) / 2, p.height() - 50 - height());
    L_DEBUG(QStringLiteral("ToastMessage::adjustPosition() | %1x%2").arg(width()).arg(height()));

    animation->stop();
    animation->setStartValue(0.0);
    animation->setEndValue(1.0);
    disconnect(animation, &QPropertyAnimation::finished, this, &ToastMessage::hideAndLower);
    animation->start();

    raise();
    show();
    hideTimer->start(2000);
}

void ToastMessage::hideMessage()
{
    animation->stop();
    animation->setStartValue(1.0);
    animation->setEndValue(0.0);
    connect(animation, &QPropertyAnimation::finished, this, &ToastMessage::hideAndLower,
            Qt::UniqueConnection);
    animation->start();
}

void ToastMessage::hideAndLower()
{
    lower();
    hide();
}

void ToastMessage::paintEvent(QPaintEvent*)
{
    StyleSheetPaint::antialiased(this);
}
