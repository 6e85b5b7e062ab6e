#include "chat/chatwidget.h"

#include "chat/chatwindow.h"
#include "chat/groupnotice.h"
#include "chat/messagesummary.h"
#include "foundation/simpleqtlogger.h"
#include "widgets/avatarviewer.h"
#include "widgets/biditext.h"
#include "widgets/currentuser.h"
#include "widgets/dateconverter.h"
#include "widgets/fonts.h"
#include "widgets/interfacescale.h"
#include "widgets/lazyavatar.h"
#include "widgets/phonetext.h"
#include "widgets/stylesheetpaint.h"

#include <QDateTime>
#include <QJsonDocument>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>

ChatWidget::ChatWidget(QWidget* parent)
    : QWidget(parent),
      avatarPicture(new LazyAvatar(QSize(chatRowAvatarSize, chatRowAvatarSize), this))
{
    face.setAvatarSize(chatRowAvatarSize);
    face.setBadgeHeight(baseFontSize);
    connect(avatarPicture, &LazyAvatar::changed, this, qOverload<>(&ChatWidget::update));
    connect(avatarPicture, &LazyAvatar::downloaded, this, &ChatWidget::avatarDownloadFinished);
    restyle(QStringLiteral("ChatWidgetNormal"));
}

ChatWidget::~ChatWidget()
{
    // The window may be shown by the content panel, which holds it guarded;
    // it goes once control is back in the event loop.
    if (chatWindow) {
        chatWindow->hide();
        chatWindow->deleteLater();
    }
}

ChatWindow* ChatWidget::getChatWindow()
{
    if (!chatWindow && kind != NoKind) {
        // The window shows the avatar too: it is fetched now, painted or not.
        avatarPicture->want();
        chatWindow = new ChatWindow;
        connect(chatWindow, &ChatWindow::sendSeenCount, this, &ChatWidget::sendSeenCount);
        connect(chatWindow, &ChatWindow::select, this, &ChatWidget::select);
        connect(chatWindow, &ChatWindow::command, this, &ChatWidget::command);
        connect(chatWindow, &ChatWindow::startMessaging, this, &ChatWidget::startMessaging);
        setUpWindow();
    }
    return chatWindow;
}

void ChatWidget::setUpWindow()
{
    if (!chatWindow)
        return;
    chatWindow->setChatId(getId());
    switch (kind) {
    case Chat:
        chatWindow->setChatType(MessageBase::MsgMajorType_SimpleChat);
        chatWindow->setContact(chatRecipient.getContact());
        chatWindow->setContactProfile(chatRecipient.getContact());
        break;
    case Group:
        chatWindow->setChatType(MessageBase::MsgMajorType_GroupChat);
        chatWindow->setGroupProfile(groupInfo);
        break;
    case Channel:
        chatWindow->setChannelProfile(channelInfo);
        if (channelInfo.getMyRole() == ChannelRole::MEMBER ||
            channelInfo.getMyRole() == ChannelRole::VISITOR)
            chatWindow->updateMuteButton(channelInfo.getMute());
        break;
    default:
        break;
    }
}

QString ChatWidget::getId() const
{
    switch (kind) {
    case Chat:
        return chatRecipient.getContact().getNumber();
    case Group:
        return groupInfo.getJid();
    case Channel:
        return channelInfo.getId();
    default:
        return QString();
    }
}

void ChatWidget::setChatRecipient(const ChatRecipient& recipient)
{
    L_DEBUG(QStringLiteral("ChatWidget::setChatRecipient"));
    chatRecipient = recipient;
    kind = Chat;
    countedWithRecord = recipient.getLastMsg().getMessageId();
    const Contact contact = recipient.getContact();
    setUpWindow();
    setAvatar(AvatarViewer::Person, contact.getNumber(), contact.getAvatarThumbnailUrl());
    showName(PhoneText::name(contact));
    setMuted(contact.getMute());
    showLastMessage(recipient.getLastMsg());
    setUnreadCount(recipient.getUnreadCount());
}

void ChatWidget::setChatRecipient(const ChatRecipient& recipient, const QString& counted)
{
    setChatRecipient(recipient);
    countedWithRecord = counted;
}

void ChatWidget::takeIntoRecord(ChatRecipient* record, const QString& counted, const Message& shown)
{
    if (shown.getUserId() == currentUserName)
        record->setUnreadCount(0);
    else if (!shown.getEdited() && (counted.isEmpty() || shown.getMessageId() != counted))
        record->increaseUnreadCount();
    const Message last = record->getLastMsg();
    if (shown.isEmpty() || (shown.getMessageId() != last.getMessageId() &&
                            shown.getSendTimeInGMT() <= last.getSendTimeInGMT()))
        return;
    record->setLastMsg(shown);
}

