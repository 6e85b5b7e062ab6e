#include "chat/chatwindow.h"

#include "chat/content/attachmentpicker.h"
#include "chat/content/emojiwidget.h"
#include "screens/poll/createpollwidget.h"
#include "webapi/FileApi/uploadmanager.h"

#include "chat/bubbletext.h"
#include "chat/chatmessagecontainer.h"
#include "chat/chatmessagewidget.h"
#include "chat/chatwindowtitle.h"
#include "chat/customtextedit.h"
#include "chat/editmessagewidget.h"
#include "chat/replymessagewidget.h"
#include "foundation/linkgenerator.h"
#include "foundation/simpleqtlogger.h"
#include "model/likepair.h"
#include "model/lvrequest.h"
#include "model/messagerequest.h"
#include "screens/channelprofileadmin.h"
#include "screens/channelprofilenormal.h"
#include "screens/contactprofile.h"
#include "screens/groupprofile.h"
#include "widgets/avatardownloader.h"
#include "widgets/currentuser.h"
#include "widgets/customscrollarea.h"
#include "widgets/flatbutton.h"
#include "widgets/fonts.h"
#include "widgets/interfacescale.h"
#include "widgets/stylesheetpaint.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QHBoxLayout>
#include <QJsonDocument>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

namespace {
QPixmap buttonImage(const QString& path)
{
    const int side = scaleValue(30);
    return QPixmap(path).scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

uint dayKey(const Message& msg)
{
    return QDateTime::fromMSecsSinceEpoch(msg.getSendTimeInGMT())
        .date()
        .toString(QStringLiteral("yyyyMMdd"))
        .toUInt();
}

QString jsonText(const QJsonObject& object)
{
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}
} // namespace

ChatWindow::ChatWindow(QWidget* parent)
    : QWidget(parent), likeViewTimer(new QTimer(this)), windowTitle(new ChatWindowTitle(this)),
      scroll(new CustomScrollArea(this)), messageBoard(new QWidget),
      replyWidget(new ReplyMessageWidget(this)), editWidget(new EditMessageWidget(this)),
      editingWidget(new QWidget(this)), messageInput(new CustomTextEdit(editingWidget)),
      attachBtn(new FlatButton(this)), pollBtn(new FlatButton(this)),
      emojiBtn(new FlatButton(this)), sendBtn(new FlatButton(this)),
      muteButton(new FlatButton(this))
{
    likeViewTimer->setSingleShot(true);
    connect(likeViewTimer, &QTimer::timeout, this, &ChatWindow::startLikeViewAnalysis);

    scroll->setObjectName(QStringLiteral("ChatWindowScroll"));
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setWidgetResizable(true);
    scroll->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Minimum);
    scroll->setContentsMargins(0, 0, 0, 0);
    messageBoard->setObjectName(QStringLiteral("ChatWindowMessageBoard"));
    messageBoard->setContentsMargins(0, 0, 0, 0);
    boardLayout = new QVBoxLayout(messageBoard);
    boardLayout->setSpacing(0);
    boardLayout->setContentsMargins(0, 0, 0, 0);
    boardLayout->setAlignment(Qt::AlignBottom);
    scroll->setWidget(messageBoard);

    replyWidget->setFixedHeight(scaleValue(50));
    replyWidget->hide();
    connect(replyWidget, &ReplyMessageWidget::closed, this, &ChatWindow::closeReply);
    editWidget->setFixedHeight(scaleValue(50));
    editWidget->hide();
    connect(editWidget, &EditMessageWidget::closed, this, &ChatWindow::closeEdit);

