#include "servicestore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QSaveFile>

namespace {

const QString kAreaSuffix = QStringLiteral(".json");

bool writeAtomically(const QString& path, const QByteArray& data)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size() && file.commit();
}

} // namespace

ServiceStore::ServiceStore(const QString& folder) : dir(folder) {}

bool ServiceStore::isAreaName(const QString& area)
{
    static const QRegularExpression pattern(QStringLiteral("^[a-z][a-z0-9_]{0,39}$"));
    return pattern.match(area).hasMatch();
}

bool ServiceStore::open()
{
    areas.clear();
    if (dir.isEmpty())
        return true;
    if (!QDir().mkpath(dir) || !QDir().mkpath(QDir(dir).filePath(QStringLiteral("blobs")))) {
        error = QStringLiteral("cannot create %1").arg(dir);
        return false;
    }
    const QStringList files =
        QDir(dir).entryList({QLatin1Char('*') + kAreaSuffix}, QDir::Files, QDir::Name);
    for (const QString& name : files) {
        const QString area = name.left(name.size() - kAreaSuffix.size());
        if (!isAreaName(area))
            continue;
        QFile file(QDir(dir).filePath(name));
        if (!file.open(QIODevice::ReadOnly)) {
            error = QStringLiteral("cannot read %1").arg(file.fileName());
            return false;
        }
        QJsonParseError parseError;
        const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &parseError);
        if (parseError.error != QJsonParseError::NoError || !document.isObject()) {
            error = QStringLiteral("%1 is not a JSON object: %2")
                        .arg(file.fileName(), parseError.errorString());
            return false;
        }
        areas.insert(area, document.object());
    }
    return true;
}

QJsonValue ServiceStore::value(const QString& area, const QString& key) const
{
    return areas.value(area).value(key);
}

QJsonObject ServiceStore::object(const QString& area, const QString& key) const
{
    return value(area, key).toObject();
}

bool ServiceStore::contains(const QString& area, const QString& key) const
{
    return areas.value(area).contains(key);
}

QStringList ServiceStore::keys(const QString& area) const
{
    return areas.value(area).keys();
}

bool ServiceStore::setValue(const QString& area, const QString& key, const QJsonValue& value)
{
    if (!isAreaName(area))
        return false;
    QJsonObject content = areas.value(area);
    content.insert(key, value);
    if (!writeArea(area, content))
        return false;
    areas.insert(area, content);
    return true;
}

bool ServiceStore::remove(const QString& area, const QString& key)
{
    if (!contains(area, key))
        return true;
    QJsonObject content = areas.value(area);
    content.remove(key);
    if (!writeArea(area, content))
        return false;
    areas.insert(area, content);
    return true;
}

bool ServiceStore::writeArea(const QString& area, const QJsonObject& content)
{
    if (dir.isEmpty())
        return true;
    if (writeAtomically(areaPath(area), QJsonDocument(content).toJson(QJsonDocument::Compact)))
        return true;
    error = QStringLiteral("cannot write %1").arg(areaPath(area));
    return false;
}

QString ServiceStore::areaPath(const QString& area) const
{
    return QDir(dir).filePath(area + kAreaSuffix);
}

QString ServiceStore::blobPath(const QString& name) const
{
    // Hex keeps every name, however it was spelled, inside the blob folder.
    return QDir(dir).filePath(QStringLiteral("blobs/") +
                              QString::fromLatin1(name.toUtf8().toHex()));
}

bool ServiceStore::hasBlob(const QString& name) const
{
    if (name.isEmpty() || name.size() > 512)
        return false;
    if (dir.isEmpty())
        return memoryBlobs.contains(name);
    return QFileInfo(blobPath(name)).isFile();
}

QByteArray ServiceStore::blob(const QString& name) const
{
    if (!hasBlob(name))
        return QByteArray();
    if (dir.isEmpty())
        return memoryBlobs.value(name);
    QFile file(blobPath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool ServiceStore::setBlob(const QString& name, const QByteArray& content)
{
    if (name.isEmpty() || name.size() > 512)
        return false;
    if (dir.isEmpty()) {
        memoryBlobs.insert(name, content);
        return true;
    }
    return writeAtomically(blobPath(name), content);
}
