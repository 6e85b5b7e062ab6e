#include "shell/grouplookupviewer.h"

#include "foundation/simpleqtlogger.h"
#include "widgets/flatbutton.h"

GroupLookupViewer::GroupLookupViewer(QWidget* parent)
    : LookupPreview(80, tr("_Return"), tr("_Join"), parent)
{
    setObjectName(QStringLiteral("GroupLookupViewer"));
    connect(joinButton(), &FlatButton::onClick, this, &GroupLookupViewer::joinClicked);
    connect(returnButton(), &FlatButton::onClick, this, &GroupLookupViewer::returnClicked);
}

void GroupLookupViewer::joinClicked()
{
    L_DEBUG(QStringLiteral("GroupLookupViewer::joinClicked"));
}

void GroupLookupViewer::returnClicked()
{
    L_DEBUG(QStringLiteral("GroupLookupViewer::returnClicked"));
}
