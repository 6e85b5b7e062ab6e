#ifndef KEYBOARDREACH_H
#define KEYBOARDREACH_H

class QKeyEvent;
class QLabel;
class QRect;
class QWidget;

// Keyboard use of the kit's clickable labels (FlatButton, IconButton,
// CheckBox): one made reachable takes the focus by Tab, shows a ring while it
// has it, and is pressed with Space, Return or Enter.
class KeyboardReach
{
public:
    static void enable(QWidget* widget);
    // The links of a rich-text label: Tab lands on each, Enter opens it.
    static void enableLinks(QLabel* label);
    // Space, Return or the keypad's Enter, without Shift, Ctrl or Alt.
    static bool presses(const QKeyEvent* event);
    // Draws the ring over widget, around its whole face or around part, while
    // it has the focus; call last in its paintEvent.
    static void paintRing(QWidget* widget);
    static void paintRing(QWidget* widget, const QRect& part);
};

#endif // KEYBOARDREACH_H
