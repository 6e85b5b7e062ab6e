#ifndef CONTACTMANAGER_H
#define CONTACTMANAGER_H

#include "Managers/Contact/contact.h"
#include "Managers/command.h"
#include "foundation/abstractmanager.h"
#include "foundation/database.h"
#include "foundation/quorvelcore_export.h"
#include "model/members.h"
#include "model/message.h"
#include "model/notificationmessage.h"
#include "webapi/GeneralApi/procedure.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QSet>
#include <QStringList>
#include <QVariant>

// The user's address book on the core thread: contacts in the store
// "contactsDB", the user's own profile, synchronisation with the web service by
// phone number, member look-ups (one request in flight, the others queued) and
// the decision whether an incoming one-to-one message is notified.
class QUORVELCORE_EXPORT ContactManager : public AbstractManager
{
    Q_OBJECT
public:
    explicit ContactManager(QObject* parent = nullptr);
    ~ContactManager() override;

    // Called once loading has ended, with the numbers of the one-to-one chats.
    void onInitialize(const QStringList& chatRecipientNumbers);
    void processReply(Procedure procedure, const QJsonObject& reply);

    // Web-service requests.
    void startSetProfile(const Contact& contact);
    void startSetProfile(const QString& nickname, const QString& motto,
                         const QString& avatarThumbnailUrl, const QString& avatarUrl);
    void startDeactivateUser();
    void startUserProfile();
    void requestUserProfile();
    void startProfile(const QString& number);
    void startMembers(const QStringList& numbers);
    void startSyncAll();
    void startSyncGet();
    void startSyncAddContact(const QString& number, const QString& name);
    void startSyncUpdateContact(const QString& number, const QString& name);
    void startSyncRemoveContact(const QString& number);
    void startSetQuorvelID(const QString& id);
    void startGetQuorvelID();
    QJsonArray getContactPairs() const;

    // The address book.
    void addInitialContact(const Contact& contact);
    void addInitialContact(const QString& number, const QString& firstName, const QString& lastName,
                           bool sync);
    void updateContact(const Contact& contact);
    void updateContact(const QString& number, const QString& firstName, const QString& lastName);
    void removeContact(const Contact& contact);
    void removeContact(const QString& number);
    void removeAllContacts();
    bool setContactMute(const QString& number, bool mute);
    bool setContactBlocked(const QString& number, bool blocked);

    QHash<QString, Contact> getAllContacts() const { return contactList; }
    QHash<QString, Contact> getContactList() const { return contactList; }
    QStringList getContactNumbers() const { return contactList.keys(); }
    QHash<QString, Contact> getLoadedProfiles() const { return loadedProfiles; }
    void setLoadedProfiles(const QHash<QString, Contact>& value) { loadedProfiles = value; }
    Contact getUserContact() const { return userContact; }
    void setUserContact(const Contact& value) { userContact = value; }
    bool getContact(const QString& number, Contact* out) const;
    bool getChatRecipientProfile(const QString& number, Contact* out);
    bool getChatRecipientProfiles(const QStringList& numbers);
    // Reads the stored flag; false when it is not stored.
    bool getFirstTimeLaunch(bool* out) const;
    void setFirstTimeLaunch(bool value);

    void sendNotification(const Message& message);
    void addMembersRequest(Members request);

signals:
    void start(Procedure procedure, const QHash<QString, QJsonValue>& inputs);
    void start(Procedure procedure);
    void contactAdded(const Contact& contact);
    void contactUpdated(const Contact& contact);
    void otherContactAdded(const Contact& contact);
    void chatRecipientData(const Contact& contact);
    void userProfileReady();
    void runMembersReply(const Members& members);
    void notification(const NotificationMessage& notification);
    void commandResponse(Command command, const QVariant& output);
    void getQuorvelID(const QString& id);

public slots:
    void chatRecipients(const QStringList& numbers);
    void startLoading() override;

private:
    // One "Members" call sent and not yet answered: the numbers asked for and
    // the look-up it serves (empty for a plain profile fetch).
    struct MembersCall
    {
        QSet<QString> numbers;
        QString requestId;
    };

    void send(Procedure procedure, const QHash<QString, QJsonValue>& inputs = {});
    void sendSyncChange(const QString& number, const QString& name, const QString& action);
    void sendMembers(const QStringList& numbers, const QString& requestId);
    void loadUserProfile();
    void loadContacts();
    void loadFirstTimeLaunch();

    void processContacts(const QJsonArray& contacts);
    void processMembers(const QJsonArray& members);
    void processMembersReply(const QJsonArray& members);
    void completeMembersRequest(const QJsonArray& members);
    bool addContact(const Contact& contact, QStringList* numbersToStore);
    void addInitialContact(const QString& number, const QString& firstName, const QString& lastName,
                           bool sync, QStringList* numbersToStore);
    void notify(const Contact& contact, const Message& message);

    void saveContact(const Contact& contact);
    void saveUserContact();
    void addContactNumberToDB(const QString& number);
    void addContactNumbersToDB(const QStringList& numbers);

    static QStringList removeNonNumbers(const QStringList& numbers);
    void instantReplyMembersRequest(Members* request);
    int membersRequestQueueContains(const QString& requestId) const;
    void runMembers(const Members& request);
    void nextMembersRequest();

    QHash<QString, Contact> contactList;
    // The numbers in the stored number list.
    QSet<QString> storedNumbers;
    Contact userContact;
    QHash<QString, Contact> loadedProfiles;
    DataBase db;
    bool firstTimeLaunch = false;
    Members currentMembersRequest;
    QList<Members> membersRequestQueue;
    QSet<QString> awaitedRecipients;
    Message pendingNotification;
    QList<MembersCall> membersCalls;
};

#endif // CONTACTMANAGER_H
