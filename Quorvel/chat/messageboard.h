#ifndef MESSAGEBOARD_H
#define MESSAGEBOARD_H

#include "Managers/command.h"
#include "model/message.h"

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
class MessageBoard : public QWidget
{
    Q_OBJECT
public:
    explicit MessageBoard(QWidget* parent = nullptr);

    // The day of msg; the first message of a day makes the day and places it
    // among the others. Days of a channel carry the channel's name.
    ChatMessageContainer* containerFor(const Message& msg, const QString& channelName);
    void indexMessage(const QString& msgId, ChatMessageContainer* container);
    bool holds(const QString& msgId) const { return messageIndex.contains(msgId); }
    ChatMessageContainer* containerOf(const QString& msgId) const;
    ChatMessageWidget* bubble(const QString& msgId) const;
    // The days in board order, top first.
    QList<ChatMessageContainer*> containers() const;
    // The message ids on the board, oldest first.
    QStringList messageIds() const;
    QString firstMessageId() const;
    // The bubble at the bottom of the board, if any.
    ChatMessageWidget* newestBubble() const;
    int dayCount() const;

    // The height the days ask for together; days not yet shown are shown.
    int contentHeight();
    QSet<ChatMessageWidget*> visibleMessageWidgets() const;
    // The first bubble reaching below top, and its distance from top.
    ChatMessageWidget* bubbleAt(int top, int* offset) const;
    void updateSenderProfile(const QString& userId, const QString& nickName, const QPixmap& avatar);
    void startAutoDownloads();

    // A page goes in with the board's layout held; settle then gives the
    // board its new height (at least the viewport's) and lays it out at once.
    void holdLayout();
    void settle(int viewportHeight);

signals:
    void likeStatusChange(QString msgId, bool liked);
    void replyMessage(Message mess);
    void editMessage(Message mess);
    void replyOutLineClicked(QString msgID);
    void command(Command command, QVariant request);

private:
    void insertDayContainer(ChatMessageContainer* container);

    QVBoxLayout* boardLayout;
    QMap<uint, ChatMessageContainer*> dayContainers;
    QMap<QString, ChatMessageContainer*> messageIndex;
};

#endif // MESSAGEBOARD_H
