#ifndef MESSAGEKEYS_H
#define MESSAGEKEYS_H

#include <QLatin1String>

// JSON keys of messages and of the bodies that ride in them. Constant
// expressions, so they are usable during static initialisation too.
namespace MessageKeys {
// Public keys.
constexpr QLatin1String UserId("USER_ID");
constexpr QLatin1String MessageId("MESSAGE_ID");
constexpr QLatin1String MessageBody("MESSAGE_BODY");
constexpr QLatin1String MajorType("MAJOR_TYPE");
constexpr QLatin1String MinorType("MINOR_TYPE");
constexpr QLatin1String SendTimeInGmt("SEND_TIME_IN_GMT");
constexpr QLatin1String MessageUserName("MESSAGE_USERNAME");
// Chat-id keys, chosen by the major type.
constexpr QLatin1String From("FROM");
constexpr QLatin1String ChannelId("CHANNEL_ID");
// Reply keys.
constexpr QLatin1String ReplyOnMessageId("REPLY_ON_MESSAGE_ID");
constexpr QLatin1String ReplyOnThreadId("REPLY_ON_THREAD_ID");
// Stanza parameter that carries the message's user name.
constexpr QLatin1String UserName("USERNAME");
// Local-only keys of the stored form.
constexpr QLatin1String Views("_views");
constexpr QLatin1String Likes("_likes");
constexpr QLatin1String Liked("_liked");
constexpr QLatin1String State("_state");
constexpr QLatin1String Edited("_edited");
constexpr QLatin1String FileLocalPath("FILE_LOCAL_PATH");
// Payload keys.
constexpr QLatin1String StickerVersion("STICKER_VERSION");
constexpr QLatin1String StickerPackageId("STICKER_PACKAGE_ID");
constexpr QLatin1String StickerId("STICKER_ID");
constexpr QLatin1String FileUrl("FILE_URL");
constexpr QLatin1String FileId("FILE_ID");
constexpr QLatin1String FileSize("FILE_SIZE");
constexpr QLatin1String FileName("FILE_NAME");
constexpr QLatin1String FileType("FILE_TYPE");
constexpr QLatin1String FileThumbnailUrl("FILE_THUMBNAIL_URL");
constexpr QLatin1String FileImageWidth("FILE_IMAGE_WIDTH");
constexpr QLatin1String FileImageHeight("FILE_IMAGE_HEIGHT");
constexpr QLatin1String FileVideoDuration("FILE_TYPE_VIDEO_DURATION");
constexpr QLatin1String FilePushToTalkDuration("FILE_TYPE_PUSH_TO_TALK_DURATION");
constexpr QLatin1String LocationLongitude("LOCATION_LONGITUDE");
constexpr QLatin1String LocationLatitude("LOCATION_LATITUDE");
constexpr QLatin1String PollDataKey("POLL_DATA");
constexpr QLatin1String PollId("POLL_ID");
// Control-message bodies.
constexpr QLatin1String SecondaryMessageId("SECONDARY_MESSAGE_ID");
constexpr QLatin1String MessageIds("MESSAGE_IDS");
constexpr QLatin1String SeenTimeInGmt("SEEN_TIME_IN_GMT");
constexpr QLatin1String EditedText("EDITED_TEXT");
constexpr QLatin1String UpdateTimestamp("UPDATE_TIMESTAMP");
constexpr QLatin1String OriginalMessageId("ORIGINAL_MESSAGE_ID");
constexpr QLatin1String MessageContent("MESSAGE_CONTENT");
constexpr QLatin1String ConversationTypeKey("CONVERSATION_TYPE");
constexpr QLatin1String ConversationId("CONVERSATION_ID");
constexpr QLatin1String MuteStatus("MUTE_STATUS");
constexpr QLatin1String Jid("JID");
constexpr QLatin1String RemovedUserId("REMOVED_USER_ID");
constexpr QLatin1String AddedBy("ADDED_BY");
constexpr QLatin1String UserRole("USER_ROLE");
constexpr QLatin1String ChangeUserId("CHANGE_USER_ID");
constexpr QLatin1String OldRole("OLD_ROLE");
constexpr QLatin1String NewRole("NEW_ROLE");
} // namespace MessageKeys

#endif // MESSAGEKEYS_H
