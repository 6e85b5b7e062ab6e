#ifndef CHATROWORDER_H
#define CHATROWORDER_H

#include <QObject>

class ChatWidget;
class QBoxLayout;

// The order of a chat list's rows, latest activity on top. A row that takes a
// new message changes what it shows and moves; in a visible list each such
// change would lay the whole list out again at once (showing or hiding a
// label inside a row lays out every layout above it that is out of date), so
// a burst of a thousand messages would lay out a thousand rows a thousand
// times. Once a row has moved, the list's layout is held still until the
// events already waiting have been handled, and is then laid out once,
// before the list is painted.
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

private:
    void moveTo(ChatWidget* row, int index);
    void hold();

    QBoxLayout* layout;
    bool held = false;
};

#endif // CHATROWORDER_H
