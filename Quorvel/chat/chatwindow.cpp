#include "chat/chatwindow.h"

#include "chat/content/attachmentpicker.h"
#include "chat/content/emojiwidget.h"
#include "screens/poll/createpollwidget.h"
#include "webapi/FileApi/uploadmanager.h"

#include "chat/bubbletext.h"
#include "chat/chatinputbar.h"
#include "chat/chatmessagecontainer.h"
#include "chat/chatmessagewidget.h"
#include "chat/chatprofilepanels.h"
#include "chat/chatwindowtitle.h"
#include "chat/customtextedit.h"
#include "chat/editmessagewidget.h"
#include "chat/groupnotice.h"
#include "chat/liketracker.h"
#include "chat/messageboard.h"
#include "chat/replymessagewidget.h"
#include "chat/senderprofiles.h"
#include "foundation/linkgenerator.h"
#include "foundation/simpleqtlogger.h"
#include "model/likepair.h"
#include "model/lvrequest.h"
#include "model/messagerequest.h"
#include "widgets/addressbook.h"
#include "widgets/avatardownloader.h"
#include "widgets/currentuser.h"
#include "widgets/customscrollarea.h"
#include "widgets/dateconverter.h"
#include "widgets/flatbutton.h"
#include "widgets/fonts.h"
#include "widgets/interfacescale.h"
#include "widgets/phonetext.h"
#include "widgets/stylesheetpaint.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

namespace {
QString jsonText(const QJsonObject& object)
{
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}
} // namespace

ChatWindow::ChatWindow(QWidget* parent)
    : QWidget(parent), likeTracker(new LikeTracker(this)), windowTitle(new ChatWindowTitle(this)),
      scroll(new CustomScrollArea(this)), messageBoard(new MessageBoard),
      replyWidget(new ReplyMessageWidget(this)), editWidget(new EditMessageWidget(this)),
      editingWidget(new ChatInputBar(this)), muteButton(new FlatButton(this)),
      panels(new ChatProfilePanels(this)), senderProfiles(new SenderProfiles(this)),
      turnEnd(new QTimer(this))
{
    connect(likeTracker, &LikeTracker::lookAgain, this, &ChatWindow::startLikeViewAnalysis);
    // A contact renamed meanwhile is named anew on the open chat.
    connect(AddressBook::getInstance(), &AddressBook::changed, this, &ChatWindow::showNames);

    scroll->setObjectName(QStringLiteral("ChatWindowScroll"));
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setWidgetResizable(true);
    scroll->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Minimum);
    scroll->setContentsMargins(0, 0, 0, 0);
    scroll->setWidget(messageBoard);
    connect(messageBoard, &MessageBoard::likeStatusChange, this, &ChatWindow::likeStatusChange);
    connect(messageBoard, &MessageBoard::replyMessage, this, &ChatWindow::replyMessage);
    connect(messageBoard, &MessageBoard::editMessage, this, &ChatWindow::editMessage);
    connect(messageBoard, &MessageBoard::replyOutLineClicked, this,
            &ChatWindow::replyOutLineClicked);
    connect(messageBoard, &MessageBoard::command, this, &ChatWindow::command);
    connect(messageBoard, &MessageBoard::dropping, likeTracker, &LikeTracker::forget);

    replyWidget->setFixedHeight(scaleValue(50));
    replyWidget->hide();
    connect(replyWidget, &ReplyMessageWidget::closed, this, &ChatWindow::closeReply);
    editWidget->setFixedHeight(scaleValue(50));
    editWidget->hide();
    connect(editWidget, &EditMessageWidget::closed, this, &ChatWindow::closeEdit);

    connect(editingWidget, &ChatInputBar::attachClicked, this, &ChatWindow::attachBtnClicked);
    connect(editingWidget, &ChatInputBar::emojiClicked, this, &ChatWindow::emojiBtnClicked);
    connect(editingWidget, &ChatInputBar::pollClicked, this, &ChatWindow::pollBtnClicked);
    connect(editingWidget, &ChatInputBar::sendWanted, this, &ChatWindow::sendRecordClicked);

    muteButton->setObjectName(QStringLiteral("ChatWindowMuteButton"));
    muteButton->setTextAlignment(Qt::AlignCenter);
    muteButton->setFont(Fonts::getFont(baseFontSize));
    muteButton->hide();
    muteButton->setFixedHeight(chatWindowBarHeight);
    muteButton->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    connect(muteButton, &FlatButton::onClick, this, &ChatWindow::muteClicked);

    connect(panels, &ChatProfilePanels::command, this, &ChatWindow::command);
    connect(panels, &ChatProfilePanels::startMessaging, this, &ChatWindow::startMessaging);
    connect(senderProfiles, &SenderProfiles::command, this, &ChatWindow::command);
    connect(senderProfiles, &SenderProfiles::avatarChanged, this, &ChatWindow::avatarChanged);

    QScrollBar* bar = scroll->verticalScrollBar();
    connect(bar, &QScrollBar::rangeChanged, this, &ChatWindow::rangeChanged);
    connect(bar, &QScrollBar::valueChanged, this, &ChatWindow::vScrollChanged);
    connect(windowTitle, &ChatWindowTitle::clicked, this, &ChatWindow::showProfile);
    turnEnd->setSingleShot(true);
    turnEnd->setInterval(0);
    connect(turnEnd, &QTimer::timeout, this, &ChatWindow::endOfTurn);
    hide();
    initLayout();
}

