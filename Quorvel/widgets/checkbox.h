#ifndef CHECKBOX_H
#define CHECKBOX_H

#include <QWidget>

class QHBoxLayout;
class QLabel;
class Label;

// An image check box with a rich-text caption beside it (links in the
// caption are reported through linkClicked). Made reachable by keyboard
// (KeyboardReach), Space ticks it.
class CheckBox : public QWidget
{
    Q_OBJECT
public:
    explicit CheckBox(QWidget* parent = nullptr);
    CheckBox(const QString& text, QWidget* parent = nullptr);

    void setChecked(bool value);
    bool isChecked() const { return checked; }
    void setText(const QString& text);
    void setFont(const QFont& font);
    Label* imageLabel() const { return image; }
    QLabel* textLabel() const { return text; }

signals:
    void selected();
    void unselected();
    void linkClicked(const QString& link);

public slots:
    void imageClicked();
    void linkActivated(const QString& str);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void build();
    void redraw();

    QLabel* text;
    Label* image;
    bool checked = false;
    QHBoxLayout* layout;
};

#endif // CHECKBOX_H
