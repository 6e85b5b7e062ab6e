// GroupManager: control messages, replayed room history and the rooms the
// user enters. A control message is a hint to ask the service again, never
// the truth itself: whoever sent it, what changes is what the service says.
#include "Managers/Chat/conversationedits.h"
#include "Managers/Group/groupmanager.h"

#include "foundation/simpleqtlogger.h"

#include <QTimer>

bool GroupManager::shouldControlMessageBeProcessed(const Message& message)
{
    switch (message.getMinorType()) {
    case MessageBase::MsgMinorType_GroupInvitation:
    case MessageBase::MsgMinorType_GroupRemove:
    case MessageBase::MsgMinorType_GroupJoin:
    case MessageBase::MsgMinorType_GroupChangeRole:
    case MessageBase::MsgMinorType_GroupChangeMetadata:
    case MessageBase::MsgMinorType_EditMessage:
        return message.isControlMessage();
    default:
        return false;
    }
}

void GroupManager::processControlMessage(const Message& message)
{
    L_DEBUG(QStringLiteral("GroupManager::processControlMessage | #START"));
    if (!shouldControlMessageBeProcessed(message))
        return;
    if (addMessage(message, false)) {
        MessagePair pair;
        pair.setMessage(message);
        emitMessagePairAdded(pair);
    }
    if (message.getMinorType() == MessageBase::MsgMinorType_EditMessage)
        processEditMessage(message, true);
    else
        refreshOnControlMessage(message);
}

void GroupManager::refreshOnControlMessage(const Message& message)
{
    const QString id = message.getChatId();
    switch (message.getMinorType()) {
    case MessageBase::MsgMinorType_GroupInvitation: {
        QString group = message.getGroupInvitationMessage().getJid();
        if (group.isEmpty())
            group = id;
        if (!isValidGroupId(group))
            return;
        // The room is entered once the service's data names the user a
        // member (processGroupData); an invitation to a group the user is
        // not in joins nothing. Asked again even when a request is out: the
        // answer to that one may be older than the invitation.
        refreshGroupData(group);
        break;
    }
    case MessageBase::MsgMinorType_GroupRemove:
        if (!groups.contains(id))
            break;
        // The user's group list leaves the group out once the removal is real.
        if (message.getGroupRemoveMessage().getRemovedUserId() == getUserName())
            checkMembership();
        else
            refreshMembersAndData(id);
        break;
    case MessageBase::MsgMinorType_GroupJoin:
    case MessageBase::MsgMinorType_GroupChangeRole:
        if (groups.contains(id))
            refreshMembersAndData(id);
        break;
    case MessageBase::MsgMinorType_GroupChangeMetadata:
        if (groups.contains(id))
            refreshGroupData(id);
        break;
    default:
        break;
    }
}

void GroupManager::processEditMessage(const Message& message, bool convertText)
{
    auto it = groups.find(message.getChatId());
    Message edited;
    if (it != groups.end() &&
        ConversationEdits::apply(it->messageStore(), message, convertText, &edited)) {
        keepSummary(&it.value());
        emit commandResponse(CMD_MessageEdited, QVariant::fromValue(edited));
    }
}

void GroupManager::checkMembership()
{
    if (userListOut) {
        userListAgain = true;
        return;
    }
    userListOut = true;
    startUserList();
}

void GroupManager::userListAnswered()
{
    userListOut = false;
    if (userListAgain) {
        userListAgain = false;
        checkMembership();
    }
}

// ---- rooms ----------------------------------------------------------------------

void GroupManager::processRoomHistory(const Message& message)
{
    const QString id = message.getChatId();
    auto it = groups.find(id);
    if (it == groups.end())
        return;
    // Nothing of it is kept, shown or applied: control messages make the
    // service be asked again, and messages the store lacks are fetched from
    // the service's record of the room, with their true authors.
    if (message.isControlMessage()) {
        if (shouldControlMessageBeProcessed(message))
            refreshOnControlMessage(message);
        return;
    }
    Message stored;
    if (!it->getMessage(message.getMessageId(), &stored))
        fetchRoomMessages(id);
}

void GroupManager::roomEntered(const QString& id)
{
    // What was said between the last look at the service's record and the
    // moment the room let the user in reached the room before the user.
    if (groups.contains(id))
        fetchRoomMessages(id);
}

void GroupManager::roomRecordComplete(const QString& id, qint64 since)
{
    // Only ever a reason to ask the service again, for a group of the user's.
    if (!groups.contains(id))
        return;
    // A request for all groups that failed (the service away) goes again
    // now that the service is back.
    if (owedNewMessagesFrom >= 0) {
        const qint64 from = owedNewMessagesFrom;
        owedNewMessagesFrom = -1;
        startGroupNewMessages(QStringList(), from);
    }
    fetchRoomMessages(id, qMax<qint64>(0, since));
}

void GroupManager::fetchRoomMessages(const QString& id, qint64 since)
{
    const bool scheduled = !roomFetches.isEmpty();
    const auto known = roomFetches.constFind(id);
    if (known == roomFetches.constEnd() || (since >= 0 && (*known < 0 || since < *known)))
        roomFetches.insert(id, since);
    if (scheduled)
        return;
    // Rooms entered together are asked for in one request.
    QTimer::singleShot(kRoomFetchDelayMs, this, [this] {
        const QHash<QString, qint64> asked = roomFetches;
        roomFetches.clear();
        qint64 since = -1;
        for (auto entry = asked.constBegin(); entry != asked.constEnd(); ++entry) {
            Message last;
            auto it = groups.find(entry.key());
            qint64 time = it != groups.end() && it->getLastMessage(&last) ? last.getSendTimeInGMT()
                                                                          : getLastTimeNMCalled();
            if (entry.value() >= 0)
                time = qMin(time, entry.value());
            since = since < 0 ? time : qMin(since, time);
        }
        if (!asked.isEmpty())
            startGroupNewMessages(asked.keys(), qMax<qint64>(0, since - kNewMessagesMarginMs));
    });
}
