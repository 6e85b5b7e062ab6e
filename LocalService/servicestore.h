#ifndef SERVICESTORE_H
#define SERVICESTORE_H

#include <QByteArray>
#include <QHash>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <QStringList>

// The local service's own state: per area (accounts, contacts, files, and any
// area a procedure file adds) a key space of JSON values, plus named blobs
// (file contents). With a folder, every change is written at once and
// atomically (a complete new file replaces the old one), so the state survives
// the service being killed at any moment; without a folder it lives in memory.
// Area names are plain words; keys and blob names may hold any text (they are
// encoded before they touch the file system).
class ServiceStore
{
public:
    explicit ServiceStore(const QString& folder = QString());

    // Loads every area from the folder; false (with errorString) when one is
    // unreadable: the service then refuses to start rather than lose it.
    bool open();
    QString errorString() const { return error; }
    QString folder() const { return dir; }

    QJsonValue value(const QString& area, const QString& key) const;
    QJsonObject object(const QString& area, const QString& key) const;
    bool contains(const QString& area, const QString& key) const;
    QStringList keys(const QString& area) const;
    // False when the change could not be written; memory then keeps the old value.
    bool setValue(const QString& area, const QString& key, const QJsonValue& value);
    bool remove(const QString& area, const QString& key);

    bool hasBlob(const QString& name) const;
    QByteArray blob(const QString& name) const;
    bool setBlob(const QString& name, const QByteArray& content);

    static bool isAreaName(const QString& area);

private:
    bool writeArea(const QString& area, const QJsonObject& content);
    QString areaPath(const QString& area) const;
    QString blobPath(const QString& name) const;

    QString dir;
    QHash<QString, QJsonObject> areas;
    QHash<QString, QByteArray> memoryBlobs;
    QString error;
};

#endif // SERVICESTORE_H
