#include "chat/messagesummary.h"

#include "foundation/htmlmanager.h"
#include "model/message.h"
#include "widgets/biditext.h"

QString MessageSummary::plainBody(const Message& message)
{
    // A summary sits beside other text (a name, a prefix): each direction
    // control of the body stays in a run of its own and reorders nothing.
    return BidiText::confinedControls(
        HtmlManager::toPlainText(message.getMessageBody()).simplified());
}

const char* MessageSummary::kindKey(const Message& message, const char* pollKey)
{
    switch (message.getMinorType()) {
    case MessageBase::MsgMinorType_Sticker:
        return "_Sticker";
    case MessageBase::MsgMinorType_Location:
        return "_Location";
    case MessageBase::MsgMinorType_Poll:
        return pollKey;
    case MessageBase::MsgMinorType_File:
        break;
    default:
        return nullptr;
    }
    switch (message.getFileMessage().getFileType()) {
    case FileMessage::MsgFileType_Image:
        return "_MsgFileType_Image";
    case FileMessage::MsgFileType_Video:
        return "_MsgFileType_Video";
    case FileMessage::MsgFileType_Gif:
        return "_MsgFileType_Gif";
    case FileMessage::MsgFileType_PushToTalk:
        return "_MsgFileType_PushToTalk";
    case FileMessage::MsgFileType_Other:
        return "_MsgFileType_Other";
    default:
        return nullptr;
    }
}

QString MessageSummary::kindText(const Message& message, const QString& translatedKey)
{
    if (message.getMinorType() == MessageBase::MsgMinorType_File &&
        message.getFileMessage().getFileType() == FileMessage::MsgFileType_Other)
        return translatedKey + QStringLiteral(": ") + message.getFileMessage().getFileName();
    return translatedKey;
}
