#include "screens/poll/chartwidget.h"

#include "widgets/fonts.h"
#include "widgets/stylesheetpaint.h"

#include <QVBoxLayout>
#include <QtCharts/QBarSeries>
#include <QtCharts/QBarSet>
#include <QtCharts/QChart>
#include <QtCharts/QValueAxis>

QT_CHARTS_USE_NAMESPACE

ChartWidget::ChartWidget(QWidget* parent) : QFrame(parent), view(new QChartView)
{
    view->setRenderHint(QPainter::Antialiasing);
    setFrameStyle(0);
    setObjectName(QStringLiteral("ChartWidgetFrame"));
    QVBoxLayout* layout = new QVBoxLayout(this);
    layout->addWidget(view);
}

void ChartWidget::setPollResult(const PollResult& result)
{
    QBarSeries* series = new QBarSeries;
    const QMap<QString, PollResultOption> options = result.getOptions();
    // QMap keeps its keys in text order: "1", "10", "2".
    for (auto it = options.cbegin(); it != options.cend(); ++it) {
        QBarSet* set = new QBarSet(QString());
        // The charts draw labels and titles as rich text; poll texts are plain.
        set->setLabel(it.value().getText().toHtmlEscaped());
        set->append(double(qMax(0, it.value().getVoteCount())));
        series->append(set);
    }
    QChart* chart = new QChart;
    const QFont font = Fonts::getFont(20);
    chart->setFont(font);
    chart->addSeries(series);
    chart->setTitleFont(font);
    chart->setTitle(result.getQuestion().toHtmlEscaped());
    chart->setAnimationOptions(QChart::AllAnimations);
    // A result without options has nothing to measure: no axes at all.
    if (!options.isEmpty()) {
        chart->createDefaultAxes();
        const QList<QAbstractAxis*> horizontal = chart->axes(Qt::Horizontal);
        for (QAbstractAxis* axis : horizontal)
            axis->setLabelsVisible(false);
        const QList<QAbstractAxis*> vertical = chart->axes(Qt::Vertical);
        for (QAbstractAxis* axis : vertical) {
            QValueAxis* values = qobject_cast<QValueAxis*>(axis);
            if (!values)
                continue;
            values->setLabelsFont(font);
            values->setLabelsVisible(true);
            values->setLabelFormat(QStringLiteral("%d"));
            // No votes yet: still a scale from 0 to 1, not a single tick.
            if (values->max() < 1.0)
                values->setRange(0.0, 1.0);
            if (values->max() <= kTickPerVoteLimit)
                values->setTickCount(int(values->max() + 1.0));
        }
    }
    chart->legend()->setFont(font);
    chart->legend()->setVisible(true);
    chart->legend()->setAlignment(Qt::AlignBottom);
    QChart* old = view->chart();
    view->setChart(chart);
    delete old;
}

void ChartWidget::paintEvent(QPaintEvent* event)
{
    Q_UNUSED(event)
    StyleSheetPaint::antialiased(this);
}
