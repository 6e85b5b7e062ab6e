#ifndef MESSAGEBOARD_H
#define MESSAGEBOARD_H

#include "Managers/command.h"
#include "model/message.h"

#include <QList>
#include <QMap>
#include <QSet>
#include <QVariant>
#include <QWidget>

class ChatMessageContainer;
class ChatMessageWidget;
class QVBoxLayout;

// The board of a chat window's scroll area: one container per calendar day,
// oldest at the top, and the index from message id to the day holding its
// bubble. Relays the days' signals to the window.
//
// The board shows a stretch of the conversation, not all of it: trim() drops
// the bubbles farthest from a given one. What is dropped is remembered by id
// and send time only, above the board ("earlier") or below it ("later", with
// what arrives while the board does not reach the newest message), and is
// asked for again as a page when the view gets there.
class MessageBoard : public QWidget
{
    Q_OBJECT
public:
    // A message newer than the board's last bubble that is not on the board.
    struct Later
    {
        QString id;
        qint64 time = 0;
    };

    explicit MessageBoard(QWidget* parent = nullptr);

    // The day of msg; the first message of a day makes the day and places it
    // among the others. Days of a channel carry the channel's name. While a
    // batch is open the day's layout is held until settle.
    ChatMessageContainer* containerFor(const Message& msg, const QString& channelName);
    void indexMessage(const QString& msgId, ChatMessageContainer* container);
    bool holds(const QString& msgId) const { return messageIndex.contains(msgId); }
    ChatMessageContainer* containerOf(const QString& msgId) const;
    ChatMessageWidget* bubble(const QString& msgId) const;
    // The days in board order, top first.
    QList<ChatMessageContainer*> containers() const { return dayContainers.values(); }
    // The message ids on the board, oldest first.
    QStringList messageIds() const;
    QString firstMessageId() const;
    // The bubbles at the top and at the bottom of the board, if any.
    ChatMessageWidget* oldestBubble() const;
    ChatMessageWidget* newestBubble() const;
    int dayCount() const { return dayContainers.size(); }
    int bubbleCount() const { return messageIndex.size(); }

    // The height the days ask for together; days not yet shown are shown.
    int contentHeight();
    QSet<ChatMessageWidget*> visibleMessageWidgets() const;
    // The first bubble reaching below top, and its distance from top.
    ChatMessageWidget* bubbleAt(int top, int* offset) const;
    void updateSenderProfile(const QString& userId, const QString& nickName, const QPixmap& avatar);
    void startAutoDownloads();

    // Bubbles go in with the board's and their days' layouts held; settle
    // then gives the board its new height (at least the viewport's) and lays
    // it out once, however many went in.
    void beginBatch();
    bool batchOpen() const { return batching; }
    void settle(int viewportHeight);

    // Keeps at most limit bubbles, dropping from the end farther from pivot
    // (by count; the bottom when pivot is null). A bubble with an upload in
    // flight or a transfer under way is never dropped.
    void trim(int limit, const ChatMessageWidget* pivot);
    // Drops every bubble: the board starts anew at msgId, which with what
    // follows it becomes later, and what precedes it earlier. False when the
    // board knows no such message.
    bool restartAt(const QString& msgId);
    bool hasEarlier() const { return !earlier.isEmpty(); }
    // An older page brought the message back.
    void takeEarlier(const QString& msgId);
    bool hasLater() const { return !later.isEmpty(); }
    const QList<Later>& laterMessages() const { return later; }
    void addLater(const QString& msgId, qint64 time);
    bool isLater(const QString& msgId) const;
    // Forgets the first count of the later messages.
    void forgetLater(int count);
    void pin(const QString& msgId) { pinned.insert(msgId); }
    void unpin(const QString& msgId) { pinned.remove(msgId); }

signals:
    // The bubble leaves the board and is deleted.
    void dropping(ChatMessageWidget* bubble);
    void likeStatusChange(QString msgId, bool liked);
    void replyMessage(Message mess);
    void editMessage(Message mess);
    void replyOutLineClicked(QString msgID);
    void command(Command command, QVariant request);

private:
    void insertDayContainer(ChatMessageContainer* container);
    // Takes the bubble off the board; deleted now, or once control returns
    // to the event loop.
    void dropBubble(ChatMessageWidget* bubble, bool now);
    void hold(ChatMessageContainer* day);

    QVBoxLayout* boardLayout;
    QMap<uint, ChatMessageContainer*> dayContainers;
    QMap<QString, ChatMessageContainer*> messageIndex;
    bool batching = false;
    QSet<ChatMessageContainer*> heldDays;
    QList<Later> earlier;
    QSet<QString> earlierIds;
    QList<Later> later;
    QSet<QString> laterIds;
    QSet<QString> pinned;
};

#endif // MESSAGEBOARD_H
