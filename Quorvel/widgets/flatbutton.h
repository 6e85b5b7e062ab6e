#ifndef FLATBUTTON_H
#define FLATBUTTON_H

#include <QLabel>

// A text button: a label that turns a left-button release into onClick().
// Its text is plain text.
class FlatButton : public QLabel
{
    Q_OBJECT
public:
    explicit FlatButton(QWidget* parent = nullptr);
    FlatButton(const QString& text, QWidget* parent = nullptr);
    FlatButton(const QString& text, const QSize& size, QWidget* parent = nullptr);

    void setTextAlignment(Qt::Alignment alignment);

signals:
    void onClick();
    void mouseEntered();
    void mouseLeft();

protected:
    void enterEvent(QEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    // Pressed by key once made reachable (KeyboardReach).
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
};

#endif // FLATBUTTON_H
