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
    // Follows owner: always just below it, as wide as it, above its siblings.
    explicit TitleShadow(QWidget* owner);

    static int depth();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void follow();

    QPointer<QWidget> owner;
};

#endif // TITLESHADOW_H
