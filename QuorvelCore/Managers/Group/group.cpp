#include "Managers/Group/group.h"

#include "foundation/simpleqtlogger.h"

namespace {
const QLatin1String kMembers("Members");
}

Group::Group() : chat(QSharedPointer<Chat>::create()) {}

Group::Group(const QJsonObject& object) : Group()
{
    setDataFromJson(object);
}

bool Group::setDataFromJson(const QJsonObject& object)
{
    return info.setDataFromJson(object);
}

void Group::setMembers(const QJsonArray& array)
{
    members.clear();
    for (const QJsonValue& value : array) {
        GroupMember member;
        if (member.setDataFromJson(value.toObject()))
            members.insert(member.getUserName(), member);
        else
            L_WARN(QStringLiteral("Group::setMembers | skipped a member of ") + getId());
    }
}

void Group::processMembersInfo(const QJsonObject& object)
{
    const QJsonValue value = object.value(kMembers);
    if (value.isArray())
        setMembers(value.toArray());
    else
        L_WARN(QStringLiteral("Group::processMembersInfo | no member array for ") + getId());
}

QJsonArray Group::getMembersArray() const
{
    QJsonArray array;
    for (auto it = members.constBegin(); it != members.constEnd(); ++it)
        array.append(it.value().toJsonObject());
    return array;
}

GroupInfoMembers Group::getGroupInfoAndMembers() const
{
    GroupInfoMembers value;
    value.setInfo(info);
    value.setMembers(members);
    return value;
}

Chat* Group::store()
{
    if (!chat->dbIsOpen() || chat->getChatId() != getId())
        initChat();
    return chat.data();
}

bool Group::isChatOpen() const
{
    return chat->dbIsOpen() && chat->getChatId() == getId();
}

void Group::initChat()
{
    if (!isChatOpen())
        chat->setChatId(getId(), Chat::ChatMode_Stored);
    L_DEBUG(QStringLiteral("Group::initChat() | ") + getId());
    Message last;
    if (chat->getLastMessage(&last)) {
        L_DEBUG(QStringLiteral("Group::initChat() | getLastMessage true ") +
                QString::fromUtf8(QJsonDocument(last.toJson()).toJson(QJsonDocument::Compact)));
        info.setLastMessage(last);
        info.setUnreadCount(chat->getUnreadCount());
    } else {
        L_DEBUG(QStringLiteral("Group::initChat() | getLastMessage false"));
        info.setUnreadCount(0);
    }
}

void Group::removeChat()
{
    store()->clear();
    info.setLastMessage(Message());
    info.setUnreadCount(0);
}

void Group::closeChat()
{
    chat->close();
}

void Group::setLastMessageAndUnreadCount(const GroupInfo& other)
{
    info.setLastMessage(other.getLastMessage());
    info.setUnreadCount(other.getUnreadCount());
}

bool Group::insertMessage(const Message& message, bool* isLast)
{
    Chat* messages = store();
    if (messages->messageExists(message))
        return false;
    bool newest = false;
    const bool added = messages->addMessage(message, &newest);
    if (isLast)
        *isLast = added && newest;
    if (added && newest)
        info.setLastMessage(message);
    return added;
}

bool Group::getLastMessage(Message* out)
{
    return store()->getLastMessage(out);
}

QList<Message> Group::getLastMessages(int count, int offset)
{
    return store()->getLastMessages(offset, count);
}

bool Group::getMessage(const QString& messageId, Message* out)
{
    return store()->getMessage(messageId, out);
}

bool Group::getMessagesBefore(const QString& messageId, int count, QList<Message>* out)
{
    return store()->getMessagesBefore(messageId, count, out);
}

bool Group::getMessagesBefore(qint64 time, int count, QList<Message>* out)
{
    return store()->getMessagesBefore(time, count, out);
}

int Group::getNumberOfMessages()
{
    return store()->getNumberOfMessages();
}

bool Group::isChatEmpty()
{
    return store()->isEmpty();
}

bool Group::editMessage(const QString& messageId, const QString& text)
{
    return store()->editMessage(messageId, text);
}

void Group::setFilePathForMessage(const Message& message)
{
    store()->setFilePathForMessage(message);
}

void Group::setMessageSentTime(const Message& message)
{
    store()->setMessageSentTime(message);
}

QStringList Group::changeMessageStatesToSeen(const QStringList& ids)
{
    return store()->changeMessageStatesToSeen(ids);
}

QStringList Group::changeMessageState(const QString& messageId, MessageBase::MsgState state)
{
    L_DEBUG(QStringLiteral("Group::changeMessageState | ") + getId() + QStringLiteral(" ") +
            messageId);
    return store()->changeMessageState(messageId, state);
}