ChatWindow::~ChatWindow()
{
    stopAskingPopup();
}

void ChatWindow::initLayout()
{
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(0);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(windowTitle);
    layout->addWidget(scroll, 1);
    layout->addWidget(replyWidget);
    layout->addWidget(editWidget);
    layout->addWidget(editingWidget);
    layout->addWidget(muteButton);
}

CustomTextEdit* ChatWindow::input() const
{
    return editingWidget->input();
}

FlatButton* ChatWindow::sendButton() const
{
    return editingWidget->sendButton();
}

FlatButton* ChatWindow::pollButton() const
{
    return editingWidget->pollButton();
}

QWidget* ChatWindow::inputBar() const
{
    return editingWidget;
}

void ChatWindow::paintEvent(QPaintEvent*)
{
    StyleSheetPaint::plain(this);
}

// ---- Kinds and set-up ----

void ChatWindow::setContactProfile(const Contact& value)
{
    contact = value;
    editingWidget->pollButton()->hide();
    // The panel is made when first opened: a window made for a new message
    // asks the core nothing about the person until the user looks.
    panels->showContact(value);
}

void ChatWindow::setContact(const Contact& value)
{
    contact = value;
    windowTitle->setContact(value);
    panels->showContact(value);
}

void ChatWindow::setContactLastSeen(const QString& number, const QDateTime& lastSeen)
{
    panels->setLastSeen(number, lastSeen);
    if (lastSeen.isValid())
        windowTitle->setLastSeen(number, DateConverter().lastSeenText(lastSeen));
}

void ChatWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // Each time the chat with a person opens, the header asks anew when he
    // was last seen.
    if (chatType == MessageBase::MsgMajorType_SimpleChat && !contact.isEmpty())
        emit command(CMD_LastSeen, QVariant(contact.getNumber()));
}

void ChatWindow::setChannelMembersReply(const ChannelMembersReply& reply)
{
    panels->setChannelMembersReply(reply);
}

void ChatWindow::hideProfilePanels()
{
    panels->hideAll();
}

void ChatWindow::showProfile()
{
    panels->toggle(chatType, contact);
}

ContactProfile* ChatWindow::contactPanel() const
{
    return panels->contactPanel();
}

GroupProfile* ChatWindow::groupPanel() const
{
    return panels->groupPanel();
}

ChannelProfileNormal* ChatWindow::followerPanel() const
{
    return panels->followerPanel();
}

ChannelProfileAdmin* ChatWindow::adminPanel() const
{
    return panels->adminPanel();
}

void ChatWindow::resizeEvent(QResizeEvent* event)
{
    panels->fitShown();
    QWidget::resizeEvent(event);
}

void ChatWindow::setGroupProfile(const GroupInfo& info)
{
    groupInfo = info;
    chatType = MessageBase::MsgMajorType_GroupChat;
    editingWidget->pollButton()->hide();
    showGroupTitle();
    updateGroupRemoved(info);
    panels->setGroupInfo(info);
}

void ChatWindow::updateGroupInfo(const GroupInfo& info)
{
    updateGroupRemoved(info);
    groupInfo = info;
    showGroupTitle();
    panels->updateGroupInfo(info);
}

void ChatWindow::updateGroupRemoved(const GroupInfo& info)
{
    if (info.getRemoved()) {
        editingWidget->hide();
        muteButton->setText(tr("_removeGroup"));
        muteButton->show();
    } else {
        muteButton->hide();
        editingWidget->show();
    }
}

void ChatWindow::setGroupInfoMembers(const GroupInfoMembers& members)
{
    groupMembers = members;
    panels->setGroupInfoMembers(members);
    showGroupTitle();
    // Notices and bubbles name people better once their nicknames are known.
    showNames();
}

void ChatWindow::showNames()
{
    for (const QString& id : messageBoard->messageIds())
        showNotice(id);
    if (chatType == MessageBase::MsgMajorType_ChannelChat)
        return;
    for (const QString& sender : senderProfiles->senders())
        messageBoard->updateSenderProfile(sender, senderName(sender, QString()), QPixmap());
    if (replyWidget->isVisibleTo(this))
        replyWidget->setSenderName(senderName(replyingTo, QString()));
}

void ChatWindow::showGroupTitle()
{
    GroupInfo shown = groupInfo;
    // The count the service's record gave stays until a members answer says
    // how many there are now.
    if (groupMembers.getInfo().getJid() == groupInfo.getJid()) {
        int count = 0;
        for (const GroupMember& member : groupMembers.getMembers()) {
            const GroupRole::Role role = member.getRole();
            if (role == GroupRole::OWNER || role == GroupRole::ADMIN || role == GroupRole::MEMBER)
                ++count;
        }
        shown.setMemberCount(count);
    }
    windowTitle->setGroupInfo(shown);
}

