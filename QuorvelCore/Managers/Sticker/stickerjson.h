#ifndef STICKERJSON_H
#define STICKERJSON_H

#include "foundation/quorvelcore_export.h"

#include <QJsonObject>
#include <QString>

#include <functional>

// The way the sticker market's values read a reply object: keys in a fixed
// order, each field set as soon as its key is found, the walk ending at the
// first absent key.
class QUORVELCORE_EXPORT StickerJson
{
public:
    struct Field
    {
        const char* key;
        std::function<bool(const QJsonValue&)> read; // false ends the walk
    };

    static bool walk(const QJsonObject& object, const QList<Field>& fields);
    // Decimal text to a number (base 10); anything else 0.
    static int toInt(const QJsonValue& value);
    static double toDouble(const QJsonValue& value);
    // The shortest of fixed and exponent notation, 6 significant digits.
    static QString numberText(double value);
};

#endif // STICKERJSON_H
