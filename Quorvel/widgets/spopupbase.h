#ifndef SPOPUPBASE_H
#define SPOPUPBASE_H

#include <QFrame>

class QGraphicsOpacityEffect;
class QPropertyAnimation;

// The dimmed backdrop of an animated popup; fades in and out, reports a
// left click.
class SPopupBase : public QFrame
{
    Q_OBJECT
public:
    explicit SPopupBase(QWidget* parent = nullptr);

    double opacity() const;

signals:
    void clicked();

public slots:
    void startShow();
    void startClose();
    void animationFinished();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QGraphicsOpacityEffect* effect;
    QPropertyAnimation* animation;
};

#endif // SPOPUPBASE_H
