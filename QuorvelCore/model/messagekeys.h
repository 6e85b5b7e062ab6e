#ifndef MESSAGEKEYS_H
#define MESSAGEKEYS_H

#include <QLatin1String>

// JSON keys of messages and of the bodies that ride in them. Constant
// expressions, so they are usable during static initialisation too.
namespace MessageKeys {
// A key from a string literal. The length comes from the literal's type, so
// the constant is built at compile time by every compiler (QLatin1String's
// own constructor counts with strlen, which only some treat as constant).
template <int N> constexpr QLatin1String key(const char (&text)[N])
{
    return QLatin1String(text, N - 1);
}

// Public keys.
constexpr QLatin1String UserId = key("USER_ID");
constexpr QLatin1String MessageId = key("MESSAGE_ID");
constexpr QLatin1String MessageBody = key("MESSAGE_BODY");
constexpr QLatin1String MajorType = key("MAJOR_TYPE");
constexpr QLatin1String MinorType = key("MINOR_TYPE");
constexpr QLatin1String SendTimeInGmt = key("SEND_TIME_IN_GMT");
constexpr QLatin1String MessageUserName = key("MESSAGE_USERNAME");
// Chat-id keys, chosen by the major type.
constexpr QLatin1String From = key("FROM");
constexpr QLatin1String ChannelId = key("CHANNEL_ID");
// Reply keys.
constexpr QLatin1String ReplyOnMessageId = key("REPLY_ON_MESSAGE_ID");
constexpr QLatin1String ReplyOnThreadId = key("REPLY_ON_THREAD_ID");
// Stanza parameter that carries the message's user name.
constexpr QLatin1String UserName = key("USERNAME");
// Local-only keys of the stored form.
constexpr QLatin1String Views = key("_views");
constexpr QLatin1String Likes = key("_likes");
constexpr QLatin1String Liked = key("_liked");
constexpr QLatin1String State = key("_state");
constexpr QLatin1String Edited = key("_edited");
constexpr QLatin1String SendFailureReason = key("_sendFailure");
constexpr QLatin1String FileLocalPath = key("FILE_LOCAL_PATH");
// Payload keys.
constexpr QLatin1String StickerVersion = key("STICKER_VERSION");
constexpr QLatin1String StickerPackageId = key("STICKER_PACKAGE_ID");
constexpr QLatin1String StickerId = key("STICKER_ID");
constexpr QLatin1String FileUrl = key("FILE_URL");
constexpr QLatin1String FileId = key("FILE_ID");
constexpr QLatin1String FileSize = key("FILE_SIZE");
constexpr QLatin1String FileName = key("FILE_NAME");
constexpr QLatin1String FileType = key("FILE_TYPE");
constexpr QLatin1String FileThumbnailUrl = key("FILE_THUMBNAIL_URL");
constexpr QLatin1String FileImageWidth = key("FILE_IMAGE_WIDTH");
constexpr QLatin1String FileImageHeight = key("FILE_IMAGE_HEIGHT");
constexpr QLatin1String FileVideoDuration = key("FILE_TYPE_VIDEO_DURATION");
constexpr QLatin1String FilePushToTalkDuration = key("FILE_TYPE_PUSH_TO_TALK_DURATION");
constexpr QLatin1String LocationLongitude = key("LOCATION_LONGITUDE");
constexpr QLatin1String LocationLatitude = key("LOCATION_LATITUDE");
constexpr QLatin1String PollDataKey = key("POLL_DATA");
constexpr QLatin1String PollId = key("POLL_ID");
// Control-message bodies.
constexpr QLatin1String SecondaryMessageId = key("SECONDARY_MESSAGE_ID");
constexpr QLatin1String MessageIds = key("MESSAGE_IDS");
constexpr QLatin1String SeenTimeInGmt = key("SEEN_TIME_IN_GMT");
constexpr QLatin1String EditedText = key("EDITED_TEXT");
constexpr QLatin1String UpdateTimestamp = key("UPDATE_TIMESTAMP");
constexpr QLatin1String OriginalMessageId = key("ORIGINAL_MESSAGE_ID");
constexpr QLatin1String MessageContent = key("MESSAGE_CONTENT");
constexpr QLatin1String ConversationTypeKey = key("CONVERSATION_TYPE");
constexpr QLatin1String ConversationId = key("CONVERSATION_ID");
constexpr QLatin1String MuteStatus = key("MUTE_STATUS");
constexpr QLatin1String Jid = key("JID");
constexpr QLatin1String RemovedUserId = key("REMOVED_USER_ID");
constexpr QLatin1String AddedBy = key("ADDED_BY");
constexpr QLatin1String UserRole = key("USER_ROLE");
constexpr QLatin1String ChangeUserId = key("CHANGE_USER_ID");
constexpr QLatin1String OldRole = key("OLD_ROLE");
constexpr QLatin1String NewRole = key("NEW_ROLE");
} // namespace MessageKeys

#endif // MESSAGEKEYS_H
