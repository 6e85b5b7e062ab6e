#ifndef TITLESHADOW_H
#define TITLESHADOW_H

#include <QPointer>
#include <QWidget>

// The soft shadow that a title strip (a chat window's title, a profile's
// header) casts on what lies below it. Painted as a band of its own over the
// top edge of the content: the strip is never rendered again for it, so
// scrolling under it stays cheap, and no graphics effect on the screen below
// can draw through a popup laid over the window.
class TitleShadow : public QWidget
{
public:
    // Follows owner: always just below it, as wide as it, above the widgets
    // the window lays out (the board) and under the panels laid over them.
    explicit TitleShadow(QWidget* owner);

    static int depth();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void follow();
    void stackOverTheBoard();

    QPointer<QWidget> owner;
};

#endif // TITLESHADOW_H
