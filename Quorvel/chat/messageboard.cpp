#include "chat/messageboard.h"

#include "chat/chatmessagecontainer.h"
#include "chat/chatmessagewidget.h"

#include <QDateTime>
#include <QVBoxLayout>

namespace {
uint dayKey(const Message& msg)
{
    return QDateTime::fromMSecsSinceEpoch(msg.getSendTimeInGMT())
        .date()
        .toString(QStringLiteral("yyyyMMdd"))
        .toUInt();
}
} // namespace

MessageBoard::MessageBoard(QWidget* parent) : QWidget(parent), boardLayout(new QVBoxLayout(this))
{
    setObjectName(QStringLiteral("ChatWindowMessageBoard"));
    setContentsMargins(0, 0, 0, 0);
    boardLayout->setSpacing(0);
    boardLayout->setContentsMargins(0, 0, 0, 0);
    boardLayout->setAlignment(Qt::AlignBottom);
}

ChatMessageContainer* MessageBoard::containerFor(const Message& msg, const QString& channelName)
{
    const uint key = dayKey(msg);
    if (ChatMessageContainer* existing = dayContainers.value(key))
        return existing;
    auto* container = new ChatMessageContainer;
    if (!channelName.isEmpty())
        container->setChannelName(channelName);
    container->setDate(QDateTime::fromMSecsSinceEpoch(msg.getSendTimeInGMT()).date());
    connect(container, &ChatMessageContainer::setFilePath, this, [this](const Message& m) {
        emit command(CMD_SetFilePathForFileMessage, QVariant::fromValue(m));
    });
    connect(container, &ChatMessageContainer::likeStatusChange, this,
            &MessageBoard::likeStatusChange);
    connect(container, &ChatMessageContainer::replyMessage, this, &MessageBoard::replyMessage);
    connect(container, &ChatMessageContainer::editMessage, this, &MessageBoard::editMessage);
    connect(container, &ChatMessageContainer::replyOutLineClicked, this,
            &MessageBoard::replyOutLineClicked);
    connect(container, &ChatMessageContainer::command, this, &MessageBoard::command);
    dayContainers.insert(key, container);
    insertDayContainer(container);
    return container;
}

void MessageBoard::insertDayContainer(ChatMessageContainer* container)
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

void MessageBoard::indexMessage(const QString& msgId, ChatMessageContainer* container)
{
    messageIndex.insert(msgId, container);
}

ChatMessageContainer* MessageBoard::containerOf(const QString& msgId) const
{
    return messageIndex.value(msgId);
}

ChatMessageWidget* MessageBoard::bubble(const QString& msgId) const
{
    ChatMessageContainer* container = messageIndex.value(msgId);
    return container ? container->getMessageWidget(msgId) : nullptr;
}

QList<ChatMessageContainer*> MessageBoard::containers() const
{
    QList<ChatMessageContainer*> list;
    for (int i = 0; i < boardLayout->count(); ++i) {
        if (auto* c = qobject_cast<ChatMessageContainer*>(boardLayout->itemAt(i)->widget()))
            list << c;
    }
    return list;
}

QStringList MessageBoard::messageIds() const
{
    QStringList ids;
    for (ChatMessageContainer* container : containers())
        ids << container->messageIds();
    return ids;
}

QString MessageBoard::firstMessageId() const
{
    QLayoutItem* first = boardLayout->itemAt(0);
    auto* container = first ? qobject_cast<ChatMessageContainer*>(first->widget()) : nullptr;
    return container ? container->getFirstMessageId() : QString();
}

ChatMessageWidget* MessageBoard::newestBubble() const
{
    for (int i = boardLayout->count() - 1; i >= 0; --i) {
        auto* container = qobject_cast<ChatMessageContainer*>(boardLayout->itemAt(i)->widget());
        const QList<ChatMessageWidget*> bubbles =
            container ? container->bubbleWidgets() : QList<ChatMessageWidget*>();
        if (!bubbles.isEmpty())
            return bubbles.last();
    }
    return nullptr;
}

int MessageBoard::dayCount() const
{
    return boardLayout->count();
}

int MessageBoard::contentHeight()
{
    int total = 0;
    for (ChatMessageContainer* container : qAsConst(dayContainers)) {
        if (container->isHidden())
            container->show();
        total += container->sizeHint().height();
    }
    return total;
}

QSet<ChatMessageWidget*> MessageBoard::visibleMessageWidgets() const
{
    QSet<ChatMessageWidget*> shown;
    for (ChatMessageContainer* container : qAsConst(dayContainers))
        shown.unite(container->visibleMessageWidgets());
    return shown;
}

ChatMessageWidget* MessageBoard::bubbleAt(int top, int* offset) const
{
    for (int i = 0; i < boardLayout->count(); ++i) {
        auto* container = qobject_cast<ChatMessageContainer*>(boardLayout->itemAt(i)->widget());
        if (!container || container->geometry().bottom() < top)
            continue;
        for (ChatMessageWidget* bubble : container->bubbleWidgets()) {
            const int y = container->y() + bubble->y();
            if (y + bubble->height() > top) {
                *offset = y - top;
                return bubble;
            }
        }
    }
    return nullptr;
}

void MessageBoard::updateSenderProfile(const QString& userId, const QString& nickName,
                                       const QPixmap& avatar)
{
    for (ChatMessageContainer* container : qAsConst(dayContainers))
        container->updateSenderProfile(userId, nickName, avatar, QString(), QString());
}

void MessageBoard::startAutoDownloads()
{
    for (ChatMessageContainer* container : qAsConst(dayContainers))
        for (ChatMessageWidget* bubble : container->visibleMessageWidgets())
            bubble->startAutoDownload();
}

void MessageBoard::holdLayout()
{
    boardLayout->setEnabled(false);
}

void MessageBoard::settle(int viewportHeight)
{
    // What the scroll area does when the layout request comes round, done at
    // once: the board takes its new height and is laid out in that one pass,
    // and the scroll range, and with it the held view, follows in the same
    // pass.
    boardLayout->setEnabled(true);
    if (!isVisible())
        return;
    const int height = qMax(viewportHeight, boardLayout->totalMinimumSize().height());
    if (height != this->height())
        resize(width(), height);
    boardLayout->activate();
}
