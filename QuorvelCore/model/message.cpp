#include "model/message.h"

#include "foundation/datetime.h"
#include "foundation/nonce.h"
#include "foundation/simpleqtlogger.h"
#include "model/globalconstants.h"
#include "model/jsonnumbers.h"
#include "model/messagekeys.h"

#include <QDateTime>
#include <QJsonDocument>

using namespace MessageKeys;

namespace {
// A string value; a value of another JSON type gives "" and a log line.
QString readText(const QJsonObject& object, QLatin1String key)
{
    const QJsonValue value = object.value(key);
    if (!value.isString() && !value.isUndefined())
        L_WARN(
            QStringLiteral("Message | %1 is not text: %2").arg(key, JsonNumbers::describe(value)));
    return value.toString();
}

int readCounter(const QJsonObject& object, QLatin1String key)
{
    const QJsonValue value = object.value(key);
    if (value.isUndefined())
        return 0;
    bool ok = false;
    const int number = JsonNumbers::toInt(value, 0, &ok);
    if (!ok)
        L_WARN(
            QStringLiteral("Message | unreadable %1: %2").arg(key, JsonNumbers::describe(value)));
    return number;
}

// Flags are JSON booleans; the texts "true"/"false" are accepted as well.
bool readFlag(const QJsonObject& object, QLatin1String key)
{
    const QJsonValue value = object.value(key);
    if (value.isString())
        return MessageBase::toBool(value.toString());
    return value.toBool(false);
}
} // namespace

Message::Message()
{
    clear();
}

Message::Message(MsgMajorType majorType, const QString& userId, const QString& chatId,
                 const QString& body)
    : Message()
{
    this->majorType = majorType;
    this->userId = userId;
    this->chatId = chatId;
    messageBody = body;
    minorType = MsgMinorType_Text;
    messageUserName = chatId;
    sendTimeInGMT = DateTime::getDateTimeInMSecs();
}

Message::Message(MsgMajorType majorType, const QString& userId, const QString& chatId,
                 const PollData& poll)
    : Message()
{
    this->majorType = majorType;
    this->userId = userId;
    this->chatId = chatId;
    minorType = MsgMinorType_Poll;
    messageBody = QStringLiteral(" ");
    sendTimeInGMT = DateTime::getDateTimeInMSecs();
    otherFields.insert(PollId, poll.getPollId());
    otherFields.insert(PollDataKey, poll.toJsonObject());
}

Message::Message(MsgMajorType majorType, const QString& userId) : Message()
{
    this->majorType = majorType;
    this->userId = userId;
}

void Message::clear()
{
    chatId.clear();
    messageBody.clear();
    messageId.clear();
    messageUserName.clear();
    userId.clear();
    minorType = MsgMinorType_None;
    majorType = MsgMajorType_None;
    sendTimeInGMT = 0;
    replyOnMessageId.clear();
    replyOnThreadId.clear();
    otherFields = QJsonObject();
    likes = 0;
    views = 0;
    liked = false;
    edited = false;
    state = MsgState_Draft;
    sendFailure = SendFailure_None;
    groupControlMessage = false;
}

bool Message::isValidForSending() const
{
    return majorType != MsgMajorType_None && minorType != MsgMinorType_None;
}

QString Message::chatIdKey(MsgMajorType type)
{
    switch (type) {
    case MsgMajorType_SimpleChat:
    case MsgMajorType_GroupChat:
    case MsgMajorType_ControlMessage:
        return From;
    case MsgMajorType_ChannelChat:
    case MsgMajorType_ChannelChatReply:
    case MsgMajorType_ChannelDirect:
        return ChannelId;
    default:
        return QString();
    }
}

// ---- Forms written ----

void Message::insertPublicFields(QJsonObject* object) const
{
    object->insert(MajorType, toString(majorType));
    object->insert(MinorType, toString(minorType));
    object->insert(SendTimeInGmt, static_cast<double>(sendTimeInGMT));
    object->insert(MessageBody, messageBody);
    object->insert(MessageUserName, messageUserName);
    object->insert(UserId, userId);
    object->insert(MessageId, messageId);
    if (!replyOnMessageId.isEmpty())
        object->insert(ReplyOnMessageId, replyOnMessageId);
    if (!replyOnThreadId.isEmpty())
        object->insert(ReplyOnThreadId, replyOnThreadId);
    const QString key = chatIdKey(majorType);
    if (!key.isEmpty())
        object->insert(key, chatId);
}

