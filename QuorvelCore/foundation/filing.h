#ifndef FILING_H
#define FILING_H

#include "foundation/quorvelcore_export.h"

#include <QByteArray>
#include <QIODevice>
#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>

// Small whole-file helpers.
class QUORVELCORE_EXPORT Filing
{
public:
    static bool readFromFile(const QString& path, QByteArray* out);
    static bool write2File(const QString& path, const QByteArray& data, QIODevice::OpenMode mode);
    static bool readJsonArray(const QString& path, QJsonArray* out);
    static bool readJsonObject(const QString& path, QJsonObject* out);
    static bool writeJsonValue(const QString& path, const QJsonValue& value);
};

#endif // FILING_H
