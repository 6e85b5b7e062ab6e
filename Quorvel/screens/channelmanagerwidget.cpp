#include "screens/channelmanagerwidget.h"

#include "widgets/iconbutton.h"

#include <QLabel>

ChannelManagerWidget::ChannelManagerWidget(bool mayDelete, QWidget* parent)
    : ChannelMemberRow(parent),
      remove(new IconButton(QSize(32, 32), QStringLiteral(":/Images/close_black.png"), this))
{
    setMaximumWidth(400);
    remove->setVisible(mayDelete);
    remove->setAccessibleName(tr("_RemoveManager"));
    secondLine()->hide();
    setSideButton(remove);
    connect(remove, &IconButton::onClick, this, &ChannelManagerWidget::deleteIconClick);
}

void ChannelManagerWidget::setProfile(ChannelMemberProfile profile)
{
    showMember(profile);
}

void ChannelManagerWidget::deleteIconClick()
{
    emit deleteIconPressed(getProfile());
}
