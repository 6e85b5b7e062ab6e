#include "shell/sidemenu.h"

#include "shell/menuitem.h"
#include "shell/menulist.h"
#include "shell/userinfo.h"
#include "widgets/fonts.h"
#include "widgets/iconbutton.h"
#include "widgets/interfacescale.h"
#include "widgets/stylesheetpaint.h"

#include <QScrollArea>
#include <QVBoxLayout>

SideMenu::SideMenu(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    // The back button's white arrow sits on the header's colour.
    auto* backBar = new QWidget(this);
    backBar->setObjectName(QStringLiteral("SideMenuBackBar"));
    backBar->setAttribute(Qt::WA_StyledBackground);
    auto* backRow = new QHBoxLayout(backBar);
    backRow->setContentsMargins(0, 5, 0, 0);
    backRow->setSpacing(0);
    const int backSide = scaleValue(32);
    backButton = new IconButton(QSize(backSide, backSide),
                                layoutDirection() == Qt::RightToLeft
                                    ? QStringLiteral(":/Images/arrow_right_white.png")
                                    : QStringLiteral(":/Images/arrow_left_white.png"),
                                backBar);
    backButton->setAccessibleName(tr("_CloseMenu"));
    backButton->setObjectName(QStringLiteral("SideMenuBackButton"));
    backButton->setStyleSheet(QStringLiteral("border-radius:%1px;").arg(backSide / 2));
    backRow->addSpacerItem(new QSpacerItem(5, 1, QSizePolicy::Fixed, QSizePolicy::Fixed));
    backRow->addWidget(backButton);
    backRow->addSpacerItem(new QSpacerItem(1, 1, QSizePolicy::Expanding, QSizePolicy::Fixed));

    userInfo =
        new UserInfo(QStringLiteral(":/Images/QuorvelLogo128.png"), QString(), QString(), this);
    menuList = new MenuList;
    scrollArea = new QScrollArea(this);
    scrollArea->setObjectName(QStringLiteral("SideMenuScrollArea"));
    scrollArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scrollArea->setWidgetResizable(true);
    scrollArea->setWidget(menuList);

    versionLabel.setParent(this);
    versionLabel.setObjectName(QStringLiteral("AppVersion"));
    versionLabel.setFont(Fonts::getFont(baseFontSize));
    versionLabel.setContentsMargins(10, 0, 10, 0);
    versionLabel.setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Maximum);
    versionLabel.setAlignment(Qt::AlignCenter);
    versionLabel.setText(tr("_AppVersion") + QStringLiteral("\n") + QStringLiteral("0.4.2"));

    layout->addWidget(backBar);
    layout->addWidget(userInfo);
    layout->addWidget(scrollArea);
    layout->addWidget(&versionLabel);
}

void SideMenu::addItem(MenuItem* item)
{
    menuList->addItem(item);
}

void SideMenu::setUserData(const Contact& c)
{
    userInfo->setUserData(c);
}

void SideMenu::paintEvent(QPaintEvent*)
{
    StyleSheetPaint::plain(this);
}
