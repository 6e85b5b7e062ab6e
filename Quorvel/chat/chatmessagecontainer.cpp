#include "chat/chatmessagecontainer.h"

#include "chat/chatmessagewidget.h"
#include "widgets/currentuser.h"
#include "widgets/dateconverter.h"
#include "widgets/fonts.h"
#include "widgets/interfacescale.h"
#include "widgets/stylesheetpaint.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>

ChatMessageContainer::ChatMessageContainer(QWidget* parent)
    : QWidget(parent), column(new QVBoxLayout(this)), dateLabel(new QLabel(this))
{
    column->setSpacing(5);
    column->setContentsMargins(0, 0, 0, 0);
    dateLabel->setObjectName(QStringLiteral("ChatMessageContainerDateLabel"));
    dateLabel->setContentsMargins(10, 0, 10, 0);
    dateLabel->setFont(Fonts::getFont(baseFontSize));
    dateLabel->setTextFormat(Qt::PlainText);
    auto* dateRow = new QHBoxLayout;
    dateRow->setAlignment(Qt::AlignCenter);
    dateRow->addWidget(dateLabel);
    column->addLayout(dateRow);
}

void ChatMessageContainer::setDate(const QDate& value)
{
    date = value;
    dateLabel->setText(DateConverter().jalaliDateText(value));
}

QString ChatMessageContainer::dateText() const
{
    return dateLabel->text();
}

bool ChatMessageContainer::insertMessage(const Message& msg, bool hasReply, const Message& replied)
{
    if (ChatMessageWidget* existing = bubbles.value(msg.getMessageId())) {
        // The same id again is an edit: the text and its mark are refreshed.
        existing->setMessage(msg);
        existing->showEditedIcon(msg.getUserId(), msg.getEdited());
        return true;
    }
    const int side = msg.getUserId() == currentUserName ? 0 : 1;
    auto* bubble = new ChatMessageWidget(msg, side, hasReply, replied, this);
    connectBubble(bubble);
    bubble->setObjectName(QStringLiteral("ChatMessage"));
    bubble->setSenderLabel(channelName);
    placeMessageWidget(bubble);
    bubbles.insert(msg.getMessageId(), bubble);
    return true;
}

ChatMessageWidget* ChatMessageContainer::appendMessage(const UploadRequest& request,
                                                       const QString& chatId,
                                                       MessageBase::MsgMajorType majorType,
                                                       const QString& body, Message* out,
                                                       const Message& replied)
{
    auto* bubble = new ChatMessageWidget(nullptr);
    connectBubble(bubble);
    const Message sent = bubble->buildUploadMessage(request, chatId, majorType, body, replied);
    if (out)
        *out = sent;
    bubble->setObjectName(QStringLiteral("ChatMessage"));
    placeMessageWidget(bubble);
    bubbles.insert(sent.getMessageId(), bubble);
    return bubble;
}

void ChatMessageContainer::connectBubble(ChatMessageWidget* bubble)
{
    connect(bubble, &ChatMessageWidget::setFilePath, this, &ChatMessageContainer::setFilePath);
    connect(bubble, &ChatMessageWidget::likeStatusChange, this,
            &ChatMessageContainer::likeStatusChange);
    connect(bubble, qOverload<Message>(&ChatMessageWidget::replyMessage), this,
            &ChatMessageContainer::replyMessage);
    connect(bubble, &ChatMessageWidget::replyOutLineClicked, this,
            &ChatMessageContainer::replyOutLineClicked);
    connect(bubble, qOverload<Message>(&ChatMessageWidget::editMessage), this,
            &ChatMessageContainer::editMessage);
    connect(bubble, &ChatMessageWidget::command, this, &ChatMessageContainer::command);
}

void ChatMessageContainer::placeMessageWidget(ChatMessageWidget* bubble)
{
    // Before the first bubble not earlier than this one; a new message at
    // the end of the day, the common case, costs no walk over the day.
    const qint64 time = bubble->getSendTime();
    const auto at = std::lower_bound(
        ordered.begin(), ordered.end(), time,
        [](const ChatMessageWidget* other, qint64 t) { return other->getSendTime() < t; });
    const int index = int(at - ordered.begin());
    ordered.insert(index, bubble);
    column->insertWidget(index + 1, bubble);
    bubble->show();
}

