#include "widgets/icontact.h"

#include "widgets/avatarviewer.h"
#include "widgets/fonts.h"
#include "widgets/interfacescale.h"
#include "widgets/phonetext.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>

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
    name->setFont(Fonts::getFont(baseFontSize));
    name->setText(PhoneText::name(value));
    // The avatar is what ticks the row: a screen reader names it by the person.
    avatar->setAccessibleName(value.getNameOrNumber());
    // Beside the avatar whatever script the name is in, as in the chat list.
    name->setAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter);
    setCursor(Qt::PointingHandCursor);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(avatar);
    layout->addWidget(name, 1);
    connect(avatar, &AvatarViewer::onClick, this, &IContact::avatarClick);
}

QString IContact::shownName() const
{
    return name->text();
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

void IContact::mousePressEvent(QMouseEvent* event)
{
    // Taken, so that the release comes here too.
    event->setAccepted(event->button() == Qt::LeftButton);
}

void IContact::mouseReleaseEvent(QMouseEvent* event)
{
    // The whole row ticks, not only its avatar.
    if (event->button() == Qt::LeftButton && rect().contains(event->pos()))
        avatarClick();
}