void ChatWidget::setGroupInfo(const GroupInfo& info)
{
    groupInfo = info;
    kind = Group;
    setUpWindow();
    setMuted(info.getMute());
    setAvatar(AvatarViewer::Group, info.getJid(), info.getAvThUrl());
    showName(BidiText::visibleControls(info.getName()));
    showLastMessage(info.getLastMessage());
    setUnreadCount(info.getUnreadCount());
}

void ChatWidget::setChannelInfo(const ChannelInfo& info)
{
    channelInfo = info;
    setAvatar(AvatarViewer::Channel, info.getId(), info.getAvatarThumbnailUrl());
    showName(BidiText::visibleControls(info.getName()));
    kind = Channel;
    setUpWindow();
    showLastMessage(info.getLastMessage());
    setUnreadCount(info.getUnreadCount());
    setMuted(info.getMute());
}

void ChatWidget::updateGroupInfo(const GroupInfo& info)
{
    // The row's own last message and count stay: the update may be older.
    const Message last = groupInfo.getLastMessage();
    const int unread = groupInfo.getUnreadCount();
    groupInfo = info;
    groupInfo.setLastMessage(last);
    groupInfo.setUnreadCount(unread);
    if (chatWindow)
        chatWindow->updateGroupInfo(groupInfo);
    avatarPicture->setUrl(info.getAvThUrl());
    showName(BidiText::visibleControls(info.getName()));
    setMuted(info.getMute());
}

void ChatWidget::setContact(const Contact& contact)
{
    L_DEBUG(QStringLiteral("ChatWidget::setContact"));
    chatRecipient.setContact(contact);
    if (chatWindow) {
        chatWindow->setContact(contact);
        chatWindow->setContactProfile(contact);
    }
    setMuted(contact.getMute());
    // A renamed contact shows its new name and picture on the row too.
    showName(PhoneText::name(contact));
    setAvatar(AvatarViewer::Person, contact.getNumber(), contact.getAvatarThumbnailUrl());
}

void ChatWidget::showName(const QString& text)
{
    face.setName(text);
    describe();
    update();
}

void ChatWidget::setAvatar(int avatarKind, const QString& id, const QString& url)
{
    avatarPicture->setOwner(avatarKind, id);
    avatarPicture->setUrl(url);
}

void ChatWidget::describe()
{
    setAccessibleName(face.name());
    QStringList parts;
    for (const QString& part :
         {face.time(), face.previewShown() ? face.preview() : QString(),
          face.badgeCount() > 0 ? QString::number(face.badgeCount()) : QString()}) {
        if (!part.isEmpty())
            parts << part;
    }
    setAccessibleDescription(parts.join(QLatin1Char('\n')));
}

Message ChatWidget::lastMessage() const
{
    switch (kind) {
    case Chat:
        return chatRecipient.getLastMsg();
    case Group:
        return groupInfo.getLastMessage();
    case Channel:
        return channelInfo.getLastMessage();
    default:
        return Message();
    }
}

void ChatWidget::storeLastMessage(const Message& message)
{
    if (kind == Chat)
        chatRecipient.setLastMsg(message);
    else if (kind == Group)
        groupInfo.setLastMessage(message);
    else if (kind == Channel)
        channelInfo.setLastMessage(message);
}

void ChatWidget::storeUnreadCount(int count)
{
    if (kind == Chat)
        chatRecipient.setUnreadCount(count);
    else if (kind == Group)
        groupInfo.setUnreadCount(count);
    else if (kind == Channel)
        channelInfo.setUnreadCount(count);
}

void ChatWidget::showLastMessage(const Message& message)
{
    if (!message.isValid()) {
        shownKey.clear();
        face.setPreview(face.preview(), false);
        face.setTime(QString());
        describe();
        update();
        return;
    }
    // The same message again on the same day (a new message is shown, then
    // refreshed) is not converted and measured again.
    const QString key = QString::number(QDate::currentDate().toJulianDay()) + QLatin1Char('\n') +
                        message.getMessageId() + QLatin1Char('\n') +
                        QString::number(message.getSendTimeInGMT()) + QLatin1Char('\n') +
                        QString::number(int(message.getMinorType())) + QLatin1Char('\n') +
                        QString::number(int(message.getFileMessage().getFileType())) +
                        QLatin1Char('\n') + message.getMessageBody();
    if (key == shownKey && face.previewShown() && !face.time().isEmpty())
        return;
    shownKey = key;
    face.setTime(DateConverter().chatListTime(
        QDateTime::fromTime_t(uint(message.getSendTimeInGMT() / 1000))));
    const QString text =
        summaryOf(message, kind,
                  kind == Group && chatWindow ? chatWindow->getGroupInfoMembers().getMembers()
                                              : QHash<QString, GroupMember>());
    face.setPreview(text, true);
    describe();
    update();
}