void ChatWindow::showNotice(const QString& msgId)
{
    ChatMessageWidget* notice = messageBoard->bubble(msgId);
    if (!notice || chatType != MessageBase::MsgMajorType_GroupChat ||
        notice->getMessage().getMajorType() != MessageBase::MsgMajorType_ControlMessage)
        return;
    notice->setNoticeText(GroupNotice::text(notice->getMessage(), groupMembers.getMembers()));
}

QString ChatWindow::senderName(const QString& userId, const QString& nickName) const
{
    if (chatType == MessageBase::MsgMajorType_ChannelChat)
        return nickName;
    // A chat names its people by their profiles' nicknames; someone without
    // one (a contact saved under his number only) by his number.
    if (chatType != MessageBase::MsgMajorType_GroupChat)
        return nickName.trimmed().isEmpty() ? PhoneText::number(userId) : nickName;
    // A group names a member on his bubbles as its notices do. An answer
    // without a nickname never takes back one that an earlier answer gave.
    QString known = senderProfiles->nickName(userId);
    if (known.isEmpty())
        known = groupMembers.getMembers().value(userId).getProfile().getNickName();
    return GroupNotice::personName(userId, known);
}

void ChatWindow::setChannelProfile(const ChannelInfo& info)
{
    channelInfo = info;
    windowTitle->setChannelInfo(info);
    chatType = MessageBase::MsgMajorType_ChannelChat;
    const ChannelRole::Role role = info.getMyRole();
    const bool admin = role == ChannelRole::OWNER || role == ChannelRole::ADMIN;
    // Only owners and admins post polls; a follower made an administrator
    // gets the input bar in place of the strip.
    if (!admin) {
        editingWidget->pollButton()->hide();
    } else if (!muteButton->isHidden() && panels->followerPanel()) {
        muteButton->hide();
        editingWidget->show();
        editingWidget->pollButton()->show();
    }
    panels->setChannelInfo(info, admin);
}

void ChatWindow::updateMuteButton(bool muted)
{
    // Followers read a channel: the strip, which mutes or unmutes it, stands
    // in place of the input bar.
    channelMuted = muted;
    editingWidget->hide();
    muteButton->setText(muted ? tr("Unmute") : tr("Mute"));
    muteButton->show();
}

void ChatWindow::muteClicked()
{
    if (chatType == MessageBase::MsgMajorType_ChannelChat) {
        // As the follower panel's switch does: the change goes to the core,
        // and the strip says what a click will do next.
        channelInfo.setMute(!channelMuted);
        updateMuteButton(channelInfo.getMute());
        emit command(CMD_ChannelUpdateMute, QVariant::fromValue(channelInfo));
        emit muteChannelClicked(channelMuted);
        return;
    }
    if (chatType != MessageBase::MsgMajorType_GroupChat || !groupInfo.getRemoved())
        return;
    // This window hears only its own question's answer, and only once.
    stopAskingPopup();
    askedApplicator = QStringLiteral("removeGroupHistory:") + chatId;
    connect(PopUpWarning::getInstance(), &PopUpWarning::popUpresponse, this,
            &ChatWindow::warningPopupResponse);
    PopUpWarning::showWarning(tr("_DeleteHistoryWarningMessage"), askedApplicator, true, 0);
}

void ChatWindow::warningPopupResponse(PopUpWarning::response response, QString applicator)
{
    if (askedApplicator.isEmpty() || applicator != askedApplicator)
        return;
    stopAskingPopup();
    if (response == PopUpWarning::yes)
        emit command(CMD_GroupRemoveHistory, QVariant(chatId));
}

void ChatWindow::stopAskingPopup()
{
    if (askedApplicator.isEmpty())
        return;
    askedApplicator.clear();
    disconnect(PopUpWarning::getInstance(), &PopUpWarning::popUpresponse, this,
               &ChatWindow::warningPopupResponse);
}

void ChatWindow::pollBtnClicked()
{
    connect(this, &ChatWindow::createPoll, CreatePollWidget::getInstance(),
            &CreatePollWidget::start, Qt::UniqueConnection);
    emit createPoll(chatId);
    connect(CreatePollWidget::getInstance(), &CreatePollWidget::postPoll, this,
            &ChatWindow::postPoll, Qt::UniqueConnection);
}

void ChatWindow::postPoll(QString channelId, PollData pollData)
{
    // The composer serves every channel window: only the poll's own channel sends it.
    if (channelId != chatId)
        return;
    emit command(CMD_SendPollToChannel, QVariant::fromValue(pollData));
}

// ---- Attachments and the emoji picker ----

UploadMode ChatWindow::uploadModeFor(MessageBase::MsgMajorType type)
{
    return type == MessageBase::MsgMajorType_SimpleChat ||
                   type == MessageBase::MsgMajorType_GroupChat ||
                   type == MessageBase::MsgMajorType_ChannelDirect
               ? UploadMode_File
               : UploadMode_Static;
}

void ChatWindow::attachBtnClicked()
{
    attachFiles(AttachmentPicker::pickFiles(this));
}

void ChatWindow::attachFiles(const QStringList& paths)
{
    if (paths.isEmpty())
        return;
    const QList<UploadRequest> requests =
        UploadManager::getInstance()->uploadFileMessages(paths, uploadModeFor(chatType));
    for (const UploadRequest& request : requests) {
        addUploadMessage(request, QStringLiteral(" "));
        L_DEBUG(QStringLiteral("ChatWindow::attachBtnClicked() | ") +
                request.getFileMessage().getFilePath());
    }
}

