#ifndef MESSAGE_H
#define MESSAGE_H

#include "foundation/quorvelcore_export.h"
#include "model/abstractdbjsonable.h"
#include "model/channeleditmessage.h"
#include "model/conversationmutestatusupdate.h"
#include "model/editmessage.h"
#include "model/filemessage.h"
#include "model/groupchangerolemessage.h"
#include "model/groupinvitationmessage.h"
#include "model/groupjoinmessage.h"
#include "model/groupmetadatachangedmessage.h"
#include "model/groupremovemessage.h"
#include "model/locationmessage.h"
#include "model/messagebase.h"
#include "model/polldata.h"
#include "model/seenmessage.h"
#include "model/stickermessage.h"

#include <QJsonObject>
#include <QJsonValue>
#include <QMetaType>
#include <QString>

// One message of a conversation: user text, stickers, files, locations, polls
// and the control messages (seen, edits, mute changes, group and channel
// events). Payload keys live in otherFields, together with every key of the
// public form that this class does not know, which is kept and sent back.
//
// JSON forms: toJson/fromJson (public), toDBJson/fromDBJson (stored, with the
// local-only keys), getMessageParams (stanza parameters) and
// fromUserChatArchiveJson (history of a one-to-one chat, read only).
class QUORVELCORE_EXPORT Message : public MessageBase, public AbstractDBJsonable
{
public:
    Message();
    Message(const Message& other) = default;
    Message(Message&& other) = default;
    Message& operator=(const Message& other) = default;
    Message& operator=(Message&& other) = default;
    ~Message() = default;
    // A text message as the GUI builds it; the id is given when it is sent.
    Message(MsgMajorType majorType, const QString& userId, const QString& chatId,
            const QString& body);
    // A poll message.
    Message(MsgMajorType majorType, const QString& userId, const QString& chatId,
            const PollData& poll);
    Message(MsgMajorType majorType, const QString& userId);

    // AbstractData / AbstractJsonable / AbstractDBJsonable
    void clear() override;
    bool isEmpty() const override { return majorType == MsgMajorType_None; }
    QJsonObject toJson() const override;
    bool fromJson(const QJsonObject& object) override;
    QJsonObject toDBJson() const override;
    bool fromDBJson(const QJsonObject& object) override;

    QJsonObject getMessageParams() const;
    // ownName is the signed-in user's name, which tells which side wrote an
    // archived message; without it, the program's signed-in user.
    bool fromUserChatArchiveJson(const QJsonObject& object, const QString& chatId);
    bool fromUserChatArchiveJson(const QJsonObject& object, const QString& chatId,
                                 const QString& ownName);

    bool isValid() const { return !isEmpty(); }
    bool isValidForSending() const;
    bool isControlMessage() const { return majorType == MsgMajorType_ControlMessage; }
    bool isReply() const { return !replyOnMessageId.isEmpty(); }

    bool setDataFromMsg(const Message& other);
    void setDBOnlyFields(const Message& other);
    QString generateMessageId();
    void setSendTimeToCurrentTime();

    // The key that carries the chat id for a major type ("FROM",
    // "CHANNEL_ID" or none).
    static QString chatIdKey(MsgMajorType type);

    // Plain accessors.
    QString getChatId() const { return chatId; }
    void setChatId(const QString& value) { chatId = value; }
    QString getMessageBody() const { return messageBody; }
    void setMessageBody(const QString& value) { messageBody = value; }
    QString getMessageId() const { return messageId; }
    void setMessageId(const QString& value) { messageId = value; }
    QString getMessageUserName() const { return messageUserName; }
    void setMessageUserName(const QString& value) { messageUserName = value; }
    QString getUserId() const { return userId; }
    void setUserId(const QString& value) { userId = value; }
    MsgMinorType getMinorType() const { return minorType; }
    void setMinorType(MsgMinorType value) { minorType = value; }
    MsgMajorType getMajorType() const { return majorType; }
    void setMajorType(MsgMajorType value) { majorType = value; }
    qint64 getSendTimeInGMT() const { return sendTimeInGMT; }
    void setSendTimeInGMT(qint64 value) { sendTimeInGMT = value; }
    QString getReplyOnMessageId() const { return replyOnMessageId; }
    void setReplyOnMessageId(const QString& value) { replyOnMessageId = value; }
    QString getReplyOnThreadId() const { return replyOnThreadId; }
    void setReplyOnThreadId(const QString& value) { replyOnThreadId = value; }
    int getLikes() const { return likes; }
    void setLikes(int value) { likes = value; }
    int getViews() const { return views; }
    void setViews(int value) { views = value; }
    bool getLiked() const { return liked; }
    void setLiked(bool value) { liked = value; }
    bool getEdited() const { return edited; }
    void setEdited(bool value) { edited = value; }
    MsgState getState() const { return state; }
    void setState(MsgState value) { state = value; }
    SendFailure getSendFailure() const { return sendFailure; }
    void setSendFailure(SendFailure value) { sendFailure = value; }
    bool getGroupControlMessage() const { return groupControlMessage; }
    void setGroupControlMessage(bool value) { groupControlMessage = value; }