QString ChatWidget::summaryOf(const Message& message, int kind,
                              const QHash<QString, GroupMember>& members)
{
    switch (message.getMinorType()) {
    case MessageBase::MsgMinorType_Sticker:
        return tr("_sticker");
    case MessageBase::MsgMinorType_File: {
        const QString text = MessageSummary::plainBody(message);
        if (!text.isEmpty())
            return text;
        switch (message.getFileMessage().getFileType()) {
        case FileMessage::MsgFileType_Image:
            return tr("_image");
        case FileMessage::MsgFileType_Video:
            return tr("_video");
        case FileMessage::MsgFileType_Gif:
            return tr("_gif");
        case FileMessage::MsgFileType_PushToTalk:
            return tr("_pushToTalk");
        default:
            return tr("_file");
        }
    }
    case MessageBase::MsgMinorType_Location:
        return tr("_location");
    case MessageBase::MsgMinorType_Poll:
        return tr("_poll");
    default:
        // A group's notice reads as on its board.
        if (kind == Group && message.getMajorType() == MessageBase::MsgMajorType_ControlMessage)
            return GroupNotice::text(message, members);
        return MessageSummary::plainBody(message);
    }
}

void ChatWidget::setUnreadCount(int count)
{
    if (kind == NoKind)
        return;
    storeUnreadCount(count);
    if (count == face.badgeCount())
        return;
    face.setBadge(count, face.badgeMuted());
    describe();
    update();
}

void ChatWidget::sendSeenCount(int count)
{
    setUnreadCount(count);
}

int ChatWidget::getUnreadCount() const
{
    switch (kind) {
    case Chat:
        return chatRecipient.getContact().getMute() ? 0 : chatRecipient.getUnreadCount();
    case Group:
        return groupInfo.getMute() ? 0 : groupInfo.getUnreadCount();
    case Channel:
        return channelInfo.getMute() ? 0 : channelInfo.getUnreadCount();
    default:
        return 0;
    }
}

qint64 ChatWidget::getLastMessageTime() const
{
    const Message last = lastMessage();
    return last.isValid() ? last.getSendTimeInGMT() : 0;
}

void ChatWidget::setMuted(bool muted)
{
    if (face.badgeMuted() == muted)
        return;
    face.setBadge(face.badgeCount(), muted);
    update();
}

void ChatWidget::select()
{
    emit clicked(getChatWindow());
    restyle(QStringLiteral("ChatWidgetSelected"));
}

void ChatWidget::deselect()
{
    restyle(QStringLiteral("ChatWidgetNormal"));
    if (chatWindow)
        chatWindow->hideProfilePanels();
}

void ChatWidget::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    // Opening a chat is not reading it: its window sends the seen once the
    // newest message has been in view.
    select();
}

void ChatWidget::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
}

void ChatWidget::paintEvent(QPaintEvent*)
{
    // The sheet draws the background (normal, hovered, selected); the row
    // draws the rest, every row with the same font object (glyphs are found
    // for the font once, not once per row). The avatar is read once the row
    // is first seen.
    StyleSheetPaint::plain(this);
    avatarPicture->want();
    QPainter painter(this);
    face.paint(&painter, rect(), Fonts::getFont(baseFontSize), layoutDirection(),
               palette().color(QPalette::WindowText), avatarPicture->pixmap());
}

QRect ChatWidget::avatarRect() const
{
    return face.places(rect(), Fonts::getFont(baseFontSize), layoutDirection()).avatar;
}

bool ChatWidget::containsText(const QString& text) const
{
    // The whole texts, also where the row shows them shortened.
    return face.name().indexOf(text, 0, Qt::CaseInsensitive) >= 0 ||
           face.preview().indexOf(text, 0, Qt::CaseInsensitive) >= 0;
}

void ChatWidget::closeChatWindow()
{
    if (!chatWindow)
        return;
    chatWindow->hide();
    chatWindow->close();
}

void ChatWidget::avatarDownloadFinished(const QImage& image)
{
    if (kind == Chat) {
        Contact contact = chatRecipient.getContact();
        contact.setAvThumbnail(image);
        chatRecipient.setContact(contact);
        if (chatWindow)
            chatWindow->setContact(contact);
    } else if (kind == Channel) {
        channelInfo.setAvThumbnail(image);
        if (chatWindow)
            chatWindow->setChannelProfile(channelInfo);
    }
}

void ChatWidget::restyle(const QString& objectName)
{
    setObjectName(objectName);
    // A row not yet polished takes the sheet when it is first shown.
    if (!testAttribute(Qt::WA_WState_Polished))
        return;
    setStyleSheet(QString());
    style()->unpolish(this);
    style()->polish(this);
}

