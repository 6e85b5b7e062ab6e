#ifndef GROUP_H
#define GROUP_H

#include "Managers/Chat/chat.h"
#include "foundation/quorvelcore_export.h"
#include "model/groupinfo.h"
#include "model/groupinfomembers.h"
#include "model/groupmember.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QSharedPointer>
#include <QString>
#include <QStringList>

// One group conversation: its description, its members and its message store.
// Copies of a Group share one message store and each carry their own copy of
// the members. The store is opened the first time a message operation needs it
// and closed when the last copy that shares it goes away.
class QUORVELCORE_EXPORT Group
{
public:
    Group();
    explicit Group(const QJsonObject& object);

    bool setDataFromJson(const QJsonObject& object);

    QString getId() const { return info.getJid(); }
    GroupInfo getInfo() const { return info; }
    void setInfo(const GroupInfo& value) { info = value; }
    QHash<QString, GroupMember> getMembers() const { return members; }
    void setMembers(const QHash<QString, GroupMember>& value) { members = value; }
    // Replaces the members with every element that reads as a member.
    void setMembers(const QJsonArray& array);
    // Takes the "Members" array of a reply; anything else keeps the members.
    void processMembersInfo(const QJsonObject& object);
    QJsonArray getMembersArray() const;
    GroupInfoMembers getGroupInfoAndMembers() const;

    bool getRemoved() const { return info.getRemoved(); }
    void setRemoved(bool value) { info.setRemoved(value); }
    void updateMute(bool value) { info.setMute(value); }

    // Opens the message store (when not open yet) and takes the last message
    // and the unread count from it.
    void initChat();
    // Whose messages are the user's own.
    void setUserIdentity(const UserIdentityPtr& value) { chat->setUserIdentity(value); }
    bool isChatOpen() const;
    // Empties the message store and deletes it from disk.
    void removeChat();
    // Closes the message store; it opens again when next needed.
    void closeChat();

    void setLastMessage(const Message& message) { info.setLastMessage(message); }
    void setLastMessageAndUnreadCount(const GroupInfo& other);

    // False for a message id already stored or a message the store refused.
    bool insertMessage(const Message& message, bool* isLast);
    bool getLastMessage(Message* out);
    QList<Message> getLastMessages(int count, int offset);
    bool getMessage(const QString& messageId, Message* out);
    bool getMessagesBefore(const QString& messageId, int count, QList<Message>* out);
    bool getMessagesBefore(qint64 time, int count, QList<Message>* out);
    int getNumberOfMessages();
    bool isChatEmpty();
    bool editMessage(const QString& messageId, const QString& text);
    void setFilePathForMessage(const Message& message);
    void setMessageSentTime(const Message& message);
    QStringList changeMessageStatesToSeen(const QStringList& ids);
    QStringList changeMessageState(const QString& messageId, MessageBase::MsgState state);

    // The message store, opened when needed.
    Chat* messageStore() { return store(); }

private:
    Chat* store();

    GroupInfo info;
    QHash<QString, GroupMember> members;
    QSharedPointer<Chat> chat;
};

#endif // GROUP_H
