#include "widgets/waitingspinnerwidget.h"

#include <QPainter>
#include <QTimer>
#include <QtMath>

namespace {
constexpr double minimumTurnsPerSecond = 0.01;
}

WaitingSpinnerWidget::WaitingSpinnerWidget(QWidget* parent, bool centerOnParent,
                                           bool disableParentWhenSpinning)
    : QWidget(parent), timer(new QTimer(this)), keepCentred(centerOnParent),
      disableParent(disableParentWhenSpinning)
{
    connect(timer, &QTimer::timeout, this, &WaitingSpinnerWidget::rotate);
    applySize();
    applyInterval();
    hide();
}

void WaitingSpinnerWidget::setLineColor(const QColor& color)
{
    lineColor = color;
}

void WaitingSpinnerWidget::setCornerRoundness(double roundness)
{
    cornerRoundness = qBound(0.0, roundness, 100.0);
}

void WaitingSpinnerWidget::setMinTrailOpacity(double opacity)
{
    minTrailOpacity = opacity;
}

void WaitingSpinnerWidget::setTrailFade(double fade)
{
    trailFade = fade;
}

void WaitingSpinnerWidget::setTurnsPerSecond(double turns)
{
    turnsPerSecond = qMax(turns, minimumTurnsPerSecond);
    applyInterval();
}

void WaitingSpinnerWidget::setLineCount(int lines)
{
    lineCount = qMax(lines, 1);
    leadLine = 0;
    applyInterval();
}

void WaitingSpinnerWidget::setBarLength(int length)
{
    barLength = length;
    applySize();
}

void WaitingSpinnerWidget::setLineThickness(int thickness)
{
    lineThickness = thickness;
    applySize();
}

void WaitingSpinnerWidget::setRingRadius(int radius)
{
    ringRadius = radius;
    applySize();
}

int WaitingSpinnerWidget::interval() const
{
    // Never 0: a zero-interval timer would spin the event loop.
    return qMax(1, static_cast<int>(1000 / (lineCount * turnsPerSecond)));
}

void WaitingSpinnerWidget::applySize()
{
    const int side = (ringRadius + barLength) * 2;
    setFixedSize(side, side);
}

void WaitingSpinnerWidget::applyInterval()
{
    timer->setInterval(interval());
}

void WaitingSpinnerWidget::centre()
{
    if (parentWidget() && keepCentred)
        move(parentWidget()->width() / 2 - width() / 2,
             parentWidget()->height() / 2 - height() / 2);
}

void WaitingSpinnerWidget::start()
{
    centre();
    spinning = true;
    show();
    if (parentWidget() && disableParent)
        parentWidget()->setEnabled(false);
    if (!timer->isActive()) {
        timer->start();
        leadLine = 0;
    }
}

void WaitingSpinnerWidget::stop()
{
    spinning = false;
    hide();
    if (parentWidget() && disableParent)
        parentWidget()->setEnabled(true);
    if (timer->isActive()) {
        timer->stop();
        leadLine = 0;
    }
}

void WaitingSpinnerWidget::rotate()
{
    if (++leadLine >= lineCount)
        leadLine = 0;
    update();
}

QColor WaitingSpinnerWidget::barColor(int distance) const
{
    QColor color = lineColor;
    if (distance == 0)
        return color;
    const double minAlpha = minTrailOpacity / 100.0;
    const int threshold = static_cast<int>(qCeil((lineCount - 1) * trailFade / 100.0));
    if (distance > threshold) {
        color.setAlphaF(qBound(0.0, minAlpha, 1.0));
        return color;
    }
    const double step = (color.alphaF() - minAlpha) / (threshold + 1);
    color.setAlphaF(qBound(0.0, color.alphaF() - step * distance, 1.0));
    return color;
}

void WaitingSpinnerWidget::paintEvent(QPaintEvent*)
{
    centre();
    QPainter painter(this);
    painter.fillRect(rect(), Qt::transparent);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(Qt::NoPen);
    if (leadLine >= lineCount)
        leadLine = 0;
    const int centreOffset = ringRadius + barLength;
    for (int i = 0; i < lineCount; ++i) {
        painter.save();
        painter.translate(centreOffset, centreOffset);
        painter.rotate(360.0 * i / lineCount);
        painter.translate(ringRadius, 0);
        int distance = leadLine - i;
        if (distance < 0)
            distance += lineCount;
        painter.setBrush(barColor(distance));
        painter.drawRoundedRect(QRect(0, -(lineThickness / 2), barLength, lineThickness),
                                cornerRoundness, cornerRoundness, Qt::RelativeSize);
        painter.restore();
    }
}
