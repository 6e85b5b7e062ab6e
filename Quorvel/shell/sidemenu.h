#ifndef SIDEMENU_H
#define SIDEMENU_H

#include "Managers/Contact/contact.h"

#include <QLabel>
#include <QWidget>

class IconButton;
class MenuItem;
class MenuList;
class QScrollArea;
class UserInfo;

// The panel that slides in: a back button, the user's header, the menu rows
// and the program's version.
class SideMenu : public QWidget
{
    Q_OBJECT
public:
    explicit SideMenu(QWidget* parent = nullptr);

    void addItem(MenuItem* item);
    void setUserData(const Contact& c);
    IconButton* getBackButton() const { return backButton; }
    UserInfo* getUserInfo() const { return userInfo; }
    MenuList* getMenuList() const { return menuList; }
    QLabel* getVersionLabel() { return &versionLabel; }

protected:
    void mousePressEvent(QMouseEvent*) override {}
    void paintEvent(QPaintEvent* event) override;

private:
    UserInfo* userInfo;
    IconButton* backButton;
    MenuList* menuList;
    QScrollArea* scrollArea;
    QLabel versionLabel;
};

#endif // SIDEMENU_H