    editingWidget->setObjectName(QStringLiteral("ChatWindowEditingWidget"));
    editingWidget->setLayoutDirection(Qt::RightToLeft);
    messageInput->setObjectName(QStringLiteral("ChatWindowMessageInput"));
    const QFont font = Fonts::getFont(baseFontSize);
    messageInput->setFont(font);
    messageInput->setFixedHeight(QFontMetrics(font).height() + 10);
    messageInput->setPlaceholderText(tr("compose message..."));
    messageInput->setAlignment(Qt::AlignRight | Qt::AlignAbsolute);
    messageInput->adjustSize();
    messageInput->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    messageInput->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    messageInput->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);

    const QSize buttonSize = scaleSize(QSize(36, 36));
    const struct
    {
        FlatButton* button;
        const char* name;
        const char* image;
    } buttons[] = {{attachBtn, "ChatWindowAttachBtn", ":/Images/ic_attach.png"},
                   {emojiBtn, "ChatWindowEmojiBtn", ":/Images/ic_emoji.png"},
                   {sendBtn, "ChatWindowSendRecodeBtn", ":/Images/ic_send_colored.png"}};
    for (const auto& b : buttons) {
        b.button->setObjectName(QLatin1String(b.name));
        b.button->setPixmap(buttonImage(QLatin1String(b.image)));
        b.button->setFixedSize(buttonSize);
        b.button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    }
    pollBtn->setObjectName(QStringLiteral("ChatWindowPollBtn"));
    pollBtn->setPixmap(QPixmap(QStringLiteral(":/Images/poll.png")));
    connect(attachBtn, &FlatButton::onClick, this, &ChatWindow::attachBtnClicked);
    connect(emojiBtn, &FlatButton::onClick, this, &ChatWindow::emojiBtnClicked);
    connect(pollBtn, &FlatButton::onClick, this, &ChatWindow::pollBtnClicked);
    connect(sendBtn, &FlatButton::onClick, this, &ChatWindow::sendMessage);

    muteButton->setObjectName(QStringLiteral("ChatWindowMuteButton"));
    muteButton->setTextAlignment(Qt::AlignCenter);
    muteButton->setFont(font);
    muteButton->hide();
    muteButton->setFixedHeight(chatWindowBarHeight);
    muteButton->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    connect(muteButton, &FlatButton::onClick, this, &ChatWindow::muteClicked);

    QScrollBar* bar = scroll->verticalScrollBar();
    connect(bar, &QScrollBar::rangeChanged, this, &ChatWindow::rangeChanged);
    connect(bar, &QScrollBar::valueChanged, this, &ChatWindow::vScrollChanged);
    connect(messageInput, &QTextEdit::textChanged, this, &ChatWindow::textChanged);
    connect(messageInput, &CustomTextEdit::sendMessage, this, &ChatWindow::sendRecordClicked);
    connect(messageInput, &CustomTextEdit::heightChanged, this,
            &ChatWindow::messageInputHeightChanged);
    connect(windowTitle, &ChatWindowTitle::clicked, this, &ChatWindow::showProfile);
    hide();
    initLayout();
}

ChatWindow::~ChatWindow()
{
    stopAskingPopup();
    qDeleteAll(avatarDownloaders);
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

    auto* row = new QHBoxLayout(editingWidget);
    row->setContentsMargins(3, 3, 3, 3);
    row->setSpacing(0);
    row->setAlignment(Qt::AlignBottom);
    const auto column = [row](QWidget* button) {
        auto* c = new QVBoxLayout;
        c->addItem(new QSpacerItem(1, 1, QSizePolicy::Fixed, QSizePolicy::Expanding));
        c->addWidget(button);
        button->raise();
        row->addLayout(c);
    };
    column(attachBtn);
    row->addWidget(messageInput);
    column(pollBtn);
    column(emojiBtn);
    column(sendBtn);
}

void ChatWindow::paintEvent(QPaintEvent*)
{
    StyleSheetPaint::plain(this);
}

// ---- Kinds and set-up ----

void ChatWindow::setContactProfile(const Contact& value)
{
    contact = value;
    pollBtn->hide();
    // The panel is made when first opened: a window made for a new message
    // asks the core nothing about the person until the user looks.
    if (contactProfile)
        contactProfile->showContact(value);
}

void ChatWindow::setContact(const Contact& value)
{
    contact = value;
    windowTitle->setContact(value);
    if (contactProfile)
        contactProfile->showContact(value);
}

void ChatWindow::setContactLastSeen(const QString& number, const QDateTime& lastSeen)
{
    if (contactProfile)
        contactProfile->setLastSeen(number, lastSeen);
}

void ChatWindow::setChannelMembersReply(const ChannelMembersReply& reply)
{
    if (adminProfile)
        adminProfile->setMembersProfile(reply);
}

