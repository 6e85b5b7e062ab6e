#ifndef EMOJIMANAGER_H
#define EMOJIMANAGER_H

#include "foundation/quorvelcore_export.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

// Converts emoji characters in message text to the image tags the rich-text views show
// (<img src=":/emojis/png/<code>.png"/>) and back. An emoji is known exactly when its
// picture is among the program's resources.
class QUORVELCORE_EXPORT EmojiManager : public QObject
{
    Q_OBJECT
public:
    explicit EmojiManager(QObject* parent = nullptr);

    static QString insertEmojiTags(const QString& text);
    static QString replaceEmojiTags(const QString& text);

private:
    static bool findSurrogates(const QString& text, int position, QString* tag, int* length);
    static bool findOthers(const QString& text, int position, QString* tag, int* length);
    static bool findKeycap(const QString& text, int position, QString* tag, int* length);

    static bool emojiExists(uint codePoint);
    static bool emojiExists(const QList<uint>& codePoints);
    static bool emojiExists(const QString& path);
    static QString getEmojiFileName(uint codePoint);
    static QString getEmojiFileName(const QList<uint>& codePoints);
    static QString getHtmlTag(const QString& path);
    static QString getNumberString(uint codePoint);

    static bool toUnicodeChar(const QString& code, QString* characters);
    static QString doReplacements(const QString& text, const QHash<int, QString>& tags,
                                  const QHash<int, int>& lengths);
};

#endif // EMOJIMANAGER_H
