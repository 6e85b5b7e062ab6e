#ifndef GROUPMANAGER_H
#define GROUPMANAGER_H

#include "Managers/command.h"
#include "Managers/conversationkeeper.h"
#include "foundation/abstractmanager.h"
#include "model/groupinfo.h"
#include "model/groupinfomembers.h"
#include "model/grouprole.h"
#include "model/message.h"
#include "model/messagereply.h"
#include "model/messagerequest.h"
#include "model/notificationmessage.h"
#include "webapi/GeneralApi/procedure.h"

#include <QHash>
#include <QJsonObject>
#include <QJsonValue>
#include <QStringList>
#include <QVariant>

// Private groups. This build keeps no groups yet: the manager takes part in
// loading and answers every query as "no group", so the rest of the core
// runs unchanged.
class GroupManager : public AbstractManager, public ConversationKeeper
{
    Q_OBJECT
public:
    explicit GroupManager(QObject* parent = nullptr);

    void setUserName(const QString& name) { userName = name; }
    void onInitialize() {}
    void processReply(Procedure, const QJsonObject&) {}
    void result(Procedure, int) {}

    QList<GroupInfo> getGroupListSorted() const { return {}; }
    void enqueueGroupDataRequest(const QString&) {}
    void enqueueMembersInfoRequest(const QString&) {}
    void startCreateGroup(const QString&, const QString&, const QString&, const QString&,
                          const QStringList&)
    {
    }
    void startGroupAddMember(const QString&, const QStringList&) {}
    void startGroupAddAdmin(const QString&, const QStringList&) {}
    void startGroupChangeRole(const QString&, const QString&, GroupRole::Role) {}
    void startGroupRemoveMember(const QString&, const QString&) {}
    void respondGroupChangeData(const GroupInfo&) {}
    void startGroupLeave(const QString&) {}
    void removeHistory(const QString&) {}
    void updateMute(const GroupInfo&) {}
    void respondGroupGetData(const QString&) {}
    bool respondGetMessages(const MessageRequest&, MessageReply*) { return false; }
    bool addMessagePair(const Message&, bool, bool) { return false; }
    void processControlMessage(const Message&) {}
    void setMessageSentTime(const Message&) {}
    QStringList changeMessageStatesToSeen(const QString&, const QStringList&) { return {}; }
    QStringList changeMessageState(const QString&, const QString&, MessageBase::MsgState)
    {
        return {};
    }
    bool contains(const QString&) const { return false; }
    bool getLastMessage(const QString&, Message*) const { return false; }
    void setFilePathForMessage(const Message&) {}

    // The group kind in the Manager's message flow.
    bool keepsConversation(const QString& id) const override { return contains(id); }
    bool storeOwnMessage(const Message& message) override;
    bool storeArrivedMessage(const Message& message) override;
    void answerHistory(const MessageRequest& request) override;
    MessageBase::MsgState confirmSent(const Message& message) override;
    bool markSeen(const QString& id, SeenMessage* receipt) override;
    void setFilePath(const Message& message) override { setFilePathForMessage(message); }
    void applyControlMessage(const Message& message) override { processControlMessage(message); }
    void applyMuteUpdate(const QString& id, bool mute) override;

public slots:
    void startLoading() override;
    void xmppChatClientConnected(qint64) {}

signals:
    void start(Procedure procedure, const QHash<QString, QJsonValue>& inputs);
    void commandResponse(Command command, const QVariant& output);
    void notification(const NotificationMessage& message);
    void groupCreated(const QString& jid);
    void groupMembersInfoUpdate(const GroupInfoMembers& info);
    void groupRemoved(const QString& jid);
    void groupLeft(const QString& jid);
    void messageReply(const MessageReply& reply);
    void setXmppRooms(const QStringList& rooms);

private:
    QString userName;
};

#endif // GROUPMANAGER_H
