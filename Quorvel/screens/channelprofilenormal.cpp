#include "screens/channelprofilenormal.h"

#include "screens/panelslider.h"
#include "screens/profileheader.h"
#include "screens/screenfonts.h"
#include "widgets/avatarviewer.h"
#include "widgets/checkbox.h"
#include "widgets/flatbutton.h"
#include "widgets/iconbutton.h"
#include "widgets/label.h"
#include "widgets/roundpixmap.h"
#include "widgets/stylesheetpaint.h"

#include <QLabel>

namespace {

const int kMargin = 20;

} // namespace

ChannelProfileNormal::ChannelProfileNormal(QWidget* parent)
    : QWidget(parent), slider(new PanelSlider(this, 300)), header(ProfileHeader::makeStrip(this)),
      back(ProfileHeader::makeBackButton(this)), title(new QLabel(tr("_Title"), this)),
      leave(new FlatButton(tr("_LeaveChannel"), this)), content(new QWidget(this)),
      avatar(new Label(content)), name(new QLabel(content)),
      identifier(new QLabel(QStringLiteral("///"), content)),
      members(new QLabel(tr("_MembersCount"), content)),
      descriptionHead(new QLabel(tr("_ChannelDescription"), content)),
      description(new QLabel(QStringLiteral("_"), content)),
      config(new QLabel(tr("_Config"), content)), mute(new CheckBox(content))
{
    const QFont large = ScreenFonts::digits(16);
    const QFont small = ScreenFonts::digits(10);
    for (QLabel* label : {title, static_cast<QLabel*>(leave), identifier, members, description})
        label->setFont(small);
    for (QLabel* label : {name, descriptionHead, config})
        label->setFont(large);
    for (QLabel* label : {title, static_cast<QLabel*>(leave), identifier})
        label->setObjectName(QStringLiteral("ProfileLinkStyle"));
    for (QLabel* label : {name, identifier, description}) {
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    members->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    avatar->resize(100, 100);
    mute->setFont(small);
    mute->setText(tr("_ReceiveNotification"));

    connect(back, &IconButton::onClick, this, &ChannelProfileNormal::backButtonPressed);
    connect(leave, &FlatButton::onClick, this, &ChannelProfileNormal::LeaveChannelPressed);
    connect(mute, &CheckBox::selected, this, &ChannelProfileNormal::notificationSelected);
    connect(mute, &CheckBox::unselected, this, &ChannelProfileNormal::notificationUnselected);
    connect(slider, &PanelSlider::exitFinished, this, &ChannelProfileNormal::hideWidget);
    // Every follower's panel listens to the one question popup; the
    // applicator names the channel, so only the panel that asked acts.
    connect(PopUpWarning::getInstance(), &PopUpWarning::popUpresponse, this,
            &ChannelProfileNormal::AckForWarningReceive);
}

void ChannelProfileNormal::setChannelInfo(ChannelInfo info)
{
    channel = info;
    name->setText(info.getName());
    identifier->setText(QStringLiteral("@") + info.getId());
    members->setText(QString::number(info.getMembersCount()) + tr("_MembersCount"));
    mute->setChecked(info.getMute());
    description->setText(info.getDescription());
    // A channel without a picture shows the channel sign, as its chat row
    // does, rather than an empty space.
    avatar->setPixmap(
        info.getAvThumbnail().isNull()
            ? AvatarViewer::defaultAvatar(AvatarViewer::Channel, info.getId(), QSize(100, 100))
            : roundPixmap(QPixmap::fromImage(info.getAvThumbnail()), QSize(100, 100)));
    for (QLabel* label : {name, identifier, members, description})
        label->adjustSize();
}

QString ChannelProfileNormal::applicator() const
{
    return channel.getId() + QStringLiteral("_profileNormal");
}

void ChannelProfileNormal::showProfile()
{
    slider->open();
}

void ChannelProfileNormal::slideIn()
{
    slider->slideIn();
}

void ChannelProfileNormal::slideOut()
{
    slider->slideOut();
}

void ChannelProfileNormal::backButtonPressed()
{
    slideOut();
}

void ChannelProfileNormal::hideWidget()
{
    PopUpWarning* warning = PopUpWarning::getInstance();
    if (!warning->isHidden())
        warning->hide();
    hide();
}

void ChannelProfileNormal::LeaveChannelPressed()
{
    PopUpWarning::showWarning(tr("_LeaveChannelWarningMessage"), applicator(), true, 0);
}

void ChannelProfileNormal::AckForWarningReceive(PopUpWarning::response response, QString asker)
{
    if (asker != applicator() || response != PopUpWarning::yes)
        return;
    emit command(CMD_ChannelLeave, QVariant(channel.getId()));
    slideOut();
}

void ChannelProfileNormal::notificationSelected()
{
    channel.setMute(true);
    emit command(CMD_ChannelUpdateMute, QVariant::fromValue(channel));
}

void ChannelProfileNormal::notificationUnselected()
{
    channel.setMute(false);
    emit command(CMD_ChannelUpdateMute, QVariant::fromValue(channel));
}

void ChannelProfileNormal::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    ProfileHeader::place(this, header, back, title, {leave});
    content->setGeometry(0, ProfileHeader::height, width(), height() - ProfileHeader::height);
    placeChildren();
}

int ChannelProfileNormal::placeFace(int width, QWidget* avatar,
                                    std::initializer_list<QLabel*> lines)
{
    const int a = avatar->width();
    avatar->move(width - kMargin - a, 10);
    int y = 10;
    for (QLabel* label : lines) {
        label->move(width - kMargin - a - 10 - label->width(), y);
        y += label->height();
    }
    return y > a + 10 ? y + 20 : a + 10 + 10;
}

void ChannelProfileNormal::placeChildren()
{
    const int c = content->width();
    int y = placeFace(c, avatar, {name, identifier, members});
    descriptionHead->setGeometry(0, y, c - kMargin, descriptionHead->height());
    y += descriptionHead->height();
    description->move(c - kMargin - description->width(), y);
    y += description->height();
    for (QWidget* row : {static_cast<QWidget*>(config), static_cast<QWidget*>(mute)}) {
        row->setGeometry(0, y, c - kMargin, row->height());
        y += row->height();
    }
    content->resize(c, y);
}

void ChannelProfileNormal::paintEvent(QPaintEvent*)
{
    StyleSheetPaint::plain(this);
}
