#include "model/messagerequest.h"

bool MessageRequest::isEqual(const MessageRequest& other) const
{
    return chatId == other.chatId && messageId == other.messageId && number == other.number;
}
