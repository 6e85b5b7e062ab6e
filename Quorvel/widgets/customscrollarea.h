#ifndef CUSTOMSCROLLAREA_H
#define CUSTOMSCROLLAREA_H

#include <QScrollArea>

class QTimer;

// A scroll area whose vertical bar is invisible until the mouse enters or the
// content scrolls, and fades away a second later.
class CustomScrollArea : public QScrollArea
{
    Q_OBJECT
public:
    explicit CustomScrollArea(QWidget* parent = nullptr);

    bool isHideTimerActive() const;
    // The opacity of the vertical bar's current effect.
    double barOpacity() const;

signals:
    void resized();

public slots:
    void vScrollChanged(int value);
    void fadeOut();

protected:
    void enterEvent(QEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void fade(double from, double to, int duration);
    void fadeIn();

    QTimer* hideTimer;
};

#endif // CUSTOMSCROLLAREA_H
