#include "shell/menulist.h"

#include "widgets/stylesheetpaint.h"

MenuList::MenuList(QWidget* parent) : QWidget(parent)
{
    setLayout(&layout);
    layout.setAlignment(Qt::AlignTop);
    layout.setContentsMargins(0, 0, 0, 0);
    layout.setSpacing(5);
    layout.addSpacerItem(new QSpacerItem(1, 10, QSizePolicy::Fixed, QSizePolicy::Fixed));
}

void MenuList::addItem(QWidget* item)
{
    item->setParent(this);
    layout.addWidget(item);
}

void MenuList::paintEvent(QPaintEvent*)
{
    StyleSheetPaint::plain(this);
}
