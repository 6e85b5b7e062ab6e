// Contact lists synced by each user and the look-ups of other users' profiles,
// matched by phone number among the activated accounts; the history of a
// one-to-one chat.

#include "localprocedures.h"
#include "localservice.h"
#include "servicestore.h"

#include <QJsonArray>

namespace {

const QString kContacts = QStringLiteral("contacts");
const int kMaxContacts = 5000;
const int kMaxName = 256;

// A synced entry: {"Number", "Name"}; false when it is not one.
bool readEntry(const QJsonValue& value, QString* number, QString* name)
{
    const QJsonObject entry = value.toObject();
    *number = entry.value("Number").toString();
    *name = entry.value("Name").toString().left(kMaxName);
    return !number->isEmpty() && number->size() <= 32;
}

bool readList(const QJsonObject& body, const QString& key, QJsonArray* list, ServiceReply* error)
{
    if (!body.value(key).isArray() || body.value(key).toArray().size() > kMaxContacts) {
        *error = LocalService::failure(400, QStringLiteral("bad ") + key);
        return false;
    }
    *list = body.value(key).toArray();
    return true;
}

// The member entry of a registered number as the caller knows it.
bool appendMember(const LocalService& service, const QString& number, QJsonArray* members)
{
    const QString user = service.usernameOfPhone(number);
    if (user.isEmpty())
        return false;
    QJsonObject member = service.memberOf(user);
    member.insert("Number", number);
    members->append(member);
    return true;
}

ServiceReply saveList(LocalService& service, const QString& username, const QJsonObject& list,
                      const QJsonArray& members)
{
    if (!service.store()->setValue(kContacts, username, list))
        return LocalService::failure(500, QStringLiteral("cannot keep the contacts"));
    emit service.contactsChanged(username);
    return ServiceReply::result(200, {{"Members", members}});
}

ServiceReply syncAll(LocalService& service, const ServiceRequest& request, const QString& username)
{
    QJsonObject body;
    QJsonArray entries;
    ServiceReply error;
    if (!LocalService::readBody(request, {"ContactList"}, &body, &error) ||
        !readList(body, "ContactList", &entries, &error))
        return error;
    QJsonObject list;
    QJsonArray members;
    for (const QJsonValue& value : entries) {
        QString number, name;
        if (!readEntry(value, &number, &name))
            return LocalService::failure(400, QStringLiteral("bad contact entry"));
        list.insert(number, name);
        appendMember(service, number, &members);
    }
    return saveList(service, username, list, members);
}

ServiceReply syncChanges(LocalService& service, const ServiceRequest& request,
                         const QString& username)
{
    QJsonObject body;
    QJsonArray changes;
    ServiceReply error;
    if (!LocalService::readBody(request, {"ContactChangesList"}, &body, &error) ||
        !readList(body, "ContactChangesList", &changes, &error))
        return error;
    QJsonObject list = service.store()->object(kContacts, username);
    QJsonArray members;
    for (const QJsonValue& value : changes) {
        QString number, name;
        const QString action = value.toObject().value("Action").toString();
        if (!readEntry(value, &number, &name))
            return LocalService::failure(400, QStringLiteral("bad contact entry"));
        if (action == QLatin1String("Delete")) {
            list.remove(number);
        } else if (action == QLatin1String("Add") || action == QLatin1String("Update")) {
            list.insert(number, name);
            appendMember(service, number, &members);
        } else {
            return LocalService::failure(400, QStringLiteral("bad Action"));
        }
        if (list.size() > kMaxContacts)
            return LocalService::failure(400, QStringLiteral("too many contacts"));
    }
    return saveList(service, username, list, members);
}

ServiceReply synced(LocalService& service, const QString& username)
{
    const QJsonObject list = service.store()->object(kContacts, username);
    QJsonArray contacts;
    for (auto it = list.constBegin(); it != list.constEnd(); ++it) {
        const bool registered = !service.usernameOfPhone(it.key()).isEmpty();
        contacts.append(QJsonObject{{"Number", it.key()},
                                    {"Name", it.value().toString()},
                                    {"IsRegistered", registered ? 1 : 0}});
    }
    return ServiceReply::result(200, {{"Contacts", contacts}});
}

// "members/": the caller's own profile or those of the listed numbers.
ServiceReply members(LocalService& service, const ServiceRequest& request, const QString& username)
{
    QJsonObject body;
    QJsonArray numbers;
    ServiceReply error;
    if (!LocalService::readBody(request, {"ContactList"}, &body, &error) ||
        !readList(body, "ContactList", &numbers, &error))
        return error;
    QJsonArray found;
    for (const QJsonValue& value : numbers) {
        if (!value.isString())
            return LocalService::failure(400, QStringLiteral("bad ContactList"));
        appendMember(service, value.toString(), &found);
    }
    return ServiceReply::result(200, {{"Members", found}});
}

// "CAPI/Userchat/Archive/": the history of the caller's chat with UserId.
// One-to-one messages pass only through the chat server, which keeps no
// history of them here: the answer is an honest empty page.
ServiceReply userChatArchive(const ServiceRequest& request)
{
    QJsonObject body;
    ServiceReply error;
    if (!LocalService::readBody(request, {"UserId", "MessageId", "Count"}, &body, &error))
        return error;
    const QString peer = body.value("UserId").toString();
    bool counted = false;
    const int count = body.value("Count").toVariant().toString().toInt(&counted);
    if (peer.isEmpty() || peer.size() > 64 || !body.value("MessageId").isString())
        return LocalService::failure(400, QStringLiteral("bad UserId or MessageId"));
    if (!counted || count <= 0)
        return LocalService::failure(400, QStringLiteral("bad Count"));
    return ServiceReply::result(200, {{"Messages", QJsonArray()}});
}

} // namespace

QStringList LocalProcedures::lastSeenWatchers(const LocalService& service)
{
    QStringList pairs;
    for (const QString& user : service.store()->keys(kContacts)) {
        const QJsonObject list = service.store()->object(kContacts, user);
        for (auto it = list.constBegin(); it != list.constEnd(); ++it) {
            const QString watcher = service.usernameOfPhone(it.key());
            if (!watcher.isEmpty() && watcher != user && !watcher.contains(QLatin1Char(' ')) &&
                !user.contains(QLatin1Char(' ')))
                pairs << user + QLatin1Char(' ') + watcher;
        }
    }
    return pairs;
}

void LocalProcedures::installContacts(LocalService& service)
{
    LocalService* s = &service;
    service.handleSigned("contacts/syncall/", [s](const ServiceRequest& r, const QString& user) {
        return syncAll(*s, r, user);
    });
    service.handleSigned(
        "contacts/syncchanges/",
        [s](const ServiceRequest& r, const QString& user) { return syncChanges(*s, r, user); });
    service.handleSigned("contacts/getSynced/", [s](const ServiceRequest&, const QString& user) {
        return synced(*s, user);
    });
    service.handleSigned("members/", [s](const ServiceRequest& r, const QString& user) {
        return members(*s, r, user);
    });
    service.handleSigned("CAPI/Userchat/Archive/", [](const ServiceRequest& r, const QString&) {
        return userChatArchive(r);
    });
}