void Message::insertDBFields(QJsonObject* object) const
{
    object->insert(Views, views);
    object->insert(Likes, likes);
    object->insert(Liked, liked);
    object->insert(State, toString(state));
    object->insert(Edited, edited);
    // Written only when there is one, so other records stay as they were.
    if (sendFailure != SendFailure_None)
        object->insert(SendFailureReason, int(sendFailure));
}

void Message::removeDBFields(QJsonObject* object)
{
    // Also what keeps a peer's or the service's copy of these keys (a local
    // path, a delivery state) out of a message read from outside the store.
    for (QLatin1String key : {Likes, Views, Liked, State, FileLocalPath, Edited, SendFailureReason})
        object->remove(key);
}

QJsonObject Message::toDBJson() const
{
    QJsonObject object = otherFields;
    insertPublicFields(&object);
    insertDBFields(&object);
    return object;
}

QJsonObject Message::toJson() const
{
    QJsonObject object = toDBJson();
    removeDBFields(&object);
    return object;
}

QJsonObject Message::getMessageParams() const
{
    QJsonObject params;
    params.insert(MajorType, toString(majorType));
    params.insert(MinorType, toString(minorType));
    params.insert(SendTimeInGmt, static_cast<double>(sendTimeInGMT));
    params.insert(UserId, userId);
    params.insert(UserName, messageUserName);
    if (!replyOnMessageId.isEmpty())
        params.insert(ReplyOnMessageId, replyOnMessageId);
    if (!replyOnThreadId.isEmpty())
        params.insert(ReplyOnThreadId, replyOnThreadId);
    for (auto it = otherFields.constBegin(); it != otherFields.constEnd(); ++it)
        params.insert(it.key(), it.value());
    removeDBFields(&params);
    return params;
}

// ---- Forms read ----

bool Message::fromJson(const QJsonObject& object)
{
    if (!object.contains(MinorType) || !object.contains(MajorType)) {
        L_WARN(QStringLiteral("Message::fromJson | no MAJOR_TYPE or MINOR_TYPE"));
        return false;
    }
    setMajorType(object);
    setMinorType(object);
    setChatId(object);
    setMessageId(object);
    setMessageBody(object);
    setMessageUserName(object);
    setSendTimeInGMT(object);
    setUserId(object);
    setReplyOnMessageId(object);
    setReplyOnThreadId(object);

    otherFields = object;
    for (const QString& key : getPublicFields())
        otherFields.remove(key);
    // The local-only keys come back only through the store's own reader.
    removeDBFields(&otherFields);
    const QString key = chatIdKey(majorType);
    if (!key.isEmpty())
        otherFields.remove(key);

    likes = 0;
    views = 0;
    liked = false;
    edited = false;
    state = MsgState_Draft;
    return !isEmpty();
}

bool Message::fromDBJson(const QJsonObject& object)
{
    const bool result = fromJson(object);
    if (result) {
        setViews(object);
        setLikes(object);
        setLiked(object);
        setEdited(object);
        setState(object);
        setSendFailure(object);
        setFilePath(object);
    }
    return result;
}

bool Message::setMessageUCParams(QJsonObject* object)
{
    if (object->contains(UserName))
        messageUserName = readText(*object, UserName);
    setUserId(*object);
    setMinorType(*object);
    setMajorType(*object);
    setReplyOnMessageId(*object);
    setReplyOnThreadId(*object);
    setSendTimeInGMT(*object);
    for (const QString& key : getPublicFields())
        object->remove(key);
    return true;
}

bool Message::fromUserChatArchiveJson(const QJsonObject& object, const QString& chatId)
{
    return fromUserChatArchiveJson(object, chatId, GlobalConstants::getUserName());
}

