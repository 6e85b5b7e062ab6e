#ifndef LINKGENERATOR_H
#define LINKGENERATOR_H

#include "foundation/quorvelcore_export.h"

#include <QString>
#include <QStringList>

// Turns public links, @-words and #-words of a message text into anchors
// (<a href="word">word</a>) and anchors back into their shown text.
class QUORVELCORE_EXPORT LinkGenerator
{
public:
    // Host of the service's shareable links; only links to it become anchors.
    static QString getPublicLinkHost();

    static QString insertLinks(const QString& text);
    static QString replaceLinks(const QString& text);
    static QString replaceLinksFromContainerHtml(const QString& text);

private:
    static QStringList getPublicLinkPrefixes();
    static int skipTag(const QString& text, int position);
    static QString linkWord(const QString& word);
    static int findWordAfterSign(const QString& word, QChar sign, int* length);
    static QString generateLink(const QString& word);
    static bool findLinkTags(const QString& text, QStringList* anchors, QStringList* texts);
    static bool findLinkTagsFromContainerHtml(const QString& text, QStringList* anchors,
                                              QStringList* texts);
    static QString replaceAnchors(const QString& text, const QStringList& anchors,
                                  const QStringList& texts);
};

#endif // LINKGENERATOR_H
