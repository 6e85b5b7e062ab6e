#ifndef ACCESSIBLEBUTTON_H
#define ACCESSIBLEBUTTON_H

#include <QAccessibleWidget>

// How a screen reader sees the kit's text and icon buttons (FlatButton,
// IconButton: labels that click): as buttons named by their accessible name
// or, failing that, their text, with a press action that clicks them.
class AccessibleButton : public QAccessibleWidget
{
public:
    explicit AccessibleButton(QWidget* button);

    QString text(QAccessible::Text t) const override;
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;

    // Installs the factory once; the kit's buttons call it when made.
    static void install();
};

#endif // ACCESSIBLEBUTTON_H