void ChatWindow::addUploadMessage(const UploadRequest& request, const QString& caption)
{
    const QString text = caption.trimmed().isEmpty() ? QStringLiteral(" ") : caption.trimmed();
    ChatMessageWidget* bubble = addUploadMessageWidget(request, text);
    connect(bubble, &ChatMessageWidget::sendXMPPMessage, this, &ChatWindow::sendXMPPMessage);
    connect(bubble, &ChatMessageWidget::uploadError, this, &ChatWindow::uploadError);
}

ChatMessageWidget* ChatWindow::addUploadMessageWidget(const UploadRequest& request,
                                                      const QString& caption)
{
    Message today;
    today.setSendTimeToCurrentTime();
    ChatMessageContainer* container = containerFor(today);
    Message out;
    Message replied;
    if (replyWidget->isVisibleTo(this)) {
        replied = replyWidget->getMessage();
        closeReply();
    }
    ChatMessageWidget* bubble =
        container->appendMessage(request, chatId, chatType, caption, &out, replied);
    messageBoard->indexMessage(out.getMessageId(), container);
    messageBoard->pin(out.getMessageId());
    return bubble;
}

void ChatWindow::uploadError(ChatMessageWidget* messageWidget, int errorCode)
{
    if (!messageWidget || (errorCode != 340 && errorCode != 341))
        return;
    messageWidget->blockSignals(true);
    messageWidget->hide();
}

void ChatWindow::startDownloadsIfSettingsChanged()
{
    messageBoard->startAutoDownloads();
}

void ChatWindow::emojiBtnClicked()
{
    EmojiWidget* picker = EmojiWidget::getInstance();
    L_DEBUG(QStringLiteral("ChatWindow::emojiBtnClicked() | %1 %2")
                .arg(quintptr(picker->chatWindow()))
                .arg(quintptr(this)));
    if (picker->chatWindow() != this) {
        connect(picker, &EmojiWidget::addTag, this, &ChatWindow::addTag, Qt::UniqueConnection);
        connect(picker, &EmojiWidget::keyPressed, this, &ChatWindow::keyPressed,
                Qt::UniqueConnection);
    }
    picker->open(this, editingWidget);
}

void ChatWindow::keyPressed(QKeyEvent* e)
{
    QCoreApplication::sendEvent(editingWidget->input(), e);
}

void ChatWindow::closeEmojiPicker()
{
    if (EmojiWidget::exists() && EmojiWidget::getInstance()->isVisible())
        EmojiWidget::getInstance()->close();
}

void ChatWindow::selectSidePanelWidget()
{
    emit select();
}

void ChatWindow::focusInput()
{
    editingWidget->input()->setFocus(Qt::OtherFocusReason);
}

void ChatWindow::showChatWindow()
{
    L_DEBUG(QStringLiteral("ChatWindow::showChatWindow | ") + chatId);
    show();
    if (chatType == MessageBase::MsgMajorType_GroupChat && groupInfo.getRemoved())
        updateGroupRemoved(groupInfo);
    // Followers come and go, and roles change, without this window hearing of
    // it: the channel is asked for as it now stands, for the title's count.
    if (chatType == MessageBase::MsgMajorType_ChannelChat)
        emit command(CMD_ChannelData, QVariant(chatId));
    initiateChatMessage();
    openAtFirstUnseen();
    startLikeViewAnalysis();
    sendSeenIfActive();
    // Later messages that came while it was hidden are asked for when the
    // view is near them.
    endTurnSoon();
}

void ChatWindow::hideChatWindow()
{
    if (EmojiWidget::exists()) {
        disconnect(EmojiWidget::getInstance(), &EmojiWidget::addTag, this, &ChatWindow::addTag);
        disconnect(EmojiWidget::getInstance(), &EmojiWidget::keyPressed, this,
                   &ChatWindow::keyPressed);
    }
    hide();
    likeTracker->reset();
    stopAskingPopup();
}

// ---- Input and sending ----

void ChatWindow::sendMessage()
{
    sendRecordClicked();
}

void ChatWindow::sendRecordClicked()
{
    closeEmojiPicker();
    if (!editingWidget->isEmpty())
        getMessage();
}

void ChatWindow::getMessage()
{
    const QString text = editingWidget->typedText();
    if (text.isEmpty())
        return;
    Message message(chatType, currentUserName, chatId, text);
    if (replyWidget->isVisibleTo(this)) {
        message.setReplyOnThreadId(chatId);
        message.setReplyOnMessageId(replyWidget->getMessageId());
        replyWidget->hide();
    }
    if (editWidget->isVisibleTo(this)) {
        L_DEBUG(QStringLiteral("ChatWindow::getMessage() | EDIT: ") +
                MessageBase::toString(chatType) + QStringLiteral(" group: ") +
                MessageBase::toString(chatType == MessageBase::MsgMajorType_GroupChat));
        Message edit;
        edit.setEditMessage(editWidget->getMessage(), text);
        edit.setGroupControlMessage(chatType == MessageBase::MsgMajorType_GroupChat);
        emit command(CMD_MessageEdited, QVariant::fromValue(edit));
        editingWidget->clearInput();
        editWidget->hide();
        return;
    }
    editingWidget->clearInput();
    sendXMPPMessage(message);
}

