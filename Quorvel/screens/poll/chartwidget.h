#ifndef CHARTWIDGET_H
#define CHARTWIDGET_H

#include "model/pollresult.h"

#include <QFrame>
#include <QtCharts/QChartView>

// The bar chart of a poll's votes: one bar set per option (ids in text
// order), the question as title, a legend and a whole-number vote axis.
class ChartWidget : public QFrame
{
    Q_OBJECT
public:
    // Up to this many votes on the largest option, every whole vote has a tick.
    static constexpr double kTickPerVoteLimit = 20.0;

    explicit ChartWidget(QWidget* parent);

    void setPollResult(const PollResult& result);
    QtCharts::QChartView* chartView() const { return view; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QtCharts::QChartView* view;
};

#endif // CHARTWIDGET_H
