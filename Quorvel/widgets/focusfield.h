#ifndef FOCUSFIELD_H
#define FOCUSFIELD_H

#include <QPointer>
#include <QWidget>

// Where the keyboard goes when a popup or page appears: into its first field,
// so that typing never reaches a field behind it.
class FocusField
{
public:
    // The first visible, enabled text field of root in tab order; failing
    // that, its first widget that takes focus by tab; null when it has none.
    static QWidget* first(QWidget* root);
    // Gives the focus to first(root), or to root itself when it has no field
    // (keys then stop at the popup instead of reaching what lies behind).
    static void into(QWidget* root);
    // The widget holding the focus when it lies outside root (where the focus
    // goes back to once root hides), else null.
    static QWidget* outside(QWidget* root);
    // Gives the focus back to home if it is still shown, and forgets home.
    static void giveBack(QPointer<QWidget>& home);
};

#endif // FOCUSFIELD_H
