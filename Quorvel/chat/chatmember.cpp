#include "chat/chatmember.h"

#include "widgets/avatarviewer.h"
#include "widgets/dateconverter.h"
#include "widgets/fonts.h"
#include "widgets/interfacescale.h"
#include "widgets/label.h"
#include "widgets/stylesheetpaint.h"

#include <QBoxLayout>
#include <QContextMenuEvent>
#include <QDateTime>
#include <QMenu>

ChatMember::ChatMember(QWidget* parent)
    : QWidget(parent), avatar(new AvatarViewer(this)), name(new QLabel(this)),
      time(new QLabel(this)), deleteLabel(new Label(this)), menu(new QMenu(this)),
      deleteAction(new QAction(tr("_Delete"), this)),
      profileAction(new QAction(tr("_SeeProfile"), this))
{
    avatar->setFixedSize(50, 50);
    avatar->setAvatarSize(QSize(50, 50));
    avatar->setAlignment(Qt::AlignCenter);
    avatar->setAvatarType(AvatarViewer::Person);
    for (QLabel* label : {name, time}) {
        label->setFont(Fonts::getFont(baseFontSize));
        label->setTextFormat(Qt::PlainText);
    }
    name->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    deleteLabel->setText(tr("_delete"));
    deleteLabel->hide();

    auto* row = new QHBoxLayout(this);
    row->setSpacing(0);
    row->setMargin(0);
    row->addSpacerItem(new QSpacerItem(10, 1, QSizePolicy::Fixed, QSizePolicy::Fixed));
    row->addWidget(avatar);
    auto* text = new QVBoxLayout;
    text->setSpacing(1);
    text->setMargin(1);
    text->addWidget(name);
    text->addWidget(time);
    row->addLayout(text);
    row->addSpacerItem(new QSpacerItem(1, 1, QSizePolicy::Expanding, QSizePolicy::Fixed));
    row->addWidget(deleteLabel);
    row->addSpacerItem(new QSpacerItem(10, 1, QSizePolicy::Fixed, QSizePolicy::Fixed));

    menu->addAction(deleteAction);
    menu->addAction(profileAction);
    connect(deleteAction, &QAction::triggered, this, &ChatMember::deleteClicked);
    connect(deleteLabel, &Label::clicked, this, &ChatMember::deleteClicked);
    connect(profileAction, &QAction::triggered, this, &ChatMember::SeeProfieClicked);
}

void ChatMember::setMemberId(const QString& id)
{
    memberId = id;
    avatar->setAvatarId(id);
}

void ChatMember::setName(const QString& value)
{
    name->setText(value);
}

void ChatMember::setAvatarUrl(const QString& url)
{
    if (!url.isEmpty())
        avatar->downloadAvatar(url);
}

void ChatMember::setLastSeen(unsigned int seconds)
{
    // No time known (0) shows no date rather than the first day of 1970.
    time->setText(seconds == 0 ? QString()
                               : DateConverter().chatListTime(QDateTime::fromTime_t(seconds)));
    time->adjustSize();
    time->setFixedSize(time->size());
}

void ChatMember::setDeletable(bool value)
{
    deletable = value;
}

void ChatMember::contextMenuEvent(QContextMenuEvent* event)
{
    // The right to remove comes and goes with the user's role.
    if (!deletable)
        menu->removeAction(deleteAction);
    else if (!menu->actions().contains(deleteAction))
        menu->insertAction(profileAction, deleteAction);
    menu->popup(event->globalPos());
}

void ChatMember::enterEvent(QEvent* event)
{
    if (deletable)
        deleteLabel->show();
    QWidget::enterEvent(event);
}

void ChatMember::leaveEvent(QEvent* event)
{
    deleteLabel->hide();
    QWidget::leaveEvent(event);
}

void ChatMember::deleteClicked()
{
    PopUpWarning::showWarning(tr("_DeleteUserWarning"), QStringLiteral("DeleteClicked"), true, 0);
    connect(PopUpWarning::getInstance(), &PopUpWarning::popUpresponse, this,
            &ChatMember::popUpresponse, Qt::UniqueConnection);
}

void ChatMember::popUpresponse(PopUpWarning::response res, QString applicator)
{
    disconnect(PopUpWarning::getInstance(), nullptr, this, nullptr);
    if (res == PopUpWarning::yes && applicator == QLatin1String("DeleteClicked"))
        emit chatMemberDelete(memberId);
}

void ChatMember::paintEvent(QPaintEvent*)
{
    StyleSheetPaint::plain(this);
}
