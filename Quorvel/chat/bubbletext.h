#ifndef BUBBLETEXT_H
#define BUBBLETEXT_H

#include <QString>

class QTextDocument;

// The HTML that a message body is shown with. A body is text in which the
// emoji pictures and marked links are already tags and the markup characters
// of a received text are already character references; the user's own text
// may hold them bare. Only those tags, line breaks and the references pass as
// markup: any other "<", ">", "&" or quote shows literally, so typed text
// shows as typed and a peer's markup never renders.
namespace BubbleText {

QString safeHtml(const QString& body);
// The safe HTML of a body as a bubble shows it: each direction control of the
// text confined to a run of its own, so the text reads in its true order.
QString shownHtml(const QString& body);
// The text a document shows, character for character: emoji pictures as
// their characters, paragraphs and line breaks as line feeds.
QString plainText(const QTextDocument& document);

} // namespace BubbleText

#endif // BUBBLETEXT_H
