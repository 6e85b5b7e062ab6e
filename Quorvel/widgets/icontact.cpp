#include "widgets/icontact.h"

#include "widgets/avatarviewer.h"
#include "widgets/interfacescale.h"

#include <QHBoxLayout>
#include <QLabel>

IContact::IContact(const Contact& value, QWidget* parent)
    : QWidget(parent), avatar(new AvatarViewer(this)), id(value.getNumber()), contact(value),
      name(new QLabel(this))
{
    avatar->setAvatarSize(QSize(listAvatarSize, listAvatarSize));
    avatar->setAvatarType(AvatarViewer::Person);
    avatar->setCheckable(true);
    avatar->setAvatarId(id);
    avatar->downloadAvatar(value.getAvatarThumbnailUrl());
    name->setTextFormat(Qt::PlainText);
    name->setText(value.getDisplayName());
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(avatar);
    layout->addWidget(name, 1);
    connect(avatar, &AvatarViewer::onClick, this, &IContact::avatarClick);
}

void IContact::setFiltered(bool value)
{
    filtered = value;
    if (filtered)
        hide();
}

void IContact::reset()
{
    filtered = false;
    selected = false;
    avatar->setChecked(false);
    show();
}

void IContact::avatarClick()
{
    selected = !selected;
    avatar->setChecked(selected);
    if (selected)
        emit select(id);
    else
        emit unSelect(id);
}
