#ifndef SLIDINGMENU_H
#define SLIDINGMENU_H

#include "Managers/Contact/contact.h"

#include <QWidget>

class MenuItem;
class QGraphicsOpacityEffect;
class QParallelAnimationGroup;
class QPropertyAnimation;
class SideMenu;

// The overlay over the whole main window that slides the side menu in from
// the window's leading edge; a press beside the menu closes it.
class SlidingMenu : public QWidget
{
    Q_OBJECT
public:
    explicit SlidingMenu(QWidget* parent);

    void showMenu();
    // Slides the menu out and hides the overlay when that ends.
    void slide();
    void setMenuWidth(int width);
    int getMenuWidth() const { return menuWidth; }
    void addItem(MenuItem* item);
    void setUserData(const Contact& c);
    SideMenu* getSideMenu() const { return sideMenu; }
    // The menu width for a window of this width: 30 %, from 300 to 400.
    static int menuWidthFor(int windowWidth);

public slots:
    void backButtonPressed();
    void hideMenu();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void coverParent();

    SideMenu* sideMenu;
    QPropertyAnimation* slideAnimation;
    QPropertyAnimation* fadeAnimation;
    QPropertyAnimation* closeSlide;
    QGraphicsOpacityEffect* opacityEffect;
    QParallelAnimationGroup* closeGroup;
    int menuWidth = 300;
};

#endif // SLIDINGMENU_H
