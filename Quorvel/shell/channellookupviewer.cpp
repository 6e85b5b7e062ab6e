#include "shell/channellookupviewer.h"

#include "foundation/simpleqtlogger.h"
#include "widgets/avatarviewer.h"
#include "widgets/biditext.h"
#include "widgets/flatbutton.h"
#include "widgets/fonts.h"
#include "widgets/interfacescale.h"

#include <QLabel>
#include <QVBoxLayout>

ChannelLookupViewer::ChannelLookupViewer(QWidget* parent)
    : QWidget(parent), avatar(new AvatarViewer(this)), id(new QLabel(this)), name(new QLabel(this)),
      description(new QLabel(this)), members(new QLabel(this)),
      join(new FlatButton(tr("_Join"), this)), back(new FlatButton(tr("_Return"), this)),
      preview(new FlatButton(tr("_Preview"), this))
{
    setObjectName(QStringLiteral("ChannelLookupViewer"));
    // Its own background over the dimmed window.
    setAttribute(Qt::WA_StyledBackground);
    // Everything shown here comes from the service: never read as markup.
    for (QLabel* label : {id, name, description, members})
        label->setTextFormat(Qt::PlainText);
    description->setWordWrap(true);
    description->setAlignment(Qt::AlignHCenter);
    preview->hide();

    auto* layout = new QVBoxLayout(this);
    for (QWidget* w :
         {static_cast<QWidget*>(avatar), static_cast<QWidget*>(name), static_cast<QWidget*>(id),
          static_cast<QWidget*>(members), static_cast<QWidget*>(description)})
        layout->addWidget(w, 0, Qt::AlignHCenter);
    for (FlatButton* button : {join, preview, back}) {
        button->setTextAlignment(Qt::AlignCenter);
        layout->addWidget(button);
    }
    connect(join, &FlatButton::onClick, this, &ChannelLookupViewer::joinClicked);
    connect(back, &FlatButton::onClick, this, &ChannelLookupViewer::returnClicked);
    connect(preview, &FlatButton::onClick, this, &ChannelLookupViewer::previewClicked);
}

void ChannelLookupViewer::setChannelLookup(const ChannelLookup& value)
{
    lookup = value;
    avatar->setAvatarType(AvatarViewer::Channel);
    avatar->setAvatarSize(scaleSize(QSize(100, 100)));
    avatar->setAvatarId(value.getId());
    avatar->downloadAvatar(value.getAvatarThumbnailURL());
    avatar->setClickable(true);
    name->setText(BidiText::visibleControls(value.getName()));
    name->setFont(Fonts::getFont(30));
    id->setText(QStringLiteral("@%1").arg(value.getId()));
    members->setText(QString::number(value.getMembersCount()) + QLatin1Char(' ') + tr("_Members"));
    description->setText(BidiText::confinedControls(value.getDescription()));
    description->setFont(Fonts::getFont(baseFontSize));
}

void ChannelLookupViewer::joinClicked()
{
    L_DEBUG(QStringLiteral("ChannelLookupViewer::joinClicked"));
    emit command(CMD_ChannelJoin, QVariant(lookup.getId()));
    hide();
}

void ChannelLookupViewer::returnClicked()
{
    L_DEBUG(QStringLiteral("ChannelLookupViewer::returnClicked"));
    hide();
}

void ChannelLookupViewer::previewClicked()
{
    L_DEBUG(QStringLiteral("ChannelLookupViewer::previewClicked"));
}