    // Per-key readers: the field takes the key's value when present and its
    // default when absent.
    void setMajorType(const QJsonObject& object);
    void setMinorType(const QJsonObject& object);
    // By the current major type, so read the major type first.
    void setChatId(const QJsonObject& object);
    void setMessageId(const QJsonObject& object);
    void setMessageBody(const QJsonObject& object);
    void setMessageUserName(const QJsonObject& object);
    // Decimal text or a JSON number.
    void setSendTimeInGMT(const QJsonObject& object);
    void setUserId(const QJsonObject& object);
    void setReplyOnMessageId(const QJsonObject& object);
    void setReplyOnThreadId(const QJsonObject& object);
    void setViews(const QJsonObject& object);
    void setLikes(const QJsonObject& object);
    void setLiked(const QJsonObject& object);
    void setEdited(const QJsonObject& object);
    void setState(const QJsonObject& object);
    // A known reason only; anything else reads as none.
    void setSendFailure(const QJsonObject& object);
    void setFilePath(const QJsonObject& object);

    QJsonObject getOtherFields() const { return otherFields; }
    void setOtherFields(const QJsonObject& value) { otherFields = value; }
    void addToOtherFields(const QJsonObject& fields);
    void addToOtherFields(const QString& key, const QJsonValue& value);
    // The local path of the message's file ("FILE_LOCAL_PATH" in otherFields).
    void setFilePath(const QString& path);
    QString getFilePath() const;

    // Payload accessors, each built from otherFields.
    FileMessage getFileMessage() const;
    StickerMessage getStickerMessage() const;
    LocationMessage getLocationMessage() const;
    SeenMessage getSeenMessage() const;
    PollData getPollData() const;
    EditMessage getEditMessage() const;
    ChannelEditMessage getChannelEditMessage() const;
    ConversationMuteStatusUpdate getConversationMuteStatusUpdate() const;
    GroupRemoveMessage getGroupRemoveMessage() const;
    GroupJoinMessage getGroupJoinMessage() const;
    GroupChangeRoleMessage getGroupChangeRoleMessage() const;
    GroupMetaDataChangedMessage getGroupMetaDataChangedMessage() const;
    GroupInvitationMessage getGroupInvitationMessage() const;

    // Payload writers.
    void setFileMessage(const FileMessage& file);
    void setSeenMessage(const SeenMessage& seen);
    void setEditMessage(const Message& edited, const QString& newText);
    void setConversationMuteStatusChange(const ConversationMuteStatusUpdate& update);

    // Every field, the local ones included.
    bool operator==(const Message& other) const;
    bool operator!=(const Message& other) const { return !(*this == other); }

private:
    void insertPublicFields(QJsonObject* object) const;
    void insertDBFields(QJsonObject* object) const;
    static void removeDBFields(QJsonObject* object);
    bool setMessageUCParams(QJsonObject* object);
    QJsonObject payloadFields() const;

    QString chatId;
    QString messageBody;
    QString messageId;
    QString messageUserName;
    QString userId;
    MsgMinorType minorType;
    MsgMajorType majorType;
    qint64 sendTimeInGMT;
    QString replyOnMessageId;
    QString replyOnThreadId;
    QJsonObject otherFields;
    int likes;
    int views;
    bool liked;
    bool edited;
    MsgState state;
    SendFailure sendFailure;
    bool groupControlMessage;
};

Q_DECLARE_METATYPE(Message)

#endif // MESSAGE_H
