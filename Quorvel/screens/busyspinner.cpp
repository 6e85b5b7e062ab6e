#include "screens/busyspinner.h"

#include "widgets/waitingspinnerwidget.h"

WaitingSpinnerWidget* BusySpinner::make(QWidget* parent)
{
    auto* spinner = new WaitingSpinnerWidget(parent, true, true);
    spinner->setMinTrailOpacity(70.0);
    spinner->setCornerRoundness(15.0);
    spinner->setTrailFade(70.0);
    spinner->setLineCount(12);
    spinner->setRingRadius(10);
    spinner->setBarLength(10);
    spinner->setLineThickness(5);
    spinner->setTurnsPerSecond(1.0);
    spinner->setLineColor(QColor(81, 4, 71, 255));
    return spinner;
}
