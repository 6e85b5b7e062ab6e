#ifndef CHATWIDGET_H
#define CHATWIDGET_H

#include "Managers/Chat/chatrecipient.h"
#include "Managers/command.h"
#include "chat/chatrowface.h"
#include "model/channelinfo.h"
#include "model/channelmembersreply.h"
#include "model/groupinfo.h"
#include "model/groupinfomembers.h"
#include "model/lvreply.h"
#include "model/members.h"
#include "model/message.h"
#include "model/messagepair.h"
#include "model/messagereply.h"
#include "model/messagestate.h"

#include <QImage>
#include <QPointer>
#include <QVariant>
#include <QWidget>

class ChatWindow;
class LazyAvatar;

// One row of a chat list: a one-to-one chat, a group or a channel with its
// avatar, name, last-message time and preview and the unread badge. The row
// owns the chat's window, made when the chat is first opened, passes the
// window's commands up and the core's answers for the chat down to it.
// A list holds thousands of rows: each is one widget that draws its parts
// itself (ChatRowFace) and reads its avatar only once it is first painted.
class ChatWidget : public QWidget
{
    Q_OBJECT
public:
    enum Kind
    {
        NoKind = 0,
        Chat = 1,
        Group = 2,
        Channel = 3
    };

    explicit ChatWidget(QWidget* parent = nullptr);
    ~ChatWidget() override;

    void setChatRecipient(const ChatRecipient& recipient);
    // The same for a record whose counts were kept while the chat had no
    // row: counted is the last message the record first came counted with.
    void setChatRecipient(const ChatRecipient& recipient, const QString& counted);
    void setGroupInfo(const GroupInfo& info);
    void setChannelInfo(const ChannelInfo& info);
    void updateGroupInfo(const GroupInfo& info);
    void setContact(const Contact& contact);

    void setUnreadCount(int count);
    int getUnreadCount() const;
    qint64 getLastMessageTime() const;
    void setMuted(bool muted);
    void showLastMessage(const Message& message);
    bool containsText(const QString& text) const;
    ChatRecipient getChatRecipient() const { return chatRecipient; }
    GroupInfo getGroupInfo() const { return groupInfo; }
    ChannelInfo getChannelInfo() const { return channelInfo; }
    int getKind() const { return kind; }
    QString getId() const;
    // The chat's window, made on first use.
    ChatWindow* getChatWindow();
    bool hasChatWindow() const { return !chatWindow.isNull(); }
    void closeChatWindow();

    // Answers for this chat.
    void processMessage(const Message& message);
    void processMessagePair(const MessagePair& pair);
    void processMessageReply(const MessageReply& reply);
    void updateLastMessage(const Message& message);
    void refreshLastMessage();
    void setMessageState(const MessageState& state);
    void processMembers(const Members& members);
    void processGroupInfoMembers(const GroupInfoMembers& members);
    void processLVReply(LVReply reply);
    void processChannelMembersReply(ChannelMembersReply reply);

    // What a new message does to the record of a one-to-one chat that has no
    // row yet (so no window either), as a row takes it: the unread count
    // (not for the user's own message, an edit, or counted, the message the
    // record came counted with) and the last message (a newer one, or the
    // same again).
    static void takeIntoRecord(ChatRecipient* record, const QString& counted, const Message& shown);
    // The summary a row shows of a valid message in a chat of the kind: a
    // group's notice reads as on its board, naming the members given.
    static QString summaryOf(const Message& message, int kind,
                             const QHash<QString, GroupMember>& members = {});

    // What the row shows, for the tabs and tests.
    QString nameText() const;
    QString timeText() const;
    QString lastMessageText() const;
    bool previewShown() const;
    bool unreadBadgeVisible() const;
    QString unreadBadgeText() const;
    // How the badge looks: "ChatWidgetUnreadMessageNumber", or with
    // "Notifoff" appended for a muted chat.
    QString badgeObjectName() const;
    // Where the avatar is drawn, in the row's coordinates.
    QRect avatarRect() const;
    // The name and preview as drawn last, shortened to their places.
    QString shownName() const { return face.shownName(); }
    QString shownPreview() const { return face.shownPreview(); }

signals:
    void clicked(ChatWindow* chatwindow);
    void command(Command command, QVariant request);
    void lastMessageTimeChanged(QString id);
    void sendMessageSignal(Message mess);
    void startMessaging(Contact contact);

public slots:
    void select();
    void deselect();
    void sendSeenCount(int count);
    void avatarDownloadFinished(const QImage& image);

public:
    // A row's height is fixed by its tab, whatever its width: the list's
    // layout never has to measure the wrapped name of every row.
    bool hasHeightForWidth() const override { return false; }

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // One body for the six new-message operations: the message shown, its
    // sender and whether it is an edit of a message already there.
    void takeNewMessage(const Message& shown, bool added);
    bool acceptsChat(const QString& chatId) const { return kind != NoKind && chatId == getId(); }
    void setUpWindow();
    Message lastMessage() const;
    void storeLastMessage(const Message& message);
    void storeUnreadCount(int count);
    void restyle(const QString& name);
    void showName(const QString& name);
    void setAvatar(int kind, const QString& id, const QString& url);
    // What a screen reader says of the row: its parts, as they are shown.
    void describe();

    int kind = NoKind;
    ChatRecipient chatRecipient;
    // The last message of the chat record last given, counted in its unread count.
    QString countedWithRecord;
    GroupInfo groupInfo;
    ChannelInfo channelInfo;
    QPointer<ChatWindow> chatWindow;
    LazyAvatar* avatarPicture;
    ChatRowFace face;
    // What the preview and time were last made from.
    QString shownKey;
};

#endif // CHATWIDGET_H
