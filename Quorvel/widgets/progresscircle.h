#ifndef PROGRESSCIRCLE_H
#define PROGRESSCIRCLE_H

#include <QColor>
#include <QWidget>

class QPropertyAnimation;

// The round transfer button over a message's picture, file, location or
// voice: a disc with an icon, a sweeping progress arc whose start keeps
// turning, and a click that starts, cancels, retries, opens or pauses.
class ProgressCircle : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(int value READ value WRITE setValue NOTIFY valueChanged)
    Q_PROPERTY(int maximum READ maximum WRITE setMaximum NOTIFY maximumChanged)
    Q_PROPERTY(double innerRadius READ innerRadius WRITE setInnerRadius)
    Q_PROPERTY(double outerRadius READ outerRadius WRITE setOuterRadius)
    Q_PROPERTY(QColor color READ color WRITE setColor)
    Q_PROPERTY(
        double infiniteAnimationValue READ infiniteAnimationValue WRITE setInfiniteAnimationValue)
    Q_PROPERTY(int visibleValue READ visibleValue WRITE setVisibleValue)
public:
    explicit ProgressCircle(QWidget* parent = nullptr);
    ~ProgressCircle() override;

    int value() const { return mValue; }
    int maximum() const { return mMaximum; }
    double innerRadius() const { return mInnerRadius; }
    double outerRadius() const { return mOuterRadius; }
    QColor color() const { return mColor; }
    double infiniteAnimationValue() const { return mInfiniteAnimationValue; }
    int visibleValue() const { return mVisibleValue; }

    void setState(int value) { state = value; }
    int getState() const { return state; }
    void setUploadMode(int value) { mUploadMode = value; }
    int uploadMode() const { return mUploadMode; }
    void setBackgroundColor(const QColor& value);
    void setClickable(bool value) { clickable = value; }
    void setPauseFlag(bool value) { pauseFlag = value; }
    bool isRotating() const;

    // The span of the arc in sixteenths of a degree (negative is clockwise);
    // 0 when the maximum is 0.
    int arcSpan() const;

signals:
    void valueChanged(int);
    void maximumChanged(int);
    void startDownload();
    void cancel();
    void retryUpload();
    void open();
    void pause();

public slots:
    void setValue(int value);
    void setMaximum(int maximum);
    void setInnerRadius(double innerRadius);
    void setOuterRadius(double outerRadius);
    void setColor(const QColor& color);

private slots:
    void setInfiniteAnimationValue(double value);
    void setVisibleValue(int value);
    void cacheIcons();
    void mValueAnimationFinished();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QPixmap disc();
    QPixmap arc();
    QPixmap icon(const QString& key);
    void drawCentred(QPainter& painter, const QPixmap& pixmap);

    int mValue = 0;
    int mMaximum = 100;
    double mInnerRadius = 0.7;
    double mOuterRadius = 0.8;
    QColor mColor = Qt::white;
    QColor backgroundColor = QColor(0, 0, 0, 150);
    int mUploadMode = 0;
    int state = 2;
    bool pauseFlag = false;
    bool clickable = true;
    bool overrideCursorSet = false;
    int mVisibleValue = 0;
    QPropertyAnimation* valueAnimation;
    QPropertyAnimation* rotation;
    double mInfiniteAnimationValue = 0.0;
};

#endif // PROGRESSCIRCLE_H
