#ifndef HINTLINEEDIT_H
#define HINTLINEEDIT_H

#include <QColor>
#include <QLineEdit>

// A line edit whose placeholder reads as a hint: drawn in grey whatever text
// colour the style sheet gives the field (the sheet's colour reaches the
// placeholder too), and still shown while a centred field has the keyboard
// focus (QLineEdit hides it there, which leaves a page that puts the caret
// into the field at once with an empty, invisible field).
class HintLineEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit HintLineEdit(QWidget* parent = nullptr);

    static QColor hintColour() { return QColor(0x9e, 0x9e, 0x9e); }

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void tintPlaceholder();
};

#endif // HINTLINEEDIT_H