void ChatMessageContainer::dropMessageWidget(const QString& msgId, bool now)
{
    ChatMessageWidget* bubble = bubbles.take(msgId);
    if (!bubble)
        return;
    ordered.removeOne(bubble);
    column->removeWidget(bubble);
    if (now) {
        delete bubble;
        return;
    }
    // Signals may still be on their way out of it: deleted later, silent
    // and out of sight meanwhile.
    bubble->blockSignals(true);
    bubble->hide();
    bubble->deleteLater();
}

void ChatMessageContainer::holdLayout()
{
    // Showing a child lays out every visible parent at once; a held layout
    // ignores that until it is released.
    column->setEnabled(false);
}

void ChatMessageContainer::releaseLayout()
{
    if (column->isEnabled())
        return;
    column->setEnabled(true);
    column->invalidate();
    updateGeometry();
}

void ChatMessageContainer::layOut()
{
    column->activate();
}

void ChatMessageContainer::setMessageState(const MessageState& state)
{
    if (ChatMessageWidget* bubble = bubbles.value(state.getMessageId()))
        bubble->setState(state.getState(), state.getFailure());
}

void ChatMessageContainer::setLikes(const QString& msgId, int count)
{
    if (ChatMessageWidget* bubble = bubbles.value(msgId))
        bubble->setLikes(count);
}

ChatMessageWidget* ChatMessageContainer::getMessageWidget(const QString& msgId) const
{
    return bubbles.value(msgId);
}

QString ChatMessageContainer::getFirstMessageId() const
{
    return ordered.isEmpty() ? QString() : ordered.first()->getMessageId();
}

QStringList ChatMessageContainer::messageIds() const
{
    QStringList ids;
    for (ChatMessageWidget* bubble : ordered)
        ids << bubble->getMessageId();
    return ids;
}

QSet<ChatMessageWidget*> ChatMessageContainer::visibleMessageWidgets() const
{
    QSet<ChatMessageWidget*> shown;
    if (!isActiveWindow())
        return shown;
    for (ChatMessageWidget* bubble : bubbles) {
        if (!bubble->visibleRegion().isEmpty())
            shown.insert(bubble);
    }
    return shown;
}

void ChatMessageContainer::updateSenderProfile(const QString& userId, const QString& nickName,
                                               const QPixmap& avatar, const QString& repliedUserId,
                                               const QString& repliedNickName)
{
    for (ChatMessageWidget* bubble : qAsConst(bubbles))
        applyProfile(bubble, userId, nickName, avatar, repliedUserId, repliedNickName);
}

void ChatMessageContainer::showSenderProfile(const QString& msgId, const QString& nickName,
                                             const QPixmap& avatar, const QString& repliedNickName)
{
    ChatMessageWidget* bubble = bubbles.value(msgId);
    if (!bubble)
        return;
    const QString replied = bubble->getRepliedUserId();
    applyProfile(bubble, bubble->getUserId(), nickName, avatar,
                 repliedNickName.isEmpty() ? QString() : replied, repliedNickName);
}

void ChatMessageContainer::applyProfile(ChatMessageWidget* bubble, const QString& userId,
                                        const QString& nickName, const QPixmap& avatar,
                                        const QString& repliedUserId,
                                        const QString& repliedNickName)
{
    if (bubble->getUserId() == userId) {
        if (!avatar.isNull())
            bubble->setAvatar(avatar);
        bubble->setSenderLabel(nickName);
    }
    const QString replied = bubble->getRepliedUserId();
    if (replied == repliedUserId)
        bubble->setReplySenderName(repliedNickName);
    if (replied == userId)
        bubble->setReplySenderName(nickName);
}

void ChatMessageContainer::paintEvent(QPaintEvent*)
{
    StyleSheetPaint::plain(this);
}
