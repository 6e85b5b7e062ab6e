#ifndef MESSAGESUMMARY_H
#define MESSAGESUMMARY_H

#include <QString>

class Message;

// One-line texts that stand for a message in the reply bar, the quoted reply
// and similar places.
namespace MessageSummary {

// The message's text as plain text on one line: emoji as characters, markup
// and runs of white space gone.
QString plainBody(const Message& message);

// The translation key of the word for a message's kind (sticker, image, ...),
// or null for plain text and kinds without a word; the caller translates it
// in its own context. pollKey names the poll's word, which differs by place.
const char* kindKey(const Message& message, const char* pollKey);

// The key's translation followed, for other files, by ": " and the file name.
QString kindText(const Message& message, const QString& translatedKey);

} // namespace MessageSummary

#endif // MESSAGESUMMARY_H
