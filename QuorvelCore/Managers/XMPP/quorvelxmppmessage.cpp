#include "Managers/XMPP/quorvelxmppmessage.h"

#include "foundation/serviceconfig.h"
#include "foundation/simpleqtlogger.h"
#include "model/groupnoticekind.h"

#include <QDomElement>
#include <QJsonObject>
#include <QXmppElement.h>
#include <QXmppUtils.h>

namespace {

const char* const kXmlNamespace = "http://www.w3.org/XML/1998/namespace";

QString beforeAt(const QString& address)
{
    return address.section(QLatin1Char('@'), 0, 0);
}

QString bodyLanguage(const QDomElement& body)
{
    QString lang = body.attributeNS(QLatin1String(kXmlNamespace), QStringLiteral("lang"));
    if (lang.isEmpty())
        lang = body.attribute(QStringLiteral("lang"));
    return lang;
}

bool isRoomStanzaType(QXmppMessage::Type type)
{
    return type == QXmppMessage::GroupChat;
}

// Body fields that would name the author or the conversation.
bool isSenderField(const QString& lang)
{
    return lang == QLatin1String("FROM") || lang == QLatin1String("USER_ID") ||
           lang == QLatin1String("CHANNEL_ID");
}

// A one-to-one stanza carries a one-to-one or a control message other than a
// group notice, a room stanza a group or a control message; channel posts, the edits of channel
// posts and the news of a member's place in a channel come only from the
// service's own channel account.
bool isKindAllowed(const QString& majorType, const QString& minorType, bool roomMessage,
                   bool fromChannels)
{
    const MessageBase::MsgMajorType major = MessageBase::toMsgMajorType(majorType);
    const MessageBase::MsgMinorType minor = MessageBase::toMsgMinorType(minorType);
    const bool channelControl = major == MessageBase::MsgMajorType_ControlMessage &&
                                (minor == MessageBase::MsgMinorType_ChannelMessageEdited ||
                                 minor == MessageBase::MsgMinorType_ChannelMembershipAdd ||
                                 minor == MessageBase::MsgMinorType_ChannelMembershipRemove ||
                                 minor == MessageBase::MsgMinorType_ChannelMembershipChangeRole);
    if (fromChannels)
        return major == MessageBase::MsgMajorType_ChannelChat ||
               major == MessageBase::MsgMajorType_ChannelChatReply || channelControl;
    // What became of a group is told in its room, never one-to-one.
    if (major == MessageBase::MsgMajorType_ControlMessage)
        return !channelControl && (roomMessage || !GroupNoticeKind::isNoticeKind(major, minor));
    return major == (roomMessage ? MessageBase::MsgMajorType_GroupChat
                                 : MessageBase::MsgMajorType_SimpleChat);
}

} // namespace

QuorvelXMPPMessage::QuorvelXMPPMessage(const QString& from, const QString& to, const QString& body,
                                       const QString& thread)
    : QXmppMessage(from, to, body, thread)
{
}

QuorvelXMPPMessage::QuorvelXMPPMessage(const Message& source, const QString& resource)
    : message(source)
{
    const QString domain = chatDomain();
    const QXmppMessage::Type type = getMessageXmppType(message);
    setType(type);
    if (type == QXmppMessage::Chat)
        setTo(userAddress(message.getChatId(), domain));
    else if (isRoomStanzaType(type))
        setTo(roomAddress(message.getChatId(), domain));
    setFrom(userAddress(message.getUserId(), domain) + QLatin1Char('/') + resource);
    setBody(message.getMessageBody().isEmpty() ? QStringLiteral(" ") : message.getMessageBody());
    setId(message.getMessageId());
    const bool control = message.getMajorType() == MessageBase::MsgMajorType_ControlMessage;
    setReceiptRequested(!control ||
                        message.getMinorType() == MessageBase::MsgMinorType_EditMessage);
    setLang(QStringLiteral("en"));
    setMessageExtentions();
}

QXmppMessage::Type QuorvelXMPPMessage::getMessageXmppType(const Message& message)
{
    switch (message.getMajorType()) {
    case MessageBase::MsgMajorType_SimpleChat:
        return QXmppMessage::Chat;
    case MessageBase::MsgMajorType_GroupChat:
        return QXmppMessage::GroupChat;
    case MessageBase::MsgMajorType_ControlMessage:
        switch (message.getMinorType()) {
        case MessageBase::MsgMinorType_Seen:
        case MessageBase::MsgMinorType_GroupInvitation:
        case MessageBase::MsgMinorType_UpdateConversationMuteStatus:
            return QXmppMessage::Chat;
        case MessageBase::MsgMinorType_GroupLeave:
        case MessageBase::MsgMinorType_GroupRemove:
        case MessageBase::MsgMinorType_GroupJoin:
        case MessageBase::MsgMinorType_GroupChangeRole:
        case MessageBase::MsgMinorType_GroupChangeMetadata:
        case MessageBase::MsgMinorType_GroupCreated:
            return QXmppMessage::GroupChat;
        case MessageBase::MsgMinorType_EditMessage:
            return message.getGroupControlMessage() ? QXmppMessage::GroupChat : QXmppMessage::Chat;
        default:
            return QXmppMessage::Normal;
        }
    default:
        return QXmppMessage::Normal;
    }
}