// ---- Answers for this chat ----

void ChatWidget::processMessage(const Message& message)
{
    if (kind == Channel)
        L_DEBUG(QStringLiteral("ChatWidget::processChannelMessage |") +
                QString::fromUtf8(QJsonDocument(message.toJson()).toJson(QJsonDocument::Compact)));
    if (!acceptsChat(message.getChatId()))
        return;
    const bool added = chatWindow ? chatWindow->appendMessage(message) : true;
    takeNewMessage(message, added);
}

void ChatWidget::processMessagePair(const MessagePair& pair)
{
    if (!acceptsChat(pair.getChatId()))
        return;
    const bool added = chatWindow ? chatWindow->appendMessagePair(pair) : true;
    takeNewMessage(pair.getMessage(), added);
}

void ChatWidget::takeNewMessage(const Message& shown, bool added)
{
    if (!added)
        return;
    // A window that has had the newest message in view has told the core
    // so; anything else still counts as unread.
    const bool windowShown = chatWindow && chatWindow->isVisible() && !chatWindow->hasUnseen();
    // A chat's record comes from the core with its last message already
    // counted (a new chat's first message arrives right after it): that
    // message is not another one.
    const bool counted = !countedWithRecord.isEmpty() && shown.getMessageId() == countedWithRecord;
    if (shown.getUserId() == currentUserName || windowShown) {
        storeUnreadCount(0);
    } else if (!shown.getEdited() && !counted) {
        // An edit changes a message already counted; only new ones count.
        if (kind == Chat)
            chatRecipient.increaseUnreadCount();
        else if (kind == Group)
            groupInfo.increaseUnreadCount();
        else
            channelInfo.increaseUnreadCount();
    }
    updateLastMessage(shown);
    refreshLastMessage();
}

void ChatWidget::updateLastMessage(const Message& message)
{
    if (message.isEmpty() || kind == NoKind)
        return;
    const Message last = lastMessage();
    if (message.getMessageId() != last.getMessageId() &&
        message.getSendTimeInGMT() <= last.getSendTimeInGMT())
        return;
    storeLastMessage(message);
    emit lastMessageTimeChanged(getId());
    showLastMessage(message);
}

void ChatWidget::refreshLastMessage()
{
    showLastMessage(lastMessage());
    int count = 0;
    if (kind == Chat)
        count = chatRecipient.getUnreadCount();
    else if (kind == Group)
        count = groupInfo.getUnreadCount();
    else if (kind == Channel)
        count = channelInfo.getUnreadCount();
    setUnreadCount(count);
}

void ChatWidget::processMessageReply(const MessageReply& reply)
{
    if (chatWindow)
        chatWindow->chatMessageResponse(reply);
    if (kind == NoKind)
        return;
    Message candidate = lastMessage();
    bool found = false;
    for (const Message& message : reply.getMsgs()) {
        if (message.getSendTimeInGMT() > candidate.getSendTimeInGMT()) {
            candidate = message;
            found = true;
        }
    }
    if (!found)
        return;
    storeLastMessage(candidate);
    emit lastMessageTimeChanged(getId());
    refreshLastMessage();
}

void ChatWidget::setMessageState(const MessageState& state)
{
    if (chatWindow)
        chatWindow->setMessageState(state);
}

void ChatWidget::processMembers(const Members& members)
{
    if (chatWindow)
        chatWindow->setMembersProfiles(members);
}

void ChatWidget::processGroupInfoMembers(const GroupInfoMembers& members)
{
    if (chatWindow)
        chatWindow->setGroupInfoMembers(members);
}

void ChatWidget::processLVReply(LVReply reply)
{
    if (chatWindow)
        chatWindow->setLikeViews(reply);
}

void ChatWidget::processChannelMembersReply(ChannelMembersReply reply)
{
    if (chatWindow)
        chatWindow->setChannelMembersReply(reply);
}

QString ChatWidget::nameText() const
{
    return face.name();
}

QString ChatWidget::timeText() const
{
    return face.time();
}

QString ChatWidget::lastMessageText() const
{
    return face.preview();
}

bool ChatWidget::previewShown() const
{
    return face.previewShown();
}

bool ChatWidget::unreadBadgeVisible() const
{
    return face.badgeCount() > 0;
}

QString ChatWidget::unreadBadgeText() const
{
    return face.badgeCount() > 0 ? QString::number(face.badgeCount()) : QString();
}

QString ChatWidget::badgeObjectName() const
{
    return face.badgeMuted() ? QStringLiteral("ChatWidgetUnreadMessageNumberNotifoff")
                             : QStringLiteral("ChatWidgetUnreadMessageNumber");
}
