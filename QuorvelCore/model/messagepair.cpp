#include "model/messagepair.h"

void MessagePair::fromPair(const MessagePair& other)
{
    message = other.message;
    replyMessage = other.replyMessage;
}