void ChatWindow::hideProfilePanels()
{
    if (contactProfile && !contactProfile->isHidden())
        contactProfile->hideWidget();
    if (followerProfile && !followerProfile->isHidden())
        followerProfile->hideWidget();
    if (adminProfile && !adminProfile->isHidden())
        adminProfile->hideWidget();
}

void ChatWindow::showProfile()
{
    if (chatType == MessageBase::MsgMajorType_ChannelChat) {
        if (followerProfile) {
            if (followerProfile->isHidden()) {
                followerProfile->raise();
                followerProfile->showProfile();
            } else {
                followerProfile->slideOut();
            }
        }
        if (adminProfile) {
            if (adminProfile->isHidden()) {
                adminProfile->raise();
                adminProfile->showProfile();
            } else {
                adminProfile->slideOut();
            }
        }
    } else if (chatType == MessageBase::MsgMajorType_SimpleChat) {
        if (!contactProfile) {
            contactProfile = new ContactProfile(this);
            connect(contactProfile, &ContactProfile::command, this, &ChatWindow::command);
            contactProfile->hide();
            contactProfile->setContact(contact);
        }
        if (contactProfile->isHidden()) {
            contactProfile->raise();
            contactProfile->slideIn();
        } else {
            contactProfile->slideOut();
        }
    } else if (chatType == MessageBase::MsgMajorType_GroupChat) {
        // A shown group panel closes itself.
        if (groupProfile && groupProfile->isHidden()) {
            groupProfile->raise();
            groupProfile->showProfile();
        }
    }
}

void ChatWindow::resizeEvent(QResizeEvent* event)
{
    for (QWidget* panel :
         {static_cast<QWidget*>(contactProfile), static_cast<QWidget*>(groupProfile),
          static_cast<QWidget*>(followerProfile), static_cast<QWidget*>(adminProfile)}) {
        if (panel && !panel->isHidden())
            panel->resize(width(), height());
    }
    QWidget::resizeEvent(event);
}

void ChatWindow::setGroupProfile(const GroupInfo& info)
{
    groupInfo = info;
    chatType = MessageBase::MsgMajorType_GroupChat;
    pollBtn->hide();
    windowTitle->setGroupInfo(info);
    updateGroupRemoved(info);
    if (!groupProfile) {
        groupProfile = new GroupProfile(this);
        groupProfile->hide();
        connect(groupProfile, &GroupProfile::command, this, &ChatWindow::command);
    }
    groupProfile->setGroupInfo(info);
}

void ChatWindow::updateGroupInfo(const GroupInfo& info)
{
    updateGroupRemoved(info);
    groupInfo = info;
    windowTitle->setGroupInfo(info);
    if (groupProfile)
        groupProfile->updateGroupInfo(info);
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
    if (groupProfile)
        groupProfile->setGroupInfoMembers(members);
}

void ChatWindow::setChannelProfile(const ChannelInfo& info)
{
    channelInfo = info;
    windowTitle->setChannelInfo(info);
    chatType = MessageBase::MsgMajorType_ChannelChat;
    const ChannelRole::Role role = info.getMyRole();
    if (role == ChannelRole::OWNER || role == ChannelRole::ADMIN) {
        // A follower made an administrator: the follower's panel and strip
        // give way to the administrator's panel and the input bar.
        if (followerProfile) {
            followerProfile->hide();
            followerProfile->deleteLater();
            followerProfile = nullptr;
            muteButton->hide();
            editingWidget->show();
            pollBtn->show();
        }
        if (!adminProfile) {
            adminProfile = new ChannelProfileAdmin(this);
            adminProfile->hide();
            connect(adminProfile, &ChannelProfileAdmin::command, this, &ChatWindow::command);
        }
        adminProfile->setChannelInfo(info);
        // Connected once: later updates of the channel must not open the
        // poll composer once more per click.
        if (!pollConnected) {
            pollConnected = true;
            connect(pollBtn, &FlatButton::onClick, this, &ChatWindow::pollBtnClicked,
                    Qt::UniqueConnection);
        }
        return;
    }
    pollBtn->hide();
    if (adminProfile) {
        adminProfile->hide();
        adminProfile->deleteLater();
        adminProfile = nullptr;
    }
    if (!followerProfile) {
        followerProfile = new ChannelProfileNormal(this);
        followerProfile->hide();
        connect(followerProfile, &ChannelProfileNormal::command, this, &ChatWindow::command);
    }
    followerProfile->setChannelInfo(info);
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
    messageIndex.insert(out.getMessageId(), container);
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
    for (ChatMessageContainer* container : qAsConst(dayContainers))
        for (ChatMessageWidget* bubble : container->visibleMessageWidgets())
            bubble->startAutoDownload();
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
    QCoreApplication::sendEvent(messageInput, e);
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
    messageInput->setFocus(Qt::OtherFocusReason);
}

