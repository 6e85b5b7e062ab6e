#include "widgets/stylesheetpaint.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <QWidget>

namespace {
void draw(QWidget* widget, bool smooth)
{
    QStyleOption option;
    option.initFrom(widget);
    QPainter painter(widget);
    if (smooth)
        painter.setRenderHint(QPainter::Antialiasing);
    widget->style()->drawPrimitive(QStyle::PE_Widget, &option, &painter, widget);
}
} // namespace

void StyleSheetPaint::plain(QWidget* widget)
{
    draw(widget, false);
}

void StyleSheetPaint::antialiased(QWidget* widget)
{
    draw(widget, true);
}
