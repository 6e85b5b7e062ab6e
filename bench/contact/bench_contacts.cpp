// Contact sync of an address book of 2,500, 5,000 and 10,000 registered
// contacts: the web service's contact list ("SyncGet") and then its member
// profiles ("SyncAll"), each reply handed to a freshly loaded ContactManager.
// Beside each figure, the store writes the sync needs done directly on a
// DataBase in the same run: every contact record written twice (added, then
// with its profile) and the number list once. The time above those writes
// per contact stays the same at every size when the sync is linear.
#include "Managers/Contact/contactmanager.h"
#include "benchhome.h"
#include "benchload.h"
#include "foundation/database.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
const int kRounds = 3;

QString numberOf(int i)
{
    return QString::number(989100000000LL + i);
}

QJsonObject syncGetReply(int count)
{
    QJsonArray contacts;
    for (int i = 0; i < count; ++i)
        contacts.append(QJsonObject{{"Name", QStringLiteral("Contact %1").arg(i)},
                                    {"Number", numberOf(i)},
                                    {"IsRegistered", "1"}});
    return QJsonObject{{"ResultCode", 200}, {"Contacts", contacts}};
}

QJsonObject membersReply(int count)
{
    QJsonArray members;
    for (int i = 0; i < count; ++i) {
        const QString id = numberOf(i);
        members.append(QJsonObject{{"MemberID", id},
                                   {"Nickname", "nick " + id},
                                   {"Motto", "motto"},
                                   {"CanReply", "1"},
                                   {"AvatarURL", "https://files.example/a/" + id},
                                   {"AvatarThumbnailURL", "https://files.example/t/" + id}});
    }
    return QJsonObject{{"ResultCode", 200}, {"Members", members}};
}

double msSince(const QElapsedTimer& timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The replies through a ContactManager whose store starts empty.
double syncThroughManager(const QJsonObject& contacts, const QJsonObject& members, int count)
{
    DataBase("contactsDB").remove();
    ContactManager manager;
    manager.startLoading();
    QElapsedTimer timer;
    timer.start();
    manager.processReply(PROC_SyncGet, contacts);
    manager.processReply(PROC_SyncAll, members);
    const double ms = msSince(timer);
    if (manager.getAllContacts().size() != count)
        std::printf("the manager holds %d contacts\n", int(manager.getAllContacts().size()));
    return ms;
}

// The same records written straight into a store of the same kind: the
// contact as added, the contact with its profile, and the number list.
double syncByHand(const QJsonObject& members, int count)
{
    DataBase store(QStringLiteral("bench-contacts-by-hand"));
    store.remove();
    store.setDBName(QStringLiteral("bench-contacts-by-hand"));
    const QJsonArray profiles = members.value("Members").toArray();
    QElapsedTimer timer;
    timer.start();
    QJsonArray numbers;
    store.beginBatch();
    for (int i = 0; i < count; ++i) {
        const QString number = numberOf(i);
        Contact added(number, QStringLiteral("Contact %1").arg(i), QString());
        store.put(number, added.toJsonObject());
        numbers.append(number);
    }
    store.put(QStringLiteral("contactNumbers"), numbers);
    store.commitBatch();
    store.beginBatch();
    for (int i = 0; i < count; ++i) {
        Contact profiled(profiles.at(i).toObject());
        profiled.setDBFields(QStringLiteral("Contact %1").arg(i), QString(), false, false);
        store.put(numberOf(i), profiled.toJsonObject());
    }
    store.commitBatch();
    return msSince(timer);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    printLoadAverage("start");
    QTemporaryDir home;
    usePrivateHome(home);

    std::printf("contact sync (contact list, then member profiles), medians of %d runs\n", kRounds);
    std::printf("%-10s %12s %14s %8s %16s\n", "contacts", "manager ms", "writes ms", "ratio",
                "above, us/contact");
    for (int count : {2500, 5000, 10000}) {
        const QJsonObject contacts = syncGetReply(count);
        const QJsonObject members = membersReply(count);
        std::vector<double> manager, hand;
        for (int round = 0; round < kRounds; ++round) {
            manager.push_back(syncThroughManager(contacts, members, count));
            hand.push_back(syncByHand(members, count));
        }
        const double m = median(manager);
        const double h = median(hand);
        std::printf("%-10d %12.1f %14.1f %8.2f %16.2f\n", count, m, h, m / h,
                    1000.0 * (m - h) / count);
    }
    std::printf("(linear: the last column stays level; goal: under 100 ms above the writes at "
                "10,000)\n");
    printLoadAverage("end");
    return 0;
}