void ChatWindow::showChatWindow()
{
    L_DEBUG(QStringLiteral("ChatWindow::showChatWindow | ") + chatId);
    show();
    if (chatType == MessageBase::MsgMajorType_GroupChat && groupInfo.getRemoved())
        updateGroupRemoved(groupInfo);
    initiateChatMessage();
    startLikeViewAnalysis();
    sendSeen(chatId);
}

void ChatWindow::hideChatWindow()
{
    if (EmojiWidget::exists()) {
        disconnect(EmojiWidget::getInstance(), &EmojiWidget::addTag, this, &ChatWindow::addTag);
        disconnect(EmojiWidget::getInstance(), &EmojiWidget::keyPressed, this,
                   &ChatWindow::keyPressed);
    }
    hide();
    previousVisible.clear();
    currentVisible.clear();
    likeViewTimer->stop();
    stopAskingPopup();
}

// ---- Input and sending ----

void ChatWindow::textChanged()
{
    if (messageInput->toPlainText().isEmpty()) {
        inputEmpty = 1;
        return;
    }
    sendBtn->setPixmap(buttonImage(QStringLiteral(":/Images/ic_send_colored.png")));
    inputEmpty = 0;
}

void ChatWindow::sendMessage()
{
    sendRecordClicked();
}

void ChatWindow::sendRecordClicked()
{
    closeEmojiPicker();
    if (!inputEmpty)
        getMessage();
}

void ChatWindow::getMessage()
{
    const QString text = messageInput->getMessageText().trimmed();
    if (text.isEmpty() || text == tr("compose message..."))
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
        messageInput->clear();
        messageInput->adjustHeight();
        editWidget->hide();
        return;
    }
    messageInput->clear();
    messageInput->adjustHeight();
    sendXMPPMessage(message);
}

void ChatWindow::sendXMPPMessage(Message msg)
{
    L_DEBUG(QStringLiteral("ChatWindow::sendXMPPMessage | ") + jsonText(msg.toDBJson()));
    emit command(CMD_SendMessage, QVariant::fromValue(msg));
}

void ChatWindow::addTag(QString tag)
{
    messageInput->insertHtml(tag);
    messageInput->adjustHeight();
    messageInput->setFocus(Qt::OtherFocusReason);
}

void ChatWindow::replyMessage(Message mess)
{
    if (editWidget->isVisibleTo(this)) {
        editWidget->hide();
        messageInput->clear();
        messageInput->adjustHeight();
    }
    AvatarDownloader* sender = getAvatarDownloader(mess.getUserId());
    replyWidget->show();
    replyWidget->setMessage(mess, mess.getMessageId());
    replyWidget->setSenderName(sender ? sender->getNickName() : QString());
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
    messageInput->clear();
    messageInput->adjustHeight();
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
                .arg(boardLayout->count()));
    if (!isScrollBarAvailable())
        requestMessage(pageSize, QString());
}

bool ChatWindow::isScrollBarAvailable()
{
    // A board already laid out taller than the window needs no adding up:
    // the board only grows.
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
    int total = 0;
    for (ChatMessageContainer* container : qAsConst(dayContainers)) {
        if (container->isHidden())
            container->show();
        total += container->sizeHint().height();
    }
    return total;
}

