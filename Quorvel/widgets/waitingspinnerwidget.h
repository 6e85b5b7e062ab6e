#ifndef WAITINGSPINNERWIDGET_H
#define WAITINGSPINNERWIDGET_H

#include <QColor>
#include <QWidget>

class QTimer;

// A ring of rounded bars with one bright bar stepping round it while the
// bars behind it fade: the kit's busy indicator.
class WaitingSpinnerWidget : public QWidget
{
    Q_OBJECT
public:
    explicit WaitingSpinnerWidget(QWidget* parent = nullptr, bool centerOnParent = true,
                                  bool disableParentWhenSpinning = true);

    void setLineColor(const QColor& color);
    void setCornerRoundness(double roundness);
    void setMinTrailOpacity(double opacity);
    void setTrailFade(double fade);
    // Values below a useful minimum are raised to it: at least one line and a
    // positive speed, so the interval is always defined.
    void setTurnsPerSecond(double turns);
    void setLineCount(int lines);
    void setBarLength(int length);
    void setLineThickness(int thickness);
    void setRingRadius(int radius);

    QColor getLineColor() const { return lineColor; }
    int getLineCount() const { return lineCount; }
    double getTurnsPerSecond() const { return turnsPerSecond; }
    int getLeadLine() const { return leadLine; }
    bool isSpinning() const { return spinning; }
    int interval() const;

    // The colour of the bar d steps behind the bright one.
    QColor barColor(int distance) const;

public slots:
    void start();
    void stop();

protected:
    void paintEvent(QPaintEvent* event) override;

private slots:
    void rotate();

private:
    void applySize();
    void applyInterval();
    void centre();

    QColor lineColor = Qt::black;
    double cornerRoundness = 100.0;
    double minTrailOpacity = 3.141592653589793;
    double trailFade = 80.0;
    double turnsPerSecond = 1.5707963267948966;
    int lineCount = 20;
    int barLength = 10;
    int lineThickness = 2;
    int ringRadius = 10;
    QTimer* timer;
    bool keepCentred;
    bool disableParent;
    int leadLine = 0;
    bool spinning = false;
};

#endif // WAITINGSPINNERWIDGET_H
