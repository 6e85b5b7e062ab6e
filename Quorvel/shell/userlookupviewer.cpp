#include "shell/userlookupviewer.h"

#include "foundation/simpleqtlogger.h"
#include "widgets/avatarviewer.h"
#include "widgets/flatbutton.h"

UserLookupViewer::UserLookupViewer(QWidget* parent)
    : LookupPreview(100, tr("_SendMsg"), tr("_Return"), parent)
{
    setObjectName(QStringLiteral("UserLookupViewer"));
    connect(sendMessageButton(), &FlatButton::onClick, this, &UserLookupViewer::sendMsgClicked);
    connect(returnButton(), &FlatButton::onClick, this, &UserLookupViewer::returnClicked);
}

void UserLookupViewer::setUserLookup(const UserLookup& value)
{
    lookup = value;
    const QString name =
        value.getNickname().trimmed().isEmpty() ? value.getUserID() : value.getNickname();
    showLookup(AvatarViewer::Person, value.getUserID(), value.getAvatarThumbnailURL(),
               {name, QStringLiteral("@") + value.getUsername(), value.getMotto()});
    // A look-up that named no one has nobody to write to.
    sendMessageButton()->setVisible(!value.getUserID().isEmpty());
}

void UserLookupViewer::sendMsgClicked()
{
    L_DEBUG(QStringLiteral("UserLookupViewer::sendMsgClicked"));
    hide();
    if (lookup.getUserID().isEmpty())
        return;
    Contact contact;
    contact.setNumber(lookup.getUserID());
    contact.setNickName(lookup.getNickname());
    contact.setMotto(lookup.getMotto());
    contact.setAvatarUrl(lookup.getAvatarURL());
    contact.setAvatarThumbnailUrl(lookup.getAvatarThumbnailURL());
    emit startMessaging(contact);
}

void UserLookupViewer::returnClicked()
{
    L_DEBUG(QStringLiteral("UserLookupViewer::returnClicked"));
    hide();
}