void ChatWindow::chatMessageResponse(const MessageReply& reply)
{
    const QList<Message> messages = reply.getMsgs();
    L_DEBUG(QStringLiteral("ChatWindow::chatMessageResponse | %1").arg(messages.size()));
    int added = 0;
    // The page goes in with the board's and the days' layouts held and is
    // laid out once. A bubble or day shown lays out every visible parent at
    // once: with the board's layout free, a new day would be squeezed into
    // the board at its old height, moving every bubble of every day, before
    // the board grows and moves them all back.
    boardLayout->setEnabled(false);
    QSet<ChatMessageContainer*> held;
    for (const Message& message : messages) {
        if (!messageIndex.contains(message.getMessageId()))
            ++added;
        ChatMessageContainer* container = containerFor(message);
        if (!held.contains(container)) {
            container->holdLayout();
            held.insert(container);
        }
        Message replied;
        if (message.isReply() && reply.getReplyMessage(message.getReplyOnMessageId(), &replied))
            addMessageWidget(message, true, replied);
        else
            addMessageWidget(message, false, Message());
    }
    for (ChatMessageContainer* container : qAsConst(held))
        container->releaseLayout();
    settleBoard();
    const int asked = reply.getRequest().getNumber();
    L_DEBUG(QStringLiteral("ChatWindow::chatMessageResponse | asked %1 got %2 new %3")
                .arg(asked)
                .arg(messages.size())
                .arg(added));
    // A full page that brought nothing new would only ask for itself again.
    if (!isScrollBarAvailable() && !messages.isEmpty() && messages.size() == asked && added > 0)
        loadOlderMessages();
}

void ChatWindow::settleBoard()
{
    // What the scroll area does when the layout request comes round, done at
    // once: the board takes its new height and is laid out in that one pass,
    // and the scroll range, and with it the held view, follows in the same
    // pass.
    boardLayout->setEnabled(true);
    if (!messageBoard->isVisible())
        return;
    const int height = qMax(scroll->viewport()->height(), boardLayout->totalMinimumSize().height());
    if (height != messageBoard->height())
        messageBoard->resize(messageBoard->width(), height);
    boardLayout->activate();
}

void ChatWindow::loadOlderMessages()
{
    QLayoutItem* first = boardLayout->itemAt(0);
    auto* container = first ? qobject_cast<ChatMessageContainer*>(first->widget()) : nullptr;
    if (!container)
        return;
    const QString id = container->getFirstMessageId();
    if (!id.isEmpty())
        requestMessage(pageSize, id);
}

void ChatWindow::vScrollChanged(int value)
{
    if (value == 0)
        loadOlderMessages();
    rememberAnchor();
    startLikeViewAnalysis();
}

void ChatWindow::rangeChanged(int, int max)
{
    QScrollBar* bar = scroll->verticalScrollBar();
    const bool atBottom = bar->value() >= lastScrollMaximum;
    lastScrollMaximum = max;
    if (atBottom) {
        bar->setValue(max);
    } else if (anchor) {
        // Only growth above the bubble at the top of the view moves the
        // view, and by exactly that growth.
        bar->setValue(anchor->mapTo(messageBoard, QPoint(0, 0)).y() - anchorOffset);
    }
    rememberAnchor();
}

void ChatWindow::rememberAnchor()
{
    const int top = scroll->verticalScrollBar()->value();
    anchor = nullptr;
    for (int i = 0; i < boardLayout->count(); ++i) {
        auto* container = qobject_cast<ChatMessageContainer*>(boardLayout->itemAt(i)->widget());
        if (!container || container->geometry().bottom() < top)
            continue;
        for (ChatMessageWidget* bubble : container->bubbleWidgets()) {
            const int y = container->y() + bubble->y();
            if (y + bubble->height() > top) {
                anchor = bubble;
                anchorOffset = y - top;
                return;
            }
        }
    }
}

