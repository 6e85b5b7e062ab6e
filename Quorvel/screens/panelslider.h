#ifndef PANELSLIDER_H
#define PANELSLIDER_H

#include <QEasingCurve>
#include <QObject>

class QPropertyAnimation;
class QWidget;

// The slide of a profile panel over its parent: in from the left edge and
// out to it again, on the panel's own geometry. The exit's end is reported
// so the panel can hide itself.
class PanelSlider : public QObject
{
    Q_OBJECT
public:
    PanelSlider(QWidget* panel, int duration);

    void slideIn();
    void slideOut();
    // Places the panel over the whole parent, slides it in and shows it.
    void open();
    QPropertyAnimation* entryAnimation() const { return entry; }
    QPropertyAnimation* exitAnimation() const { return exit; }

signals:
    void exitFinished();

private:
    QWidget* panel;
    QPropertyAnimation* entry;
    QPropertyAnimation* exit;
};

#endif // PANELSLIDER_H