bool Message::fromUserChatArchiveJson(const QJsonObject& object, const QString& chatId,
                                      const QString& ownName)
{
    const auto reject = [](const char* why) {
        L_WARN(QStringLiteral("Message::fromUserChatArchiveJson | rejected: ") +
               QLatin1String(why));
        return false;
    };
    const QJsonValue params = object.value(QLatin1String("M"));
    if (!params.isObject())
        return reject("no M object");
    QJsonObject paramObject = params.toObject();
    setMessageUCParams(&paramObject);
    removeDBFields(&paramObject);
    // The conversation is the archive's own chat: a chat-id key inside "M"
    // is the sender's text and would shadow it in the payload and the stanza
    // parameters.
    const QString chatKey = chatIdKey(majorType);
    if (!chatKey.isEmpty())
        paramObject.remove(chatKey);
    // What remains are the payload keys (and any unknown key): without them an
    // archived file, sticker or control message would lose its content.
    otherFields = paramObject;
    this->chatId = chatId;

    // The archive names the sender in "F"; a "USER_ID" inside "M" is written
    // by the sender and never decides the author.
    const QJsonValue fromValue = object.value(QLatin1String("F"));
    if (!fromValue.isString())
        return reject("no F");
    const QString senderName = fromValue.toString().section(QLatin1Char('@'), 0, 0);
    if (senderName.isEmpty())
        return reject("empty sender");
    userId = senderName;
    if (messageUserName.isEmpty())
        messageUserName = senderName == ownName ? chatId : ownName;

    if (!object.contains(QLatin1String("I")))
        return reject("no I");
    messageId = readText(object, QLatin1String("I"));
    if (!object.contains(QLatin1String("B")))
        return reject("no B");
    messageBody = readText(object, QLatin1String("B"));

    if (!object.contains(QLatin1String("S")))
        return reject("no S");
    const QString status = readText(object, QLatin1String("S"));
    if (status == QLatin1String("DELETED"))
        return false;
    if (status == QLatin1String("EDITED"))
        edited = true;
    else if (status == QLatin1String("NORMAL"))
        edited = false;

    state = MsgState_NotSent;
    if (!object.contains(QLatin1String("MS")))
        return reject("no MS");
    const QString messageState = readText(object, QLatin1String("MS"));
    if (messageState == QLatin1String("1"))
        state = MsgState_Sent;
    else if (messageState == QLatin1String("2"))
        state = MsgState_Delivered;
    else if (messageState == QLatin1String("3"))
        state = MsgState_Seen;
    return true;
}

// ---- Per-key readers ----

void Message::setMajorType(const QJsonObject& object)
{
    const QJsonValue value = object.value(MajorType);
    majorType = toMsgMajorType(value.toString());
    if (majorType == MsgMajorType_None && !value.isUndefined())
        L_WARN(QStringLiteral("Message | unknown MAJOR_TYPE: ") + JsonNumbers::describe(value));
}

void Message::setMinorType(const QJsonObject& object)
{
    const QJsonValue value = object.value(MinorType);
    minorType = toMsgMinorType(value.toString());
    if (minorType == MsgMinorType_None && !value.isUndefined())
        L_WARN(QStringLiteral("Message | unknown MINOR_TYPE: ") + JsonNumbers::describe(value));
}

void Message::setChatId(const QJsonObject& object)
{
    const QString key = chatIdKey(majorType);
    chatId = key.isEmpty() ? QString() : readText(object, QLatin1String(key.toLatin1()));
}

void Message::setMessageId(const QJsonObject& object)
{
    messageId = readText(object, MessageId);
}

void Message::setMessageBody(const QJsonObject& object)
{
    messageBody = readText(object, MessageBody);
}

void Message::setMessageUserName(const QJsonObject& object)
{
    messageUserName = readText(object, MessageUserName);
}

void Message::setSendTimeInGMT(const QJsonObject& object)
{
    const QJsonValue value = object.value(SendTimeInGmt);
    if (value.isUndefined()) {
        sendTimeInGMT = 0;
        return;
    }
    bool ok = false;
    sendTimeInGMT = JsonNumbers::toInt64(value, 0, &ok);
    // Written back as a JSON number, a time must fit a double exactly, or the
    // stored message would differ from the one read (and sort elsewhere).
    const qint64 exactLimit = qint64(1) << 53;
    if (ok && (sendTimeInGMT > exactLimit || sendTimeInGMT < -exactLimit)) {
        ok = false;
        sendTimeInGMT = 0;
    }
    if (!ok)
        L_WARN(QStringLiteral("Message | unreadable SEND_TIME_IN_GMT: ") +
               JsonNumbers::describe(value));
}