void ChatWindow::sendXMPPMessage(Message msg)
{
    L_DEBUG(QStringLiteral("ChatWindow::sendXMPPMessage | ") + jsonText(msg.toDBJson()));
    emit command(CMD_SendMessage, QVariant::fromValue(msg));
}

void ChatWindow::addTag(QString tag)
{
    editingWidget->addTag(tag);
}

void ChatWindow::replyMessage(Message mess)
{
    if (editWidget->isVisibleTo(this)) {
        editWidget->hide();
        editingWidget->clearInput();
    }
    AvatarDownloader* sender = getAvatarDownloader(mess.getUserId());
    replyWidget->show();
    replyWidget->setMessage(mess, mess.getMessageId());
    replyingTo = mess.getUserId();
    replyWidget->setSenderName(senderName(replyingTo, sender ? sender->getNickName() : QString()));
    focusInput();
}

void ChatWindow::editMessage(Message mess)
{
    if (replyWidget->isVisibleTo(this))
        replyWidget->hide();
    L_DEBUG(QStringLiteral("ChatWindow::editMessage ") + mess.getMessageId());
    editWidget->setMessage(mess);
    editWidget->show();
    L_DEBUG(QStringLiteral("ChatWindow::editMessage | ") + mess.getMessageBody());
    // The text under edit as typed, links back to plain words.
    CustomTextEdit* messageInput = editingWidget->input();
    messageInput->setHtml(BubbleText::safeHtml(LinkGenerator::replaceLinks(mess.getMessageBody())));
    messageInput->adjustHeight();
    focusInput();
}

void ChatWindow::closeReply()
{
    replyWidget->hide();
}

void ChatWindow::closeEdit()
{
    editWidget->hide();
    editingWidget->clearInput();
}

// ---- History and the board ----

void ChatWindow::requestMessage(int number, const QString& messageId)
{
    Command cmd;
    switch (chatType) {
    case MessageBase::MsgMajorType_SimpleChat:
        cmd = CMD_GetChatMessages;
        break;
    case MessageBase::MsgMajorType_GroupChat:
        cmd = CMD_GetGroupMessages;
        break;
    case MessageBase::MsgMajorType_ChannelChat:
        cmd = CMD_GetChannelMessages;
        break;
    default:
        return;
    }
    L_DEBUG(QStringLiteral("ChatWindow::requestMessage %1 %2").arg(int(chatType)).arg(chatId));
    L_DEBUG(
        QStringLiteral("ChatWindow::requestMessage | %1 %2 %3").arg(chatId, messageId).arg(number));
    MessageRequest request;
    request.setChatType(chatType);
    request.setChatId(chatId);
    request.setNumber(number);
    request.setMessageId(messageId);
    emit command(cmd, QVariant::fromValue(request));
}

void ChatWindow::initiateChatMessage()
{
    L_DEBUG(QStringLiteral("ChatWindow::initiateChatMessage ChatType: %1 ChatID: %2 items: %3")
                .arg(MessageBase::toString(chatType), chatId)
                .arg(messageBoard->dayCount()));
    // A board that does not reach the newest message asks for what follows
    // it instead, once shown.
    if (!messageBoard->hasLater() && !isScrollBarAvailable())
        requestMessage(pageSize, QString());
}

bool ChatWindow::isScrollBarAvailable()
{
    // A board laid out taller than the window needs no adding up: it is
    // laid out again whenever bubbles come or go while it is shown.
    if (messageBoard->height() > height())
        return true;
    updateGeometry();
    const int content = boardContentHeight();
    L_DEBUG(
        QStringLiteral("ChatWindow::isScrollBarAvailable() | %1 %2").arg(content).arg(height()));
    return content > height();
}

int ChatWindow::boardContentHeight()
{
    return messageBoard->contentHeight();
}

void ChatWindow::chatMessageResponse(const MessageReply& reply)
{
    const QList<Message> messages = reply.getMsgs();
    const QString before = reply.getRequest().getMessageId();
    L_DEBUG(QStringLiteral("ChatWindow::chatMessageResponse | %1").arg(messages.size()));
    if (refillPending && before == refillAsked) {
        fillLater(reply);
        return;
    }
    // A page before a bubble the board has dropped since, or a newest page
    // while the board does not reach the newest message, would leave a gap:
    // what it holds comes again when the view gets there.
    if (before.isEmpty() ? messageBoard->hasLater() : !messageBoard->holds(before)) {
        L_DEBUG(QStringLiteral("ChatWindow::chatMessageResponse | page no longer next to the "
                               "board: ") +
                before);
        return;
    }
    int added = 0;
    // The page goes in with the board's and the days' layouts held and is
    // laid out once. A bubble or day shown lays out every visible parent at
    // once: with the board's layout free, a new day would be squeezed into
    // the board at its old height, moving every bubble of every day, before
    // the board grows and moves them all back.
    messageBoard->beginBatch();
    for (const Message& message : messages) {
        if (!messageBoard->holds(message.getMessageId()))
            ++added;
        messageBoard->takeEarlier(message.getMessageId());
        addFromReply(reply, message);
    }
    trimBoard();
    settleBoard();
    historyAnswered = true;
    sendSeenIfActive();
    const int asked = reply.getRequest().getNumber();
    L_DEBUG(QStringLiteral("ChatWindow::chatMessageResponse | asked %1 got %2 new %3")
                .arg(asked)
                .arg(messages.size())
                .arg(added));
    // A full page that brought nothing new would only ask for itself again.
    if (!isScrollBarAvailable() && !messages.isEmpty() && messages.size() == asked && added > 0)
        loadOlderMessages();
}

