#ifndef HTMLMANAGER_H
#define HTMLMANAGER_H

#include "foundation/quorvelcore_export.h"

#include <QString>

// Conversions between the plain text of a message body and the HTML the message views show:
// escapes and line breaks, emoji images and links, and the text of rich-text documents.
class QUORVELCORE_EXPORT HtmlManager
{
public:
    static QString insertBasicTags(const QString& text);
    static QString replaceBasicTags(const QString& text);

    // Plain (peer) text to display HTML: escaped first, then emoji images and links.
    static QString insertHtmlTags(const QString& text);
    static QString replaceHtmlTags(const QString& text);
    static QString replaceHtmlTagsFromContainer(const QString& text);

    static QString toPlainText(const QString& html);
    static QString extractPureTextFromHtml(const QString& html);
    static QString extractCopyTextFromContainerHtml(const QString& html);

private:
    static QString escapeText(const QString& text);
    static QString getStartTagRegExp(const QString& tag);
    static QString getEndTagRegExp(const QString& tag);
    static QString getTagRegExp(const QString& tag);
    static QString getInsideTheTag(const QString& text, const QString& tag);
};

#endif // HTMLMANAGER_H
