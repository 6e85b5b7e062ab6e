#ifndef CHATMESSAGECONTAINER_H
#define CHATMESSAGECONTAINER_H

#include "Managers/command.h"
#include "model/message.h"
#include "model/messagestate.h"
#include "webapi/FileApi/uploadrequest.h"

#include <QDate>
#include <QMap>
#include <QPixmap>
#include <QSet>
#include <QVariant>
#include <QWidget>

class ChatMessageWidget;
class QLabel;
class QVBoxLayout;

// The bubbles of one calendar day of a chat window under a date label, in
// send-time order. Finds bubbles by message id, passes state, like and
// profile updates to them and relays their signals to the window.
class ChatMessageContainer : public QWidget
{
    Q_OBJECT
public:
    explicit ChatMessageContainer(QWidget* parent = nullptr);

    void setDate(const QDate& value);
    QDate getDate() const { return date; }
    void setChannelName(const QString& name) { channelName = name; }
    bool insertMessage(const Message& msg, bool hasReply, const Message& replied);
    // The bubble of a file being sent now; out receives the message it sends.
    ChatMessageWidget* appendMessage(const UploadRequest& request, const QString& chatId,
                                     MessageBase::MsgMajorType majorType, const QString& body,
                                     Message* out, const Message& replied);
    void setMessageState(const MessageState& state);
    void setLikes(const QString& msgId, int count);
    ChatMessageWidget* getMessageWidget(const QString& msgId) const;
    QString getFirstMessageId() const;
    QSet<ChatMessageWidget*> visibleMessageWidgets() const;
    void updateSenderProfile(const QString& userId, const QString& nickName, const QPixmap& avatar,
                             const QString& repliedUserId, const QString& repliedNickName);
    // The same for the one bubble of msgId: a new bubble takes the profiles
    // known so far without the day's other bubbles being visited again.
    void showSenderProfile(const QString& msgId, const QString& nickName, const QPixmap& avatar,
                           const QString& repliedNickName);

    // Between these two, bubbles are inserted with the day's layout held; the
    // board then lays the day out once: a page of history costs one layout
    // pass of the day, not one per bubble.
    void holdLayout();
    void releaseLayout();
    // Lays the day out now unless that was done since it was released.
    void layOut();

    QString dateText() const;
    // The bubbles' message ids, top first.
    QStringList messageIds() const;
    QList<ChatMessageWidget*> bubbleWidgets() const { return ordered; }
    int bubbleCount() const { return bubbles.size(); }
    // Takes the bubble of msgId off the day and deletes it, now or once
    // control returns to the event loop.
    void dropMessageWidget(const QString& msgId, bool now);

signals:
    void setFilePath(Message msg);
    void likeStatusChange(QString msgId, bool liked);
    void replyMessage(Message mess);
    void editMessage(Message mess);
    void replyOutLineClicked(QString msgID);
    void command(Command command, QVariant request);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void placeMessageWidget(ChatMessageWidget* bubble);
    void connectBubble(ChatMessageWidget* bubble);
    void applyProfile(ChatMessageWidget* bubble, const QString& userId, const QString& nickName,
                      const QPixmap& avatar, const QString& repliedUserId,
                      const QString& repliedNickName);

    QVBoxLayout* column;
    QMap<QString, ChatMessageWidget*> bubbles;
    // The bubbles as the column shows them, top first (the column's first
    // item is the date row).
    QList<ChatMessageWidget*> ordered;
    QLabel* dateLabel;
    QDate date;
    QString channelName;
};

#endif // CHATMESSAGECONTAINER_H
