#ifndef CHATROWORDER_H
#define CHATROWORDER_H

#include <QObject>
#include <QPointer>

class ChatWidget;
class QBoxLayout;
class QWidget;

// The order of a chat list's rows, latest activity on top. A row that takes a
// new message changes what it shows and moves; in a visible list each such
// change would lay the whole list out again at once (showing or hiding a
// label inside a row lays out every layout above it that is out of date), so
// a burst of a thousand messages would lay out a thousand rows a thousand
// times. Once a row has moved, the list's layout is held still until the
// events already waiting have been handled, and is then laid out once; a
// paint asked for before the burst came may come first, so the list is also
// laid out right before its window paints.
class ChatRowOrder : public QObject
{
    Q_OBJECT
public:
    explicit ChatRowOrder(QBoxLayout* layout, QObject* parent = nullptr);

    void moveToTop(ChatWidget* row);
    // Puts the row above the first other row whose last message is not newer
    // than its own.
    void placeByLastMessage(ChatWidget* row);
    // Lays the list out now if a move is waiting, for whoever needs the rows'
    // places at once.
    void settle();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void moveTo(ChatWidget* row, int index);
    void hold();

    QBoxLayout* layout;
    bool held = false;
    // The window watched for its next paint while the layout is held.
    QPointer<QWidget> window;
};

#endif // CHATROWORDER_H