QString QuorvelXMPPMessage::userAddress(const QString& userId, const QString& domain)
{
    return userId + QLatin1Char('@') + domain;
}

QString QuorvelXMPPMessage::roomAddress(const QString& roomId, const QString& domain)
{
    return roomId + QStringLiteral("@conference.") + domain;
}

bool QuorvelXMPPMessage::isRoomAddress(const QString& address)
{
    const QString bare = QXmppUtils::jidToBareJid(address);
    return !QXmppUtils::jidToUser(bare).isEmpty() &&
           QXmppUtils::jidToDomain(bare) == QStringLiteral("conference.") + chatDomain();
}

QString QuorvelXMPPMessage::channelAccount()
{
    return QStringLiteral("channels");
}

QString QuorvelXMPPMessage::chatDomain()
{
    return ServiceConfig::chatDomain();
}

void QuorvelXMPPMessage::setMessageExtentions()
{
    QJsonObject params = message.getMessageParams();
    const auto major = message.getMajorType();
    if (major == MessageBase::MsgMajorType_GroupChat ||
        major == MessageBase::MsgMajorType_ControlMessage) {
        params.remove(QStringLiteral("USER_ID"));
        params.remove(QStringLiteral("USERNAME"));
    }
    QXmppElementList fields;
    for (auto it = params.constBegin(); it != params.constEnd(); ++it) {
        QXmppElement field;
        field.setTagName(QStringLiteral("body"));
        const QString key = it.key() == QLatin1String("SECONDARY_MESSAGE_ID")
                                ? QStringLiteral("MESSAGE_ID")
                                : it.key();
        field.setAttribute(QStringLiteral("xml:lang"), key);
        field.setValue(it.value().toVariant().toString());
        fields.append(field);
    }
    setExtensions(fields);
}

bool QuorvelXMPPMessage::parseElement(const QDomElement& element)
{
    parse(element);
    if (type() == QXmppMessage::Error)
        return false;
    const QString sender = from();
    // A room's stanza by its bare address only: a resource that looks like a
    // room address is still the sending account's.
    const bool roomMessage = isRoomAddress(sender);
    fromRoom = roomMessage;
    if (roomMessage && type() != QXmppMessage::GroupChat) {
        // Rooms carry our messages to everyone; private room messages are not ours.
        L_DEBUG(QStringLiteral("QuorvelXMPPMessage::parseElement | not a room message: ") +
                id().left(80));
        return false;
    }
    if (!roomMessage && QXmppUtils::jidToDomain(sender) != chatDomain()) {
        // Accounts are ours only on our own domain.
        L_WARN(QStringLiteral("QuorvelXMPPMessage::parseElement | refused a stanza from another "
                              "domain, id ") +
               id().left(80));
        return false;
    }
    // The service stamps a channel post's channel and author itself.
    const bool fromChannels =
        !roomMessage &&
        QXmppUtils::jidToBareJid(sender) == channelAccount() + QLatin1Char('@') + chatDomain();

    QJsonObject object;
    object.insert(QStringLiteral("FROM"), beforeAt(sender));
    object.insert(QStringLiteral("MESSAGE_USERNAME"), beforeAt(to()));
    if (!roomMessage) {
        object.insert(QStringLiteral("USER_ID"), QXmppUtils::jidToUser(sender));
    } else {
        // The nick name, until the author is bound to the occupant's real
        // account.
        const QString nick = QXmppUtils::jidToResource(sender);
        if (nick.isEmpty())
            return false;
        object.insert(QStringLiteral("USER_ID"), beforeAt(nick));
    }
    message.setChatId(beforeAt(sender));
    object.insert(QStringLiteral("MESSAGE_ID"), id());

    for (QDomElement body = element.firstChildElement(QStringLiteral("body")); !body.isNull();
         body = body.nextSiblingElement(QStringLiteral("body"))) {
        const QString lang = bodyLanguage(body);
        if (lang.isEmpty()) {
            object.insert(QStringLiteral("MESSAGE_BODY"), body.text());
        } else if (lang == QLatin1String("MESSAGE_ID")) {
            object.insert(QStringLiteral("SECONDARY_MESSAGE_ID"), body.text());
        } else if (isSenderField(lang) && !(fromChannels && lang != QLatin1String("FROM"))) {
            // Who sent it and whose chat it is come from the server-stamped
            // address only.
            continue;
        } else {
            object.insert(lang, body.text());
        }
    }
    if (!isKindAllowed(object.value(QStringLiteral("MAJOR_TYPE")).toString(),
                       object.value(QStringLiteral("MINOR_TYPE")).toString(), roomMessage,
                       fromChannels)) {
        L_WARN(QStringLiteral("QuorvelXMPPMessage::parseElement | refused a ") +
               (roomMessage ? QStringLiteral("room") : QStringLiteral("one-to-one")) +
               QStringLiteral(" stanza of kind ") +
               object.value(QStringLiteral("MAJOR_TYPE")).toString().left(40) +
               QStringLiteral(", id ") + id().left(80));
        return false;
    }
    return message.fromJson(object);
}
