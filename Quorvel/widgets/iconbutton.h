#ifndef ICONBUTTON_H
#define ICONBUTTON_H

#include <QLabel>

// An icon button: a label showing an icon that turns a left-button release
// into onClick(). The style sheet draws its background.
class IconButton : public QLabel
{
    Q_OBJECT
public:
    explicit IconButton(QWidget* parent = nullptr);
    IconButton(const QSize& size, QWidget* parent = nullptr);
    IconButton(const QSize& size, const QString& iconPath, QWidget* parent = nullptr);

    void setIcon(const QString& iconPath);
    void setIconAtIconSize(const QString& iconPath);
    void setIconPixmap(const QPixmap& pixmap);
    void setButtonSize(const QSize& size);
    QSize getIconSize() const { return iconSize; }

signals:
    void onClick();

protected:
    void enterEvent(QEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    // Pressed by key once made reachable (KeyboardReach).
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QSize iconSize;
};

#endif // ICONBUTTON_H