void Message::setUserId(const QJsonObject& object)
{
    userId = readText(object, UserId);
}

void Message::setReplyOnMessageId(const QJsonObject& object)
{
    replyOnMessageId = readText(object, ReplyOnMessageId);
}

void Message::setReplyOnThreadId(const QJsonObject& object)
{
    replyOnThreadId = readText(object, ReplyOnThreadId);
}

void Message::setViews(const QJsonObject& object)
{
    views = readCounter(object, Views);
}

void Message::setLikes(const QJsonObject& object)
{
    likes = readCounter(object, Likes);
}

void Message::setLiked(const QJsonObject& object)
{
    liked = readFlag(object, Liked);
}

void Message::setEdited(const QJsonObject& object)
{
    edited = readFlag(object, Edited);
}

void Message::setState(const QJsonObject& object)
{
    state = object.contains(State) ? toMsgState(object.value(State).toString()) : MsgState_Draft;
}

void Message::setSendFailure(const QJsonObject& object)
{
    const int value = object.value(SendFailureReason).toInt(-1);
    sendFailure = value == SendFailure_NoSpace || value == SendFailure_Refused
                      ? MessageBase::SendFailure(value)
                      : SendFailure_None;
}

void Message::setFilePath(const QJsonObject& object)
{
    if (object.contains(FileLocalPath))
        otherFields.insert(FileLocalPath, readText(object, FileLocalPath));
    else
        otherFields.remove(FileLocalPath);
}

// ---- otherFields ----

void Message::addToOtherFields(const QJsonObject& fields)
{
    for (auto it = fields.constBegin(); it != fields.constEnd(); ++it)
        otherFields.insert(it.key(), it.value());
}

void Message::addToOtherFields(const QString& key, const QJsonValue& value)
{
    otherFields.insert(key, value);
}

void Message::setFilePath(const QString& path)
{
    otherFields.insert(FileLocalPath, path);
}

QString Message::getFilePath() const
{
    return otherFields.value(FileLocalPath).toString();
}

// ---- Payloads ----

// otherFields as the bodies see them. The readers move the chat-id key into
// chatId, so a channel message's "CHANNEL_ID" comes back from there.
QJsonObject Message::payloadFields() const
{
    const QString key = chatIdKey(majorType);
    if (key == QLatin1String(ChannelId) && !otherFields.contains(key)) {
        QJsonObject fields = otherFields;
        fields.insert(key, chatId);
        return fields;
    }
    return otherFields;
}

FileMessage Message::getFileMessage() const
{
    FileMessage file;
    if (minorType == MsgMinorType_File)
        file.setDataFromDBJson(payloadFields());
    return file;
}

StickerMessage Message::getStickerMessage() const
{
    StickerMessage sticker;
    if (minorType == MsgMinorType_Sticker) {
        sticker.setDataFromJson(payloadFields());
        sticker.setFrom(userId);
    }
    return sticker;
}

LocationMessage Message::getLocationMessage() const
{
    LocationMessage location;
    if (minorType == MsgMinorType_Location)
        location.setDataFromJson(payloadFields());
    return location;
}

SeenMessage Message::getSeenMessage() const
{
    SeenMessage seen;
    if (minorType == MsgMinorType_Seen) {
        seen.setChatId(chatId);
        seen.fromJson(payloadFields());
    }
    return seen;
}

PollData Message::getPollData() const
{
    if (!otherFields.contains(PollDataKey))
        return PollData();
    const QJsonValue value = otherFields.value(PollDataKey);
    if (value.isObject())
        return PollData(value.toObject());
    // Stanzas carry the poll as JSON text.
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(value.toString().toUtf8(), &error);
    if (!document.isObject()) {
        L_WARN(QStringLiteral("Message::getPollData | POLL_DATA is not a JSON object: ") +
               error.errorString());
        return PollData();
    }
    return PollData(document.object());
}

