#include "screens/channelownerwidget.h"

#include "widgets/flatbutton.h"
#include "widgets/fonts.h"

#include <QLabel>

ChannelOwnerWidget::ChannelOwnerWidget(QWidget* parent)
    : ChannelMemberRow(parent), changeOwner(new FlatButton(tr("_ChangeOwner"), this))
{
    changeOwner->setFont(Fonts::getInstance()->regular);
    changeOwner->adjustSize();
    changeOwner->setObjectName(QStringLiteral("ProfileLinkStyle"));
    changeOwner->hide();
    setSideButton(changeOwner);
}

void ChannelOwnerWidget::setProfile(ChannelMemberProfile profile)
{
    secondLine()->setText(profile.getUserName());
    showMember(profile);
}
