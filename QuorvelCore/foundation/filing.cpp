#include "foundation/filing.h"

#include "foundation/jsonvaluetostring.h"
#include "foundation/simpleqtlogger.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QSaveFile>
#include <QTextStream>

namespace {
bool readJson(const QString& path, QJsonDocument* doc)
{
    QByteArray data;
    if (!Filing::readFromFile(path, &data))
        return false;
    QJsonParseError error;
    *doc = QJsonDocument::fromJson(data, &error);
    if (error.error != QJsonParseError::NoError) {
        L_WARN(
            QStringLiteral("Filing::readJson | %1 is not JSON: %2").arg(path, error.errorString()));
        return false;
    }
    return true;
}
} // namespace

bool Filing::readFromFile(const QString& path, QByteArray* out)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    out->clear();
    out->append(file.readAll());
    return true;
}

bool Filing::write2File(const QString& path, const QByteArray& data, QIODevice::OpenMode mode)
{
    QFile file(path);
    if (!file.open(mode))
        return false;
    const bool written = file.write(data) == data.size() && file.flush();
    if (!written)
        L_WARN(QStringLiteral("Filing::write2File | short write to %1").arg(path));
    return written;
}

bool Filing::readJsonArray(const QString& path, QJsonArray* out)
{
    QJsonDocument doc;
    if (!readJson(path, &doc) || !doc.isArray())
        return false;
    *out = doc.array();
    return true;
}

bool Filing::readJsonObject(const QString& path, QJsonObject* out)
{
    QJsonDocument doc;
    if (!readJson(path, &doc) || !doc.isObject())
        return false;
    *out = doc.object();
    return true;
}

bool Filing::writeJsonValue(const QString& path, const QJsonValue& value)
{
    // Written to a temporary file and renamed, so a crash never leaves half a
    // document behind.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
        return false;
    QTextStream stream(&file);
    stream.setCodec("UTF-8");
    stream << jsonValueToString(value);
    stream.flush();
    return file.commit();
}