namespace {
// A body that reads itself with fromJson.
template <typename Body> Body jsonBody(const QJsonObject& fields)
{
    Body body;
    body.fromJson(fields);
    return body;
}

// A group event body: the sender comes from the carrying message.
template <typename Body> Body groupBody(const QString& sender, const QJsonObject& fields)
{
    Body body;
    body.setUserId(sender);
    body.setDataFromJson(fields);
    return body;
}
} // namespace

EditMessage Message::getEditMessage() const
{
    return jsonBody<EditMessage>(payloadFields());
}

ChannelEditMessage Message::getChannelEditMessage() const
{
    return jsonBody<ChannelEditMessage>(payloadFields());
}

ConversationMuteStatusUpdate Message::getConversationMuteStatusUpdate() const
{
    return jsonBody<ConversationMuteStatusUpdate>(payloadFields());
}

GroupRemoveMessage Message::getGroupRemoveMessage() const
{
    return groupBody<GroupRemoveMessage>(userId, payloadFields());
}

GroupJoinMessage Message::getGroupJoinMessage() const
{
    return groupBody<GroupJoinMessage>(userId, payloadFields());
}

GroupChangeRoleMessage Message::getGroupChangeRoleMessage() const
{
    return groupBody<GroupChangeRoleMessage>(userId, payloadFields());
}

GroupMetaDataChangedMessage Message::getGroupMetaDataChangedMessage() const
{
    GroupMetaDataChangedMessage body;
    body.setDataFromJson(payloadFields());
    return body;
}

GroupInvitationMessage Message::getGroupInvitationMessage() const
{
    return groupBody<GroupInvitationMessage>(userId, payloadFields());
}

void Message::setFileMessage(const FileMessage& file)
{
    addToOtherFields(file.toDBJsonObject());
}

void Message::setSeenMessage(const SeenMessage& seen)
{
    majorType = MsgMajorType_ControlMessage;
    minorType = MsgMinorType_Seen;
    chatId = seen.getChatId();
    generateMessageId();
    addToOtherFields(seen.toJson());
}

void Message::setEditMessage(const Message& edited, const QString& newText)
{
    setDataFromMsg(edited);
    messageId.clear();
    majorType = MsgMajorType_ControlMessage;
    minorType = MsgMinorType_EditMessage;
    messageBody.clear();
    const EditMessage edit(newText, QDateTime::currentMSecsSinceEpoch(), edited.getMessageId());
    addToOtherFields(edit.toJson());
}

void Message::setConversationMuteStatusChange(const ConversationMuteStatusUpdate& update)
{
    majorType = MsgMajorType_ControlMessage;
    minorType = MsgMinorType_UpdateConversationMuteStatus;
    addToOtherFields(update.toJson());
}

// ---- Other operations ----

bool Message::setDataFromMsg(const Message& other)
{
    *this = other;
    return true;
}

void Message::setDBOnlyFields(const Message& other)
{
    views = other.views;
    likes = other.likes;
    liked = other.liked;
    state = other.state;
    sendFailure = other.sendFailure;
    edited = other.edited;
}

QString Message::generateMessageId()
{
    // One multi-argument call: a "%1" inside the user id stays as it is.
    messageId =
        QStringLiteral("des_%1_%2_%3")
            .arg(userId, QString::number(DateTime::getDateTimeInMSecs()), Nonce::generate(4));
    return messageId;
}

void Message::setSendTimeToCurrentTime()
{
    sendTimeInGMT = DateTime::getDateTimeInMSecs();
}

bool Message::operator==(const Message& other) const
{
    return chatId == other.chatId && messageBody == other.messageBody &&
           messageId == other.messageId && messageUserName == other.messageUserName &&
           userId == other.userId && minorType == other.minorType && majorType == other.majorType &&
           sendTimeInGMT == other.sendTimeInGMT && replyOnMessageId == other.replyOnMessageId &&
           replyOnThreadId == other.replyOnThreadId && otherFields == other.otherFields &&
           likes == other.likes && views == other.views && liked == other.liked &&
           edited == other.edited && state == other.state && sendFailure == other.sendFailure &&
           groupControlMessage == other.groupControlMessage;
}
