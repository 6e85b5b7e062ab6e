#ifndef TITLESHADOW_H
#define TITLESHADOW_H

#include <QPointer>
#include <QWidget>

// The soft shadow that a chat window's title casts on the board below it.
// Painted as a band of its own over the board's top edge: the title is never
// rendered again for it, so scrolling the board under it stays cheap.
class TitleShadow : public QWidget
{
    Q_OBJECT
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