ChatMessageContainer* ChatWindow::containerFor(const Message& msg)
{
    const uint key = dayKey(msg);
    if (ChatMessageContainer* existing = dayContainers.value(key))
        return existing;
    auto* container = new ChatMessageContainer;
    if (chatType == MessageBase::MsgMajorType_ChannelChat && !channelInfo.getName().isEmpty())
        container->setChannelName(channelInfo.getName());
    container->setDate(QDateTime::fromMSecsSinceEpoch(msg.getSendTimeInGMT()).date());
    connect(container, &ChatMessageContainer::setFilePath, this, [this](const Message& m) {
        emit command(CMD_SetFilePathForFileMessage, QVariant::fromValue(m));
    });
    connect(container, &ChatMessageContainer::likeStatusChange, this,
            &ChatWindow::likeStatusChange);
    connect(container, &ChatMessageContainer::replyMessage, this, &ChatWindow::replyMessage);
    connect(container, &ChatMessageContainer::editMessage, this, &ChatWindow::editMessage);
    connect(container, &ChatMessageContainer::replyOutLineClicked, this,
            &ChatWindow::replyOutLineClicked);
    connect(container, &ChatMessageContainer::command, this, &ChatWindow::command);
    dayContainers.insert(key, container);
    insertDayContainer(container);
    return container;
}

void ChatWindow::insertDayContainer(ChatMessageContainer* container)
{
    int index = boardLayout->count();
    for (int i = 0; i < boardLayout->count(); ++i) {
        auto* other = qobject_cast<ChatMessageContainer*>(boardLayout->itemAt(i)->widget());
        if (other && other->getDate() > container->getDate()) {
            index = i;
            break;
        }
    }
    boardLayout->insertWidget(index, container);
    // Shown now rather than by the layout's queued show, so that a page's one
    // layout pass places the new day with the others instead of a second
    // pass after it.
    container->show();
}

bool ChatWindow::addMessageWidget(const Message& msg, bool hasReply, const Message& replied)
{
    ChatMessageContainer* container = containerFor(msg);
    const bool ok = container->insertMessage(msg, hasReply, replied);
    if (!ok)
        return false;
    messageIndex.insert(msg.getMessageId(), container);
    if (chatType == MessageBase::MsgMajorType_ChannelChat)
        return true;
    AvatarDownloader* sender = getAvatarDownloader(msg.getUserId());
    AvatarDownloader* repliedSender = hasReply ? getAvatarDownloader(replied.getUserId()) : nullptr;
    const QString nick = sender ? sender->getNickName() : QString();
    const QPixmap avatar = sender ? sender->getAvatar() : QPixmap();
    // The day's other bubbles already show what is known of their senders;
    // a later profile reaches them all through avatarChanged.
    container->showSenderProfile(msg.getMessageId(), nick, avatar,
                                 repliedSender ? repliedSender->getNickName() : QString());
    return true;
}

bool ChatWindow::appendMessage(const Message& msg)
{
    const bool ok = addMessageWidget(msg, false, Message());
    sendSeenIfActive();
    return ok;
}

bool ChatWindow::appendMessagePair(const MessagePair& pair)
{
    const bool ok =
        addMessageWidget(pair.getMessage(), pair.isReplyAvailable(), pair.getReplyMessage());
    sendSeenIfActive();
    return ok;
}

void ChatWindow::setMessageState(const QString& msgId, MessageBase::MsgState state)
{
    if (ChatMessageContainer* container = messageIndex.value(msgId))
        container->setMessageState(msgId, state);
}

void ChatWindow::replyOutLineClicked(QString msgID)
{
    L_DEBUG(QStringLiteral("ChatWindow::replyOutLineClicked ") + msgID);
    ChatMessageContainer* container = messageIndex.value(msgID);
    ChatMessageWidget* target = container ? container->getMessageWidget(msgID) : nullptr;
    if (!target)
        return;
    target->highlight();
    scroll->ensureWidgetVisible(target, 50, 50);
}

AvatarDownloader* ChatWindow::getAvatarDownloader(const QString& userId)
{
    // No look-up for a message without a sender.
    if (userId.isEmpty())
        return nullptr;
    if (AvatarDownloader* existing = avatarDownloaders.value(userId))
        return existing;
    auto* downloader = new AvatarDownloader;
    downloader->setAvatarSize(scaleSize(QSize(30, 30)));
    downloader->setUserId(userId);
    avatarDownloaders.insert(userId, downloader);
    connect(downloader, &AvatarDownloader::avatarChanged, this, &ChatWindow::avatarChanged);
    Members members;
    members.setRequestId(chatId);
    members.addNumber(userId);
    emit command(CMD_RunMembers, QVariant::fromValue(members));
    return downloader;
}