void ChatWindow::addFromReply(const MessageReply& reply, const Message& message)
{
    Message replied;
    if (message.isReply() && reply.getReplyMessage(message.getReplyOnMessageId(), &replied))
        addMessageWidget(message, true, replied);
    else
        addMessageWidget(message, false, Message());
}

void ChatWindow::fillLater(const MessageReply& reply)
{
    refillPending = false;
    // The later messages up to the one asked about go on at the end of the
    // board in one pass, and as many leave it at the top.
    const QList<MessageBoard::Later>& later = messageBoard->laterMessages();
    auto indexOf = [&later](const QString& id) {
        for (int i = 0; i < later.size(); ++i) {
            if (later.at(i).id == id)
                return i;
        }
        return -1;
    };
    const int askedAt = refillAsked.isEmpty() ? -1 : indexOf(refillAsked);
    messageBoard->beginBatch();
    int taken = 0;
    int through = -1;
    for (const Message& message : reply.getMsgs()) {
        if (!messageBoard->isLater(message.getMessageId()))
            continue;
        const int at = indexOf(message.getMessageId());
        if (at < 0)
            continue;
        through = qMax(through, at);
        addFromReply(reply, message);
        ++taken;
    }
    // What was asked for and did not come is not asked for again: the core
    // no longer has it where it was.
    if (taken == 0)
        through = askedAt > 0 ? askedAt - 1 : later.size() - 1;
    messageBoard->forgetLater(through + 1);
    L_DEBUG(QStringLiteral("ChatWindow::fillLater | took %1, %2 later")
                .arg(taken)
                .arg(messageBoard->laterMessages().size()));
    ChatMessageWidget* target = wanted.isEmpty() ? nullptr : bubble(wanted);
    if (target && wantedView == WantNewest)
        showNewest = true;
    trimBoard();
    settleBoard();
    if (target) {
        // The message the board started anew for is on it now.
        wanted.clear();
        if (wantedView == WantUnseen)
            openAtFirstUnseen();
        else if (wantedView == WantOriginal)
            showOriginal(target);
    }
    sendSeenIfActive();
    if (!messageBoard->hasLater() && !isScrollBarAvailable())
        loadOlderMessages();
    endTurnSoon();
}

void ChatWindow::settleBoard()
{
    QScrollBar* bar = scroll->verticalScrollBar();
    const int maximum = bar->maximum();
    messageBoard->settle(scroll->viewport()->height());
    // Bubbles dropped above the view and as many added below may leave the
    // range as it was: the view is put back all the same.
    if (bar->maximum() == maximum && isVisible())
        placeView();
}

void ChatWindow::trimBoard()
{
    const ChatMessageWidget* pivot = atEnd ? nullptr : anchorBubble();
    // A hidden window keeps the first message the user has not seen, to
    // open at it.
    if (!isVisible() && !firstUnseenId.isEmpty() && bubble(firstUnseenId))
        pivot = bubble(firstUnseenId);
    // Half of them below the top of the view, at least a view of the
    // smallest bubbles.
    messageBoard->trim(qMax(boardLimit, scroll->viewport()->height() / 15), pivot);
    if (anchor && !anchorBubble())
        anchor = nullptr;
}

ChatMessageWidget* ChatWindow::anchorBubble() const
{
    return anchor && messageBoard->bubble(anchor->getMessageId()) == anchor ? anchor.data()
                                                                            : nullptr;
}

void ChatWindow::endTurnSoon()
{
    if (!turnEnd->isActive())
        turnEnd->start();
}

void ChatWindow::endOfTurn()
{
    if (messageBoard->batchOpen()) {
        trimBoard();
        settleBoard();
        sendSeenIfActive();
    }
    refillIfNear();
}

void ChatWindow::refillIfNear()
{
    if (refillPending || !messageBoard->hasLater() || !isVisible())
        return;
    QScrollBar* bar = scroll->verticalScrollBar();
    if (bar->maximum() - bar->value() > scroll->viewport()->height())
        return;
    const QList<MessageBoard::Later>& later = messageBoard->laterMessages();
    refillPending = true;
    if (later.size() > refillSize) {
        refillAsked = later.at(refillSize).id;
        requestMessage(refillSize, refillAsked);
    } else {
        // The rest is the newest of the chat; a few more are asked for in
        // case more came meanwhile.
        refillAsked.clear();
        requestMessage(later.size() + refillSize, QString());
    }
}

void ChatWindow::loadOlderMessages()
{
    const QString id = messageBoard->firstMessageId();
    if (!id.isEmpty())
        requestMessage(pageSize, id);
}

