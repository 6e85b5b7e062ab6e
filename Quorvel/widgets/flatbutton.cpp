#include "widgets/flatbutton.h"

#include "widgets/fonts.h"

#include <QMouseEvent>

FlatButton::FlatButton(QWidget* parent) : QLabel(parent)
{
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
    setCursor(Qt::PointingHandCursor);
    emit mouseEntered();
}

void FlatButton::leaveEvent(QEvent*)
{
    setCursor(Qt::ArrowCursor);
    emit mouseLeft();
}

void FlatButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        emit onClick();
}
