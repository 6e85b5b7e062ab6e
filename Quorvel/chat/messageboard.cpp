#include "chat/messageboard.h"

#include "chat/chatmessagecontainer.h"
#include "chat/chatmessagewidget.h"

#include <QDateTime>
#include <QVBoxLayout>

#include <iterator>

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
    if (ChatMessageContainer* existing = dayContainers.value(key)) {
        hold(existing);
        return existing;
    }
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
    hold(container);
    return container;
}

void MessageBoard::insertDayContainer(ChatMessageContainer* container)
{
    // The days' map is in date order, as the board shows them.
    const uint key = dayContainers.key(container);
    const int index = int(std::distance(dayContainers.begin(), dayContainers.find(key)));
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

QStringList MessageBoard::messageIds() const
{
    QStringList ids;
    for (ChatMessageContainer* container : dayContainers)
        ids << container->messageIds();
    return ids;
}

QString MessageBoard::firstMessageId() const
{
    const ChatMessageWidget* first = oldestBubble();
    return first ? first->getMessageId() : QString();
}

ChatMessageWidget* MessageBoard::oldestBubble() const
{
    for (ChatMessageContainer* container : dayContainers) {
        if (container->bubbleCount() > 0)
            return container->bubbleWidgets().first();
    }
    return nullptr;
}

ChatMessageWidget* MessageBoard::newestBubble() const
{
    for (auto it = dayContainers.end(); it != dayContainers.begin();) {
        --it;
        if (it.value()->bubbleCount() > 0)
            return it.value()->bubbleWidgets().last();
    }
    return nullptr;
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
    for (ChatMessageContainer* container : dayContainers) {
        if (container->geometry().bottom() < top)
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

void MessageBoard::beginBatch()
{
    batching = true;
    // Showing a child lays out every visible parent at once; a held layout
    // ignores that until it is released.
    boardLayout->setEnabled(false);
}

void MessageBoard::settle(int viewportHeight)
{
    // What the scroll area does when the layout request comes round, done at
    // once: the board takes its new height and is laid out in that one pass,
    // and the scroll range, and with it the held view, follows in the same
    // pass.
    batching = false;
    const QSet<ChatMessageContainer*> days = heldDays;
    heldDays.clear();
    for (ChatMessageContainer* day : days)
        day->releaseLayout();
    boardLayout->setEnabled(true);
    if (isVisible()) {
        const int height = qMax(viewportHeight, boardLayout->totalMinimumSize().height());
        if (height != this->height())
            resize(width(), height);
        boardLayout->activate();
    }
    // A day that kept its size (a bubble dropped at its top, one added at
    // its end) gets no resize to lay it out: it is laid out here, once.
    for (ChatMessageContainer* day : days)
        day->layOut();
}

void MessageBoard::trim(int limit, const ChatMessageWidget* pivot)
{
    if (messageIndex.size() <= limit)
        return;
    QList<ChatMessageWidget*> shown;
    for (ChatMessageContainer* container : qAsConst(dayContainers))
        shown << container->bubbleWidgets();
    int at = pivot ? shown.indexOf(const_cast<ChatMessageWidget*>(pivot)) : -1;
    if (at < 0)
        at = shown.size() - 1;
    int first = 0;
    int last = shown.size() - 1;
    bool bottomHeld = false;
    while (last - first + 1 > limit) {
        const bool fromTop = bottomHeld || at - first > last - at;
        if (fromTop && first == at)
            break;
        ChatMessageWidget* bubble = shown.at(fromTop ? first : last);
        const QString id = bubble->getMessageId();
        if (pinned.contains(id) || bubble->transferRunning()) {
            // An upload in flight, or a transfer under way, stays with
            // everything between it and the view.
            if (fromTop)
                break;
            bottomHeld = true;
            continue;
        }
        if (fromTop) {
            ++first;
            earlier.append({id, bubble->getSendTime()});
            earlierIds.insert(id);
        } else {
            --last;
            later.prepend({id, bubble->getSendTime()});
            laterIds.insert(id);
        }
        dropBubble(bubble, true);
    }
}

void MessageBoard::dropBubble(ChatMessageWidget* bubble, bool now)
{
    const QString id = bubble->getMessageId();
    ChatMessageContainer* day = messageIndex.take(id);
    if (!day)
        return;
    emit dropping(bubble);
    day->dropMessageWidget(id, now);
    if (day->bubbleCount() > 0)
        return;
    dayContainers.remove(dayContainers.key(day));
    heldDays.remove(day);
    boardLayout->removeWidget(day);
    if (now) {
        delete day;
        return;
    }
    day->hide();
    day->deleteLater();
}

bool MessageBoard::restartAt(const QString& msgId)
{
    // Everything the board knows of, in order: earlier, the bubbles, later.
    QList<Later> known = earlier;
    QList<ChatMessageWidget*> shown;
    for (ChatMessageContainer* container : qAsConst(dayContainers))
        shown << container->bubbleWidgets();
    for (ChatMessageWidget* bubble : qAsConst(shown))
        known.append({bubble->getMessageId(), bubble->getSendTime()});
    known << later;
    int at = -1;
    for (int i = 0; i < known.size() && at < 0; ++i) {
        if (known.at(i).id == msgId)
            at = i;
    }
    if (at < 0)
        return false;
    // An upload in flight or a transfer under way keeps its bubble; it is
    // among the earlier or later ones too and is found on the board when the
    // view gets there.
    for (ChatMessageWidget* bubble : qAsConst(shown)) {
        // A bubble whose outline was clicked may be on its way out of a
        // signal: deleted later.
        if (!pinned.contains(bubble->getMessageId()) && !bubble->transferRunning())
            dropBubble(bubble, false);
    }
    earlier = known.mid(0, at);
    later = known.mid(at);
    earlierIds.clear();
    laterIds.clear();
    for (const Later& entry : qAsConst(earlier))
        earlierIds.insert(entry.id);
    for (const Later& entry : qAsConst(later))
        laterIds.insert(entry.id);
    return true;
}

void MessageBoard::takeEarlier(const QString& msgId)
{
    if (!earlierIds.remove(msgId))
        return;
    // Pages come back from the end next to the board.
    for (int i = earlier.size() - 1; i >= 0; --i) {
        if (earlier.at(i).id == msgId) {
            earlier.removeAt(i);
            return;
        }
    }
}

void MessageBoard::addLater(const QString& msgId, qint64 time)
{
    if (laterIds.contains(msgId))
        return;
    // Almost always the newest; a late one goes to its place by send time.
    int index = later.size();
    while (index > 0 && later.at(index - 1).time > time)
        --index;
    later.insert(index, {msgId, time});
    laterIds.insert(msgId);
}

bool MessageBoard::isLater(const QString& msgId) const
{
    return laterIds.contains(msgId);
}

void MessageBoard::forgetLater(int count)
{
    for (int i = 0; i < count && !later.isEmpty(); ++i)
        laterIds.remove(later.takeFirst().id);
}

void MessageBoard::hold(ChatMessageContainer* day)
{
    if (!batching || heldDays.contains(day))
        return;
    day->holdLayout();
    heldDays.insert(day);
}
