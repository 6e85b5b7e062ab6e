#ifndef TOPMENU_H
#define TOPMENU_H

#include <QWidget>

class IconButton;
class QGraphicsColorizeEffect;
class QPropertyAnimation;

// The main window's top bar: the menu button, the logo and the connection
// strip. The bar turns dark while the chat server is out of reach.
class TopMenu : public QWidget
{
    Q_OBJECT
public:
    TopMenu(const QSize& size, QWidget* parent = nullptr);

    IconButton* getMenuButton() const { return menuButton; }
    // How dark the bar is: 1 while disconnected, 0 when connected.
    qreal darkness() const;

signals:
    void menuClicked();

public slots:
    void menuClickedSlot();
    void connected();
    void disconnected();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    IconButton* logo;
    IconButton* menuButton;
    QPropertyAnimation* toColour;
    QPropertyAnimation* toNormal;
    QGraphicsColorizeEffect* effect;
};

#endif // TOPMENU_H