void ChatWindow::vScrollChanged(int value)
{
    if (value == 0)
        loadOlderMessages();
    rememberAnchor();
    startLikeViewAnalysis();
    sendSeenIfActive();
    // Near the board's end with later messages not on it: they are asked
    // for once the scrolling of this turn is over.
    if (messageBoard->hasLater())
        endTurnSoon();
}

void ChatWindow::rangeChanged(int, int max)
{
    lastScrollMaximum = max;
    placeView();
    sendSeenIfActive();
}

void ChatWindow::placeView()
{
    QScrollBar* bar = scroll->verticalScrollBar();
    if (atEnd || showNewest) {
        bar->setValue(bar->maximum());
    } else if (ChatMessageWidget* top = anchorBubble()) {
        // Only growth above the bubble at the top of the view moves the
        // view, and by exactly that growth.
        bar->setValue(top->mapTo(messageBoard, QPoint(0, 0)).y() - anchorOffset);
    }
    showNewest = false;
    rememberAnchor();
}

void ChatWindow::rememberAnchor()
{
    QScrollBar* bar = scroll->verticalScrollBar();
    anchor = messageBoard->bubbleAt(bar->value(), &anchorOffset);
    atEnd = !messageBoard->hasLater() && bar->value() >= bar->maximum();
}

ChatMessageContainer* ChatWindow::containerFor(const Message& msg)
{
    return messageBoard->containerFor(
        msg, chatType == MessageBase::MsgMajorType_ChannelChat ? channelInfo.getName() : QString());
}

bool ChatWindow::addMessageWidget(const Message& msg, bool hasReply, const Message& replied)
{
    ChatMessageContainer* container = containerFor(msg);
    const bool ok = container->insertMessage(msg, hasReply, replied);
    if (!ok)
        return false;
    messageBoard->indexMessage(msg.getMessageId(), container);
    if (chatType == MessageBase::MsgMajorType_ChannelChat)
        return true;
    if (msg.getMajorType() == MessageBase::MsgMajorType_ControlMessage) {
        showNotice(msg.getMessageId());
        return true;
    }
    AvatarDownloader* sender = getAvatarDownloader(msg.getUserId());
    AvatarDownloader* repliedSender = hasReply ? getAvatarDownloader(replied.getUserId()) : nullptr;
    const QString name = senderName(msg.getUserId(), sender ? sender->getNickName() : QString());
    const QPixmap avatar = sender ? sender->getAvatar() : QPixmap();
    // The day's other bubbles already show what is known of their senders;
    // a later profile reaches them all through avatarChanged.
    container->showSenderProfile(
        msg.getMessageId(), name, avatar,
        repliedSender ? senderName(replied.getUserId(), repliedSender->getNickName()) : QString());
    return true;
}

bool ChatWindow::arrive(const Message& msg, bool hasReply, const Message& replied)
{
    const QString id = msg.getMessageId();
    if (messageBoard->holds(id)) {
        // The core's word on a message sent from here: its upload is over.
        messageBoard->unpin(id);
    } else {
        // Not on the board, and not next to what it shows: the core has it,
        // and it shows when the view gets there.
        if (messageBoard->isLater(id))
            return true;
        const ChatMessageWidget* newest = messageBoard->newestBubble();
        if (messageBoard->hasLater() &&
            (!newest || msg.getSendTimeInGMT() >= newest->getSendTime())) {
            messageBoard->addLater(id, msg.getSendTimeInGMT());
            return true;
        }
        const ChatMessageWidget* oldest = messageBoard->oldestBubble();
        if (messageBoard->hasEarlier() && oldest && msg.getSendTimeInGMT() < oldest->getSendTime())
            return true;
    }
    // Whatever arrives in this turn of the event loop is laid out once at
    // its end.
    if (!messageBoard->batchOpen())
        messageBoard->beginBatch();
    endTurnSoon();
    return addMessageWidget(msg, hasReply, replied);
}

bool ChatWindow::appendMessage(const Message& msg)
{
    const bool ok = arrive(msg, false, Message());
    followOwnMessage(msg, ok);
    noteNewMessage(msg, ok);
    return ok;
}

bool ChatWindow::appendMessagePair(const MessagePair& pair)
{
    const bool ok = arrive(pair.getMessage(), pair.isReplyAvailable(), pair.getReplyMessage());
    followOwnMessage(pair.getMessage(), ok);
    noteNewMessage(pair.getMessage(), ok);
    return ok;
}

void ChatWindow::followOwnMessage(const Message& msg, bool added)
{
    // What the user sends comes into view, wherever the view was.
    if (!added || msg.getUserId().isEmpty() || msg.getUserId() != currentUserName)
        return;
    showNewest = true;
    if (!messageBoard->isLater(msg.getMessageId())) {
        endTurnSoon();
        return;
    }
    // The board does not reach it: it starts anew at it, and older pages
    // come as usual.
    restartBoardAt(msg.getMessageId(), WantNewest);
}

bool ChatWindow::restartBoardAt(const QString& msgId, WantedView view)
{
    if (!messageBoard->restartAt(msgId))
        return false;
    anchor = nullptr;
    atEnd = false;
    refillPending = false;
    wanted = msgId;
    wantedView = view;
    settleBoard();
    refillIfNear();
    return true;
}

