#include "Managers/Chat/conversationedits.h"

#include "foundation/htmlmanager.h"
#include "foundation/simpleqtlogger.h"

bool ConversationEdits::apply(Chat* chat, const Message& message, bool toDisplayText,
                              Message* edited)
{
    const EditMessage edit = message.getEditMessage();
    Message original;
    if (!chat || !chat->getMessage(edit.getEditedMessageId(), &original))
        return false;
    if (original.getUserId() != message.getUserId()) {
        L_WARN(QStringLiteral("ConversationEdits::apply | %1 may not edit %2 of %3")
                   .arg(message.getUserId(), edit.getEditedMessageId(), original.getUserId()));
        return false;
    }
    QString text = edit.getEditedText();
    if (toDisplayText)
        text = HtmlManager::insertHtmlTags(text);
    return chat->editMessage(edit.getEditedMessageId(), text) &&
           chat->getMessage(edit.getEditedMessageId(), edited);
}

void ConversationEdits::addReplyMessages(MessageReply* reply,
                                         const std::function<Chat*(const QString&)>& chatOf)
{
    const QList<Message> messages = reply->getMsgs();
    for (const Message& message : messages) {
        const QString repliedId = message.getReplyOnMessageId();
        if (repliedId.isEmpty() || reply->getReplyMessages().contains(repliedId))
            continue;
        Chat* chat = chatOf(message.getChatId());
        Message replied;
        if (chat && chat->getMessage(repliedId, &replied))
            reply->addReplyMessage(replied);
    }
}
