#include "shell/userlookupviewer.h"

#include "foundation/simpleqtlogger.h"
#include "widgets/flatbutton.h"

UserLookupViewer::UserLookupViewer(QWidget* parent)
    : LookupPreview(100, tr("_SendMsg"), tr("_Return"), parent)
{
    setObjectName(QStringLiteral("UserLookupViewer"));
    connect(sendMessageButton(), &FlatButton::onClick, this, &UserLookupViewer::sendMsgClicked);
    connect(returnButton(), &FlatButton::onClick, this, &UserLookupViewer::returnClicked);
}

void UserLookupViewer::sendMsgClicked()
{
    L_DEBUG(QStringLiteral("UserLookupViewer::sendMsgClicked"));
}

void UserLookupViewer::returnClicked()
{
    L_DEBUG(QStringLiteral("UserLookupViewer::returnClicked"));
}
