#include "shell/grouplookupviewer.h"

#include "foundation/simpleqtlogger.h"
#include "widgets/avatarviewer.h"
#include "widgets/flatbutton.h"

GroupLookupViewer::GroupLookupViewer(QWidget* parent)
    : LookupPreview(80, tr("_Return"), tr("_Join"), parent)
{
    setObjectName(QStringLiteral("GroupLookupViewer"));
    connect(joinButton(), &FlatButton::onClick, this, &GroupLookupViewer::joinClicked);
    connect(returnButton(), &FlatButton::onClick, this, &GroupLookupViewer::returnClicked);
    joinButton()->hide();
}

void GroupLookupViewer::setGroupLookup(const GroupLookup& value)
{
    lookup = value;
    showLookup(AvatarViewer::Group, value.getJid(), value.getAvatarThumbnailURL(),
               {value.getName(),
                QString::number(value.getMembersCount()) + QLatin1Char(' ') + tr("_Members"),
                value.getDescription()});
}

void GroupLookupViewer::joinClicked()
{
    L_DEBUG(QStringLiteral("GroupLookupViewer::joinClicked"));
}

void GroupLookupViewer::returnClicked()
{
    L_DEBUG(QStringLiteral("GroupLookupViewer::returnClicked"));
    hide();
}
