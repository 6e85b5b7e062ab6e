#include "widgets/flatbutton.h"

#include "widgets/accessiblebutton.h"
#include "widgets/fonts.h"
#include "widgets/keyboardreach.h"

#include <QEvent>
#include <QGraphicsOpacityEffect>
#include <QMouseEvent>

FlatButton::FlatButton(QWidget* parent) : QLabel(parent)
{
    AccessibleButton::install();
    setTextFormat(Qt::PlainText);
    setFont(Fonts::getFont(20));
}

FlatButton::FlatButton(const QString& text, QWidget* parent) : FlatButton(parent)
{
    setText(text);
    setAlignment(Qt::AlignCenter);
}

FlatButton::FlatButton(const QString& text, const QSize& size, QWidget* parent)
    : FlatButton(text, parent)
{
    resize(size);
}

void FlatButton::setTextAlignment(Qt::Alignment alignment)
{
    setAlignment(alignment);
}

void FlatButton::enterEvent(QEvent*)
{
    // The hand only over a button that can be pressed.
    setCursor(isEnabled() ? Qt::PointingHandCursor : Qt::ArrowCursor);
    emit mouseEntered();
}

void FlatButton::leaveEvent(QEvent*)
{
    setCursor(Qt::ArrowCursor);
    emit mouseLeft();
}

void FlatButton::changeEvent(QEvent* event)
{
    QLabel::changeEvent(event);
    if (event->type() != QEvent::EnabledChange)
        return;
    // Disabled, a button of any look is drawn faded.
    if (isEnabled()) {
        setGraphicsEffect(nullptr);
        return;
    }
    auto* faded = new QGraphicsOpacityEffect(this);
    faded->setOpacity(0.4);
    setGraphicsEffect(faded);
}

void FlatButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        emit onClick();
}

void FlatButton::keyPressEvent(QKeyEvent* event)
{
    if (!KeyboardReach::presses(event)) {
        QLabel::keyPressEvent(event);
        return;
    }
    emit onClick();
}

void FlatButton::paintEvent(QPaintEvent* event)
{
    QLabel::paintEvent(event);
    KeyboardReach::paintRing(this);
}
