#include "chat/sendername.h"

#include "chat/chatrowface.h"

#include "widgets/fonts.h"
#include "widgets/interfacescale.h"

#include <QFontMetrics>
#include <QPainter>

namespace {
// Pixels around the name, as the label it replaces kept.
const int margin = 2;

QFont nameFont()
{
    return Fonts::getFont(baseFontSize);
}
} // namespace

SenderName::SenderName(QWidget* parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void SenderName::setName(const QString& text, const QColor& colour)
{
    if (text == name && colour == ink)
        return;
    const bool resized = text != name;
    name = text;
    ink = colour;
    setAccessibleName(name);
    if (resized)
        updateGeometry();
    update();
}

QSize SenderName::sizeHint() const
{
    const QFontMetrics metrics(nameFont());
    return QSize(metrics.horizontalAdvance(name), metrics.height()) + QSize(2 * margin, 2 * margin);
}

QSize SenderName::minimumSizeHint() const
{
    return sizeHint();
}

void SenderName::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QFont font = nameFont();
    painter.setFont(font);
    painter.setPen(ink);
    const QRect place = rect().adjusted(margin, margin, -margin, -margin);
    shown = ChatRowFace::shortened(name, font, place.width());
    painter.drawText(place, Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter, shown);
}