void ChatWindow::setMembersProfiles(const Members& members)
{
    const QMap<QString, Profile> profiles = members.getProfiles();
    for (const Profile& profile : profiles) {
        if (AvatarDownloader* downloader = avatarDownloaders.value(profile.getMemberID()))
            downloader->downloadAvatar(profile);
    }
}

void ChatWindow::avatarChanged(QString userID, QString userNickName, QPixmap avatar)
{
    L_DEBUG(QStringLiteral("ChatWindow::avatarChanged CMD_RunMembers ") + userID);
    for (ChatMessageContainer* container : qAsConst(dayContainers))
        container->updateSenderProfile(userID, userNickName, avatar, QString(), QString());
}

ChatMessageWidget* ChatWindow::bubble(const QString& msgId) const
{
    ChatMessageContainer* container = messageIndex.value(msgId);
    return container ? container->getMessageWidget(msgId) : nullptr;
}

QStringList ChatWindow::boardMessageIds() const
{
    QStringList ids;
    for (ChatMessageContainer* container : containers())
        ids << container->messageIds();
    return ids;
}

QList<ChatMessageContainer*> ChatWindow::containers() const
{
    QList<ChatMessageContainer*> list;
    for (int i = 0; i < boardLayout->count(); ++i) {
        if (auto* c = qobject_cast<ChatMessageContainer*>(boardLayout->itemAt(i)->widget()))
            list << c;
    }
    return list;
}

// ---- Seen state, likes and views ----

void ChatWindow::sendSeen(const QString& id)
{
    emit sendSeenCount(0);
    emit command(CMD_SendSeen, QVariant(id));
}

void ChatWindow::sendSeenIfActive()
{
    if (isVisible() && isActiveWindow())
        sendSeen(chatId);
}

QSet<ChatMessageWidget*> ChatWindow::collectVisibleMessages() const
{
    QSet<ChatMessageWidget*> shown;
    for (ChatMessageContainer* container : qAsConst(dayContainers))
        shown.unite(container->visibleMessageWidgets());
    return shown;
}

void ChatWindow::startLikeViewAnalysis()
{
    if (chatType != MessageBase::MsgMajorType_ChannelChat)
        return;
    previousVisible = currentVisible;
    currentVisible = collectVisibleMessages();
    const QSet<ChatMessageWidget*> stayed = previousVisible & currentVisible;
    const QSet<ChatMessageWidget*> left = previousVisible - currentVisible;
    const QSet<ChatMessageWidget*> arrived = currentVisible - previousVisible;
    const uint now = QDateTime::currentDateTime().toTime_t();
    QStringList ids;
    const auto ask = [&ids, now](ChatMessageWidget* b) {
        if (qint32(now - b->getVisibleSince()) >= 3 &&
            qint32(now - b->getLastLikeViewRequest()) >= 75) {
            ids << b->getMessage().getMessageId();
            b->setLastLikeViewRequest(now);
        }
    };
    for (ChatMessageWidget* b : stayed)
        ask(b);
    for (ChatMessageWidget* b : left)
        ask(b);
    for (ChatMessageWidget* b : left)
        b->setVisibleSince(2147483647u);
    for (ChatMessageWidget* b : arrived)
        b->setVisibleSince(now);
    requestLikeViews(ids);
    likeViewTimer->stop();
    likeViewTimer->start(3000);
}

void ChatWindow::finishLikeViewAnalysis()
{
    previousVisible.clear();
    currentVisible.clear();
    likeViewTimer->stop();
}

bool ChatWindow::likeViewTimerActive() const
{
    return likeViewTimer->isActive();
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
        if (ChatMessageContainer* container = messageIndex.value(it.key()))
            container->setLikes(it.key(), reply.getLikeCount(it.key()));
    }
}

void ChatWindow::likeStatusChange(QString msgId, bool liked)
{
    emit command(CMD_LikeSend, QVariant::fromValue(LikePair(chatId, msgId, liked)));
}
