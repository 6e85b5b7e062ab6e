#include "localgroups.h"

#include "localservice.h"
#include "servicestore.h"

#include <QJsonArray>

#include <algorithm>

namespace {
const QString kGroups = QStringLiteral("groups");
const QString kMessages = QStringLiteral("groupmessages");
const int kMaxKeptMessages = 5000;
} // namespace

LocalGroups::LocalGroups(LocalService* service) : QObject(service), service(service) {}

LocalGroups* LocalGroups::of(LocalService& service)
{
    if (auto* existing = service.findChild<LocalGroups*>(QString(), Qt::FindDirectChildrenOnly))
        return existing;
    return new LocalGroups(&service);
}

QStringList LocalGroups::ids() const
{
    return service->store()->keys(kGroups);
}

QJsonObject LocalGroups::group(const QString& id) const
{
    return service->store()->object(kGroups, id);
}

QHash<QString, QString> LocalGroups::members(const QString& id) const
{
    QHash<QString, QString> result;
    const QJsonObject list = group(id).value(QStringLiteral("Members")).toObject();
    for (auto it = list.constBegin(); it != list.constEnd(); ++it)
        result.insert(it.key(), it.value().toString());
    return result;
}

bool LocalGroups::isMember(const QString& id, const QString& user) const
{
    return !user.isEmpty() && members(id).contains(user);
}

bool LocalGroups::recordMessage(const QString& id, const QString& messageId, const QString& stanza,
                                qint64 time)
{
    if (!service->store()->contains(kGroups, id))
        return false;
    QJsonArray kept = service->store()->value(kMessages, id).toArray();
    for (const QJsonValue& value : qAsConst(kept)) {
        if (!messageId.isEmpty() && value.toObject().value("Id").toString() == messageId)
            return true;
    }
    int at = kept.size();
    while (at > 0 && qint64(kept.at(at - 1).toObject().value("Time").toDouble()) > time)
        --at;
    kept.insert(at, QJsonObject{{"Id", messageId}, {"Time", double(time)}, {"Stanza", stanza}});
    while (kept.size() > kMaxKeptMessages)
        kept.removeFirst();
    return service->store()->setValue(kMessages, id, kept);
}

qint64 LocalGroups::newestTime(const QString& id) const
{
    const QJsonArray kept = service->store()->value(kMessages, id).toArray();
    return kept.isEmpty() ? 0 : qint64(kept.last().toObject().value("Time").toDouble());
}

QStringList LocalGroups::messagesSince(const QString& user, const QStringList& ids,
                                       qint64 time) const
{
    QList<QPair<qint64, QString>> found;
    const QStringList groups = ids.isEmpty() ? service->store()->keys(kGroups) : ids;
    for (const QString& id : groups) {
        if (!isMember(id, user))
            continue;
        const QJsonArray kept = service->store()->value(kMessages, id).toArray();
        for (const QJsonValue& value : kept) {
            const qint64 at = qint64(value.toObject().value("Time").toDouble());
            if (at > time)
                found.append({at, value.toObject().value("Stanza").toString()});
        }
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    QStringList stanzas;
    for (const auto& entry : qAsConst(found))
        stanzas.append(entry.second);
    return stanzas;
}

QStringList LocalGroups::messagesBefore(const QString& id, const QString& messageId,
                                        int count) const
{
    const QJsonArray kept = service->store()->value(kMessages, id).toArray();
    int end = kept.size();
    if (!messageId.isEmpty()) {
        end = 0;
        for (int i = 0; i < kept.size(); ++i) {
            if (kept.at(i).toObject().value("Id").toString() == messageId) {
                end = i;
                break;
            }
        }
    }
    QStringList stanzas;
    for (int i = std::max(0, end - count); i < end; ++i)
        stanzas.append(kept.at(i).toObject().value("Stanza").toString());
    return stanzas;
}
