#ifndef JSONNUMBERS_H
#define JSONNUMBERS_H

#include "foundation/quorvelcore_export.h"

#include <QJsonValue>
#include <QString>

// Readers for numbers that peers and the web service send either as JSON
// numbers or as decimal text. Every reader accepts both forms, so a value this
// code writes in either form always reads back. ok (when given) tells whether
// the value was a usable number; the result is then the default argument.
class QUORVELCORE_EXPORT JsonNumbers
{
public:
    static qint64 toInt64(const QJsonValue& value, qint64 defaultValue = 0, bool* ok = nullptr);
    static int toInt(const QJsonValue& value, int defaultValue = 0, bool* ok = nullptr);
    static uint toUInt(const QJsonValue& value, uint defaultValue = 0, bool* ok = nullptr);
    static double toDouble(const QJsonValue& value, double defaultValue = 0, bool* ok = nullptr);
    // Text form of a value for log lines ("<absent>", "<object>", the text, ...).
    static QString describe(const QJsonValue& value);
};

#endif // JSONNUMBERS_H
