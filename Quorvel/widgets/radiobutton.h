#ifndef RADIOBUTTON_H
#define RADIOBUTTON_H

#include <QWidget>

class QHBoxLayout;
class QLabel;
class Label;

// An image radio button with a caption; a click never unchecks it. Mutual
// exclusion is left to the owner.
class RadioButton : public QWidget
{
    Q_OBJECT
public:
    explicit RadioButton(QWidget* parent = nullptr);

    void setText(const QString& text);
    void setSelected(bool value);
    bool isSelected() const { return checked; }
    Label* imageLabel() const { return image; }
    QLabel* textLabel() const { return text; }

signals:
    void clicked();

public slots:
    void deselect();

private slots:
    void _clicked();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void redraw();

    Label* image;
    QLabel* text;
    QHBoxLayout* layout;
    bool checked = false;
};

#endif // RADIOBUTTON_H
