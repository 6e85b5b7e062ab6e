#include "screens/profileheader.h"

#include "widgets/iconbutton.h"
#include "widgets/titleshadow.h"

#include <QCoreApplication>
#include <QLabel>

QWidget* ProfileHeader::makeStrip(QWidget* parent)
{
    auto* strip = new QWidget(parent);
    strip->setObjectName(QStringLiteral("ChannelProfileAdminContent"));
    new TitleShadow(strip);
    return strip;
}

IconButton* ProfileHeader::makeBackButton(QWidget* parent)
{
    auto* back = new IconButton(QSize(32, 32),
                                parent->layoutDirection() == Qt::RightToLeft
                                    ? QStringLiteral(":/Images/arrow_right_black.png")
                                    : QStringLiteral(":/Images/arrow_left_black.png"),
                                parent);
    back->setAccessibleName(QCoreApplication::translate("ProfileHeader", "_Back"));
    return back;
}

int ProfileHeader::place(QWidget* panel, QWidget* strip, IconButton* back, QLabel* title,
                         std::initializer_list<QLabel*> links)
{
    back->raise();
    strip->setGeometry(0, 0, panel->width(), height);
    title->adjustSize();
    const int top = back->height() > title->height() ? (back->height() - title->height()) / 2 : 0;
    title->move(panel->width() - 5 - title->width(), top);
    int x = back->width();
    for (QLabel* link : links) {
        link->adjustSize();
        link->move(x, top);
        x += link->width() + 10;
    }
    return top;
}
