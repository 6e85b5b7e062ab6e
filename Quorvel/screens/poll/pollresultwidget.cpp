#include "screens/poll/pollresultwidget.h"

#include "screens/poll/chartwidget.h"

PollResultWidget::PollResultWidget()
    : TransparentFullScreenWidget(nullptr), chartWidget(new ChartWidget(nullptr))
{
}

void PollResultWidget::setResult(const PollResult& result)
{
    chartWidget->setPollResult(result);
    showOver(chartWidget);
}