void ChatWindow::noteNewMessage(const Message& msg, bool added)
{
    // An edit changes a message the user may have seen already.
    if (!added || msg.getEdited())
        return;
    const bool own = !msg.getUserId().isEmpty() && msg.getUserId() == currentUserName;
    if (!own && firstUnseenId.isEmpty())
        firstUnseenId = msg.getMessageId();
    seenOwed = true;
    sendSeenIfActive();
    endTurnSoon();
}

void ChatWindow::openAtFirstUnseen()
{
    if (firstUnseenId.isEmpty())
        return;
    ChatMessageWidget* first = bubble(firstUnseenId);
    if (!first) {
        // It came while the board showed other messages: the board starts
        // anew at it, and the view goes there once it is on the board.
        restartBoardAt(firstUnseenId, WantUnseen);
        return;
    }
    // Laid out first; the layout's own move to the bottom is not reading.
    placingView = true;
    settleBoard();
    placingView = false;
    // The first new message near the top of the view, the ones after it
    // below; when they all fit, the view is simply at the bottom.
    QScrollBar* bar = scroll->verticalScrollBar();
    bar->setValue(first->mapTo(messageBoard, QPoint(0, 0)).y() - scaleValue(50));
    rememberAnchor();
}

void ChatWindow::setMessageState(const MessageState& state)
{
    if (ChatMessageContainer* container = messageBoard->containerOf(state.getMessageId()))
        container->setMessageState(state);
}

void ChatWindow::replyOutLineClicked(QString msgID)
{
    L_DEBUG(QStringLiteral("ChatWindow::replyOutLineClicked ") + msgID);
    if (ChatMessageWidget* target = bubble(msgID)) {
        showOriginal(target);
        return;
    }
    // Dropped from the board: it starts anew at it.
    restartBoardAt(msgID, WantOriginal);
}

void ChatWindow::showOriginal(ChatMessageWidget* target)
{
    target->highlight();
    scroll->ensureWidgetVisible(target, 50, 50);
    rememberAnchor();
}

AvatarDownloader* ChatWindow::getAvatarDownloader(const QString& userId)
{
    senderProfiles->setChatId(chatId);
    return senderProfiles->downloader(userId);
}

void ChatWindow::setMembersProfiles(const Members& members)
{
    senderProfiles->setMembersProfiles(members);
}

void ChatWindow::avatarChanged(QString userID, QString userNickName, QPixmap avatar)
{
    L_DEBUG(QStringLiteral("ChatWindow::avatarChanged CMD_RunMembers ") + userID);
    messageBoard->updateSenderProfile(userID, senderName(userID, userNickName), avatar);
}

ChatMessageWidget* ChatWindow::bubble(const QString& msgId) const
{
    return messageBoard->bubble(msgId);
}

QStringList ChatWindow::boardMessageIds() const
{
    return messageBoard->messageIds();
}

QList<ChatMessageContainer*> ChatWindow::containers() const
{
    return messageBoard->containers();
}

// ---- Seen state, likes and views ----

void ChatWindow::sendSeen(const QString& id)
{
    emit sendSeenCount(0);
    emit command(CMD_SendSeen, QVariant(id));
}

void ChatWindow::sendSeenIfActive()
{
    if (!seenOwed || placingView || !isVisible() || !isActiveWindow() || !newestInView())
        return;
    seenOwed = false;
    firstUnseenId.clear();
    sendSeen(chatId);
}

bool ChatWindow::newestInView() const
{
    if (messageBoard->hasLater())
        return false;
    // A view at the newest message follows the arrivals of this turn once
    // they are laid out at its end.
    if (messageBoard->batchOpen() && atEnd)
        return true;
    const ChatMessageWidget* newest = messageBoard->newestBubble();
    if (!newest)
        return historyAnswered;
    return !newest->visibleRegion().isEmpty();
}

QSet<ChatMessageWidget*> ChatWindow::collectVisibleMessages() const
{
    return messageBoard->visibleMessageWidgets();
}

void ChatWindow::startLikeViewAnalysis()
{
    if (chatType != MessageBase::MsgMajorType_ChannelChat)
        return;
    requestLikeViews(likeTracker->look(collectVisibleMessages()));
}

void ChatWindow::finishLikeViewAnalysis()
{
    likeTracker->reset();
}

bool ChatWindow::likeViewTimerActive() const
{
    return likeTracker->timerActive();
}

void ChatWindow::requestLikeViews(const QStringList& ids)
{
    if (ids.isEmpty() || chatType != MessageBase::MsgMajorType_ChannelChat)
        return;
    LVRequest request;
    request.setChatId(chatId);
    request.setMessageIds(ids);
    emit command(CMD_LikeGet, QVariant::fromValue(request));
}

void ChatWindow::setLikeViews(const LVReply& reply)
{
    const QHash<QString, int> result = reply.getResult();
    for (auto it = result.constBegin(); it != result.constEnd(); ++it) {
        if (ChatMessageContainer* container = messageBoard->containerOf(it.key()))
            container->setLikes(it.key(), reply.getLikeCount(it.key()));
    }
}

void ChatWindow::likeStatusChange(QString msgId, bool liked)
{
    emit command(CMD_LikeSend, QVariant::fromValue(LikePair(chatId, msgId, liked)));
}
