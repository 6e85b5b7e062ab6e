#pragma once

#include <QMap>
#include <QString>
#include <QStringList>
#include <QVector>

// The emoji that the program carries, read from Unicode's emoji test data: every
// fully-qualified emoji of one or two code points (variation selectors left out)
// whose characters the message text converter turns into a picture and back.
class EmojiList
{
public:
    struct Emoji
    {
        QVector<uint> codePoints; // without variation selectors
        QString text;             // the fully-qualified characters, for drawing
        QString category;         // picker category, empty when the picker does not list it
    };

    // The picker's categories, in their order.
    static const QStringList& categories();
    // The file name code: lower-case hexadecimal code points of at least four digits,
    // joined with "-".
    static QString code(const QVector<uint>& codePoints);
    // Whether the message text converter finds these code points in text.
    static bool convertible(const QVector<uint>& codePoints);

    bool read(const QString& emojiTestFile, QString* error);
    const QVector<Emoji>& emoji() const { return items; }
    QMap<QString, QStringList> codesByCategory() const;

private:
    QVector<Emoji> items;
};
