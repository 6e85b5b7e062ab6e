#ifndef CHANNELMANAGER_H
#define CHANNELMANAGER_H

#include "Managers/command.h"
#include "Managers/conversationkeeper.h"
#include "foundation/abstractmanager.h"
#include "model/browsecategoryresult.h"
#include "model/channelcategory.h"
#include "model/channelinfo.h"
#include "model/channelmemberrole.h"
#include "model/channelmembersrequest.h"
#include "model/channelmessagecondition.h"
#include "model/likepair.h"
#include "model/message.h"
#include "model/messagereply.h"
#include "model/messagerequest.h"
#include "model/notificationmessage.h"
#include "model/polldata.h"
#include "webapi/GeneralApi/procedure.h"

#include <QHash>
#include <QJsonObject>
#include <QJsonValue>
#include <QStringList>
#include <QVariant>

// Channels. This build keeps no channels yet: the manager takes part in
// loading and answers every query as "no channel", so the rest of the core
// runs unchanged.
class ChannelManager : public AbstractManager, public ConversationKeeper
{
    Q_OBJECT
public:
    explicit ChannelManager(QObject* parent = nullptr);

    void setUserName(const QString& name) { userName = name; }
    void onInitialize() {}
    void processReply(Procedure, const QJsonObject&) {}
    void result(Procedure, int) {}

    void startChannelCategories() {}
    void startBrowseChannelCategories(const QString&) {}
    void startChannelCreate(const ChannelInfo&) {}
    void startChannelData(const QString&) {}
    void startChannelJoin(const QString&) {}
    void startChannelLeave(const QString&) {}
    void startCheckChannelId(const QString&) {}
    void startChannelGetMembers(const ChannelMembersRequest&) {}
    void startDeleteChannel(const QString&) {}
    void startChannelEdit(const ChannelInfo&) {}
    void sendPollToChannel(const PollData&) {}
    void respondAddMember(const ChannelMemberRole&) {}
    void respondRemoveMember(const ChannelMemberRole&) {}
    void respondChangeMemberRole(const ChannelMemberRole&) {}
    void respondChangeMessageCondition(const ChannelMessageCondition&) {}
    void likeSetStatus(const LikePair&) {}

    QList<ChannelInfo> getChannelsSorted() const { return {}; }
    bool getChannelInfo(const QString&, ChannelInfo*) const { return false; }
    void changeMuteStatus(const ChannelInfo&) {}
    void respondChannelData(const QString&) {}
    bool respondMessageRequest(const MessageRequest&, MessageReply*) { return true; }
    void sendMessage(Message*) {}
    bool addMessage(const Message&, bool) { return false; }
    bool addMessagePair(const Message&) { return false; }
    void sendNotification(const Message&) {}
    void processControlMessage(const Message&) {}
    QStringList changeMessageStatesToSeen(const QString&, const QStringList&) { return {}; }
    QStringList changeMessageState(const QString&, const QString&, MessageBase::MsgState)
    {
        return {};
    }
    bool contains(const QString&) const { return false; }
    bool getLastMessage(const QString&, Message*) const { return false; }
    void setFilePathForMessage(const Message&) {}
    void resetUnreadCount(const QString&) {}

    // The channel kind in the Manager's message flow.
    bool keepsConversation(const QString& id) const override { return contains(id); }
    bool storeOwnMessage(const Message& message) override { return addMessage(message, false); }
    bool postOwnMessage(const Message& message) override
    {
        Message copy = message;
        sendMessage(&copy);
        return true;
    }
    bool storeArrivedMessage(const Message& message) override { return addMessagePair(message); }
    void answerHistory(const MessageRequest& request) override
    {
        MessageReply reply;
        if (respondMessageRequest(request, &reply))
            emit messageReply(reply);
    }
    MessageBase::MsgState confirmSent(const Message&) override
    {
        return MessageBase::MsgState_Draft;
    }
    bool markSeen(const QString&, SeenMessage*) override { return false; }
    void setFilePath(const Message& message) override { setFilePathForMessage(message); }
    void applyControlMessage(const Message& message) override { processControlMessage(message); }
    void applyMuteUpdate(const QString&, bool) override {}

public slots:
    void startLoading() override;
    void xmppChatClientConnected(qint64) {}

signals:
    void start(Procedure procedure, const QHash<QString, QJsonValue>& inputs);
    void commandResponse(Command command, const QVariant& output);
    void notification(const NotificationMessage& message);
    void channelRemoved(const QString& id);
    void channelCategoriesData(const QHash<QString, ChannelCategory>& categories);
    void channelCategoryBrowseData(const BrowseCategoryResult& result);
    void messageAdded(const Message& message);
    void messageReply(const MessageReply& reply);
    void channelMemberAdded(const ChannelMemberRole& role);
    void channelMemberRemoved(const ChannelMemberRole& role);
    void channelMemberRoleChanged(const ChannelMemberRole& role);
    void channelMessageConditionChanged(const ChannelMessageCondition& condition);

private:
    QString userName;
};

#endif // CHANNELMANAGER_H
