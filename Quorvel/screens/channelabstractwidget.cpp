#include "screens/channelabstractwidget.h"

#include "foundation/simpleqtlogger.h"
#include "screens/channelcategorywidget.h"
#include "webapi/FileApi/staticfile.h"
#include "widgets/flatbutton.h"
#include "widgets/fonts.h"
#include "widgets/stylesheetpaint.h"

#include <QLabel>
#include <QMouseEvent>
#include <QTextDocument>

ChannelAbstractWidget::ChannelAbstractWidget(QWidget* parent)
    : QWidget(parent), name(new QLabel(this)), description(new QLabel(this)),
      avatar(new QLabel(this)), file(new StaticFile()),
      follow(new FlatButton(tr("_FollowString"), this)),
      visit(new FlatButton(tr("_VisitString"), this))
{
    const QFont font = Fonts::getInstance()->regular;
    for (QLabel* label : {name, description}) {
        label->setFont(font);
        label->setTextFormat(Qt::PlainText);
    }
    avatar->setObjectName(QStringLiteral("AvatarChannelWidget"));
    avatar->setMaximumSize(50, 50);
    avatar->resize(50, 50);
    QFont buttons = font;
    buttons.setPointSize(10);
    for (FlatButton* button : {follow, visit}) {
        button->setFont(buttons);
        button->adjustSize();
    }
    visit->setAlignment(Qt::AlignCenter);
    visit->hide();
    connect(file, &StaticFile::imageReady, this, &ChannelAbstractWidget::imageReady);
    connect(follow, &FlatButton::onClick, this, &ChannelAbstractWidget::clickedFollow);
    connect(visit, &FlatButton::onClick, this, &ChannelAbstractWidget::clickedVisit);
}

ChannelAbstractWidget::~ChannelAbstractWidget()
{
    delete file;
}

void ChannelAbstractWidget::setChannelInfo(ChannelInfo info)
{
    channel = info;
    setFollowed(isFollowed());
    // The whole of it, wrapped, and read as the plain text it is.
    description->setToolTip(Qt::convertFromPlainText(info.getDescription()));
    if (!info.getAvatarThumbnailUrl().isEmpty())
        file->setUrl(info.getAvatarThumbnailUrl(), StaticFile::LocalFirst,
                     StaticFile::AvatarThumbnails, false);
    placeChildren();
}

void ChannelAbstractWidget::imageReady(const QImage& image)
{
    channel.setAvThumbnail(image);
    if (!image.isNull())
        avatar->setPixmap(ChannelCategoryWidget::roundAvatar(image));
}

void ChannelAbstractWidget::setFollowed(bool followed)
{
    channel.setFollowed(followed ? QStringLiteral("1") : QStringLiteral("0"));
    follow->setText(followed ? tr("_VisitString") : tr("_FollowString"));
    follow->adjustSize();
    placeChildren();
}

bool ChannelAbstractWidget::isFollowed() const
{
    return channel.getFollowed() == QLatin1String("1");
}

namespace {
// One line of text in the room there is, ending in an ellipsis when longer.
void fitText(QLabel* label, const QString& text, int room)
{
    label->setText(label->fontMetrics().elidedText(text, Qt::ElideRight, room));
    label->adjustSize();
    label->resize(qMin(label->width(), room), label->height());
}
} // namespace

void ChannelAbstractWidget::placeChildren()
{
    avatar->move(width() - 10 - avatar->width(), height() / 2 - avatar->height() / 2);
    follow->move(20, 10);
    visit->setGeometry(20, follow->y() + 20, follow->width(), visit->height());
    // The texts keep between the buttons and the avatar, however long.
    const int room = qMax(0, avatar->x() - 10 - (follow->x() + follow->width() + 10));
    fitText(name, channel.getName(), room);
    fitText(description, channel.getDescription().simplified(), room);
    name->move(avatar->x() - 10 - name->width(), 10);
    description->move(avatar->x() - 10 - description->width(), name->y() + name->height());
}

void ChannelAbstractWidget::clickedFollow()
{
    L_DEBUG(QStringLiteral("ChannelAbstractWidget::clickedFollow()") + channel.getId());
    emit followClicked(channel);
}

void ChannelAbstractWidget::clickedVisit()
{
    emit visitClicked(channel);
}

void ChannelAbstractWidget::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        emit channelWidgetClicked(channel);
}

void ChannelAbstractWidget::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    placeChildren();
}

void ChannelAbstractWidget::paintEvent(QPaintEvent*)
{
    StyleSheetPaint::plain(this);
}
