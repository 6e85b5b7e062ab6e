#ifndef POLLRESULTWIDGET_H
#define POLLRESULTWIDGET_H

#include "model/pollresult.h"
#include "widgets/transparentfullscreenwidget.h"

class ChartWidget;

// A poll's results over a dimmed full screen; closing deletes it.
class PollResultWidget : public TransparentFullScreenWidget
{
    Q_OBJECT
public:
    PollResultWidget();

    void setResult(const PollResult& result);
    ChartWidget* chart() const { return chartWidget; }

private:
    ChartWidget* chartWidget;
};

#endif // POLLRESULTWIDGET_H
