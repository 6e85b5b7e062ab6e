#include "screens/channelmemberrow.h"

#include "screens/picturechooser.h"
#include "webapi/FileApi/staticfile.h"
#include "widgets/avatarviewer.h"
#include "widgets/fonts.h"
#include "widgets/interfacescale.h"
#include "widgets/stylesheetpaint.h"

#include <QLabel>

ChannelMemberRow::ChannelMemberRow(QWidget* parent)
    : QWidget(parent), file(new StaticFile()), avatar(new QLabel(this)), name(new QLabel(this)),
      second(new QLabel(this))
{
    avatar->setObjectName(QStringLiteral("AvatarContactWidget"));
    avatar->setMaximumSize(listAvatarSize, listAvatarSize);
    for (QLabel* label : {name, second}) {
        label->setFont(Fonts::getInstance()->regular);
        label->setTextFormat(Qt::PlainText);
    }
    connect(file, &StaticFile::imageReady, this, &ChannelMemberRow::imageReady);
}

ChannelMemberRow::~ChannelMemberRow()
{
    delete file;
}

void ChannelMemberRow::showMember(const ChannelMemberProfile& profile)
{
    member = profile;
    name->setText(profile.getShownName());
    // The person sign until (or unless) the picture arrives, as other rows
    // of people show it.
    avatar->setPixmap(AvatarViewer::defaultAvatar(AvatarViewer::Person, profile.getUserName(),
                                                  QSize(listAvatarSize, listAvatarSize)));
    avatar->adjustSize();
    if (!profile.getAvThumbnailUrl().isEmpty())
        file->setUrl(profile.getAvThumbnailUrl(), StaticFile::LocalFirst,
                     StaticFile::AvatarThumbnails, false);
    placeChildren();
}

void ChannelMemberRow::imageReady(const QImage& image)
{
    if (image.isNull())
        return;
    avatar->setPixmap(
        PictureChooser::oval(QPixmap::fromImage(image), QSize(listAvatarSize, listAvatarSize)));
    avatar->adjustSize();
    avatar->show();
}

void ChannelMemberRow::placeChildren()
{
    name->adjustSize();
    second->adjustSize();
    const int x = width() - 20 - avatar->width();
    avatar->move(x, height() / 2 - avatar->height() / 2);
    name->move(x - 10 - name->width(), 10);
    second->move(x - 10 - second->width(), name->y() + name->height());
    if (side)
        side->move(20, (height() - side->height()) / 2);
}

void ChannelMemberRow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    placeChildren();
}

void ChannelMemberRow::paintEvent(QPaintEvent*)
{
    StyleSheetPaint::plain(this);
}
