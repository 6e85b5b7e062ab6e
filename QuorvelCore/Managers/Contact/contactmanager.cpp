#include "Managers/Contact/contactmanager.h"

#include "foundation/datetime.h"
#include "foundation/simpleqtlogger.h"
#include "model/jsonnumbers.h"

#include <QJsonDocument>

namespace {
const QString kStoreName = QStringLiteral("contactsDB");
const QString kFirstTimeLaunch = QStringLiteral("FIRST_TIME_LAUNCH");
const QString kUserProfile = QStringLiteral("userProfile");
const QString kContactNumbers = QStringLiteral("contactNumbers");
const QString kContactList = QStringLiteral("ContactList");
const QString kMembers = QStringLiteral("Members");
const qint64 kLowestNumber = 100000000000LL;
const qint64 kHighestNumber = 999999999999LL;

QJsonArray arrayOf(const QStringList& values)
{
    QJsonArray array;
    for (const QString& value : values)
        array.append(value);
    return array;
}

QJsonObject parseObject(const QString& text)
{
    return QJsonDocument::fromJson(text.toUtf8()).object();
}
} // namespace

ContactManager::ContactManager(QObject* parent) : AbstractManager(parent) {}

ContactManager::~ContactManager() = default;

void ContactManager::startLoading()
{
    L_DEBUG(QStringLiteral("ContactManager::startLoading() | #START %1")
                .arg(DateTime::getDateTimeInMSecs()));
    db.setDBName(kStoreName);
    loadUserProfile();
    loadContacts();
    loadFirstTimeLaunch();
    emit loadingFinished();
    L_DEBUG(QStringLiteral("ContactManager::startLoading() | #END %1")
                .arg(DateTime::getDateTimeInMSecs()));
}

void ContactManager::loadUserProfile()
{
    QString text;
    if (db.get(kUserProfile, &text)) {
        userContact = Contact(parseObject(text));
        return;
    }
    send(PROC_UserProfile);
    L_DEBUG(QStringLiteral("ContactManager::startLoading | user profile not present"));
}

void ContactManager::loadContacts()
{
    QJsonArray numbers;
    db.get(kContactNumbers, &numbers);
    storedNumbers.clear();
    for (const QJsonValue& value : qAsConst(numbers))
        storedNumbers.insert(value.toString());
    if (numbers.isEmpty())
        L_DEBUG(QStringLiteral("ContactManager::startLoading | contactList is empty..."));
    for (const QJsonValue& value : qAsConst(numbers)) {
        if (!value.isString())
            continue;
        QString text;
        if (!db.get(value.toString(), &text))
            continue;
        Contact contact;
        if (!contact.setDataFromJson(parseObject(text)))
            continue;
        contact.setIsMyContact(true);
        contactList.insert(contact.getNumber(), contact);
    }
}

void ContactManager::loadFirstTimeLaunch()
{
    bool stored = false;
    if (!getFirstTimeLaunch(&stored)) {
        setFirstTimeLaunch(true);
    } else if (stored) {
        setFirstTimeLaunch(false);
    } else {
        firstTimeLaunch = false;
    }
}

bool ContactManager::getFirstTimeLaunch(bool* out) const
{
    return db.get(kFirstTimeLaunch, out);
}

void ContactManager::setFirstTimeLaunch(bool value)
{
    firstTimeLaunch = value;
    db.put(kFirstTimeLaunch, value);
}

void ContactManager::onInitialize(const QStringList& chatRecipientNumbers)
{
    requestUserProfile();
    startSyncGet();
    QStringList strangers;
    for (const QString& number : chatRecipientNumbers) {
        if (!contactList.contains(number))
            strangers.append(number);
    }
    awaitedRecipients.unite(QSet<QString>(strangers.begin(), strangers.end()));
    startMembers(strangers);
}

// ---- web-service requests -------------------------------------------------

void ContactManager::send(Procedure procedure, const QHash<QString, QJsonValue>& inputs)
{
    // Requests without inputs go out through the same signal, which the
    // Manager forwards to the web service.
    emit start(procedure, inputs);
}

void ContactManager::startSetProfile(const Contact& contact)
{
    startSetProfile(contact.getNickName(), contact.getMotto(), contact.getAvatarThumbnailUrl(),
                    contact.getAvatarUrl());
}

void ContactManager::startSetProfile(const QString& nickname, const QString& motto,
                                     const QString& avatarThumbnailUrl, const QString& avatarUrl)
{
    QHash<QString, QJsonValue> inputs;
    inputs.insert(QStringLiteral("Nickname"), nickname);
    inputs.insert(QStringLiteral("Motto"), motto);
    inputs.insert(QStringLiteral("AvatarThumbnailURL"), avatarThumbnailUrl);
    inputs.insert(QStringLiteral("AvatarURL"), avatarUrl);
    send(PROC_SetProfile, inputs);
}

void ContactManager::startDeactivateUser()
{
    send(PROC_DeactivateUser);
}

void ContactManager::startUserProfile()
{
    send(PROC_UserProfile);
}

void ContactManager::requestUserProfile()
{
    send(PROC_UserProfile);
    if (!userContact.isEmpty())
        emit userProfileReady();
}

void ContactManager::startProfile(const QString& number)
{
    send(PROC_Profile, {{kContactList, QJsonArray{number}}});
}

void ContactManager::startMembers(const QStringList& numbers)
{
    sendMembers(numbers, QString());
}

void ContactManager::sendMembers(const QStringList& numbers, const QString& requestId)
{
    if (numbers.isEmpty())
        return;
    membersCalls.append(MembersCall{QSet<QString>(numbers.begin(), numbers.end()), requestId});
    send(PROC_Members, {{kContactList, arrayOf(numbers)}});
}

void ContactManager::startSyncAll()
{
    send(PROC_SyncAll, {{kContactList, getContactPairs()}});
}

void ContactManager::startSyncGet()
{
    send(PROC_SyncGet);
}

void ContactManager::sendSyncChange(const QString& number, const QString& name,
                                    const QString& action)
{
    const QJsonObject change{{QStringLiteral("Number"), number},
                             {QStringLiteral("Name"), name},
                             {QStringLiteral("Action"), action}};
    send(PROC_SyncChanges, {{QStringLiteral("ContactChangesList"), QJsonArray{change}}});
}

void ContactManager::startSyncAddContact(const QString& number, const QString& name)
{
    sendSyncChange(number, name, QStringLiteral("Add"));
}

void ContactManager::startSyncUpdateContact(const QString& number, const QString& name)
{
    sendSyncChange(number, name, QStringLiteral("Update"));
}

void ContactManager::startSyncRemoveContact(const QString& number)
{
    sendSyncChange(number, QString(), QStringLiteral("Delete"));
}

void ContactManager::startSetQuorvelID(const QString& id)
{
    send(PROC_QuorvelIdSet, {{QStringLiteral("QuorvelId"), id}});
}

void ContactManager::startGetQuorvelID()
{
    send(PROC_QuorvelIdGet);
}

QJsonArray ContactManager::getContactPairs() const
{
    QJsonArray pairs;
    for (auto it = contactList.constBegin(); it != contactList.constEnd(); ++it) {
        pairs.append(QJsonObject{{QStringLiteral("Number"), it.key()},
                                 {QStringLiteral("Name"), it.value().getDisplayName()}});
    }
    return pairs;
}

// ---- replies --------------------------------------------------------------

void ContactManager::processReply(Procedure procedure, const QJsonObject& reply)
{
    switch (procedure) {
    case PROC_SetProfile:
        send(PROC_UserProfile);
        break;
    case PROC_DeactivateUser:
        removeAllContacts();
        break;
    case PROC_UserProfile: {
        const QJsonArray members = reply.value(kMembers).toArray();
        Contact own;
        if (!members.isEmpty() && own.setDataFromJson(members.first().toObject())) {
            userContact = own;
            saveUserContact();
            emit userProfileReady();
        } else if (!members.isEmpty()) {
            L_WARN(QStringLiteral("ContactManager::processReply | user profile lacks keys"));
        }
        break;
    }
    case PROC_Members:
        processMembersReply(reply.value(kMembers).toArray());
        break;
    case PROC_Profile:
    case PROC_SyncAll:
    case PROC_SyncChanges:
        processMembers(reply.value(kMembers).toArray());
        break;
    case PROC_SyncGet:
        processContacts(reply.value(QStringLiteral("Contacts")).toArray());
        break;
    case PROC_QuorvelIdGet:
        emit getQuorvelID(reply.value(QStringLiteral("QuorvelId")).toString());
        break;
    default:
        break;
    }
}

void ContactManager::processContacts(const QJsonArray& contacts)
{
    QStringList registered;
    // The contacts and the number list reach the store in one write.
    db.beginBatch();
    for (const QJsonValue& value : contacts) {
        const QJsonObject object = value.toObject();
        if (JsonNumbers::toInt(object.value(QStringLiteral("IsRegistered"))) != 1)
            continue;
        const QString number = object.value(QStringLiteral("Number")).toString();
        if (number.isEmpty() || contactList.contains(number))
            continue;
        addInitialContact(number, object.value(QStringLiteral("Name")).toString(), QString(), false,
                          &registered);
    }
    // The number list is written once for the whole reply.
    addContactNumbersToDB(registered);
    if (!db.commitBatch())
        L_ERROR(QStringLiteral("ContactManager::processContacts | cannot store the contacts: ") +
                db.lastError());
    if (!registered.isEmpty())
        startMembers(registered);
}

void ContactManager::processMembers(const QJsonArray& members)
{
    L_DEBUG(QStringLiteral("ContactManager::processMembers | #START"));
    QStringList numbers;
    db.beginBatch();
    for (const QJsonValue& value : members) {
        Contact contact;
        if (contact.setDataFromJson(value.toObject()))
            addContact(contact, &numbers);
    }
    addContactNumbersToDB(numbers);
    if (!db.commitBatch())
        L_ERROR(QStringLiteral("ContactManager::processMembers | cannot store the contacts: ") +
                db.lastError());
}

void ContactManager::processMembersReply(const QJsonArray& members)
{
    QSet<QString> ids;
    for (const QJsonValue& value : members)
        ids.insert(value.toObject().value(QStringLiteral("MemberID")).toString());

    // "Members" calls are answered in the order they were sent; a call whose
    // numbers cannot explain this reply got no answer and is passed.
    bool lostCurrent = false;
    while (!membersCalls.isEmpty()) {
        const MembersCall call = membersCalls.takeFirst();
        const bool answers = call.numbers.contains(ids);
        const bool isCurrent =
            !call.requestId.isEmpty() && call.requestId == currentMembersRequest.getRequestId();
        if (answers && isCurrent) {
            L_DEBUG(QStringLiteral("ContactManager::processMembers | currentMembersRequest is "
                                   "not empty"));
            completeMembersRequest(members);
            return;
        }
        if (answers)
            break;
        lostCurrent = lostCurrent || isCurrent;
    }
    L_DEBUG(QStringLiteral("ContactManager::processMembers | currentMembersRequest.isEmpty()"));
    processMembers(members);
    if (lostCurrent && !currentMembersRequest.isEmpty())
        runMembers(currentMembersRequest);
}

void ContactManager::completeMembersRequest(const QJsonArray& members)
{
    const QSet<QString> asked = currentMembersRequest.getNumbers();
    for (const QJsonValue& value : members) {
        Profile profile;
        if (profile.setDataFromJson(value.toObject()) && asked.contains(profile.getMemberID()))
            currentMembersRequest.addProfile(profile);
    }
    emit runMembersReply(currentMembersRequest);
    currentMembersRequest.clear();
    nextMembersRequest();
}

bool ContactManager::addContact(const Contact& arrived, QStringList* numbersToStore)
{
    const QString number = arrived.getNumber();
    if (contactList.contains(number)) {
        const Contact stored = contactList.value(number);
        Contact merged = arrived;
        merged.setDBFields(stored.getFirstName(), stored.getLastName(), stored.getMute(),
                           stored.getBlocked());
        merged.setIsMyContact(true);
        contactList.insert(number, merged);
        saveContact(merged);
        if (numbersToStore)
            numbersToStore->append(number);
        else
            addContactNumberToDB(number);
        emit contactUpdated(merged);
        return true;
    }
    loadedProfiles.insert(number, arrived);
    // A message that waited for its sender's profile is notified now, however
    // the profile was asked for; one of another sender keeps waiting.
    if (pendingNotification.isValid() && pendingNotification.getChatId() == number) {
        if (!arrived.getMute())
            notify(arrived, pendingNotification);
        pendingNotification.clear();
    }
    if (awaitedRecipients.remove(number)) {
        emit chatRecipientData(arrived);
    } else {
        emit otherContactAdded(arrived);
    }
    return false;
}

// ---- the address book -----------------------------------------------------

void ContactManager::addInitialContact(const Contact& contact)
{
    addInitialContact(contact.getNumber(), contact.getFirstName(), contact.getLastName(), true);
}

void ContactManager::addInitialContact(const QString& number, const QString& firstName,
                                       const QString& lastName, bool sync)
{
    addInitialContact(number, firstName, lastName, sync, nullptr);
}

void ContactManager::addInitialContact(const QString& number, const QString& firstName,
                                       const QString& lastName, bool sync,
                                       QStringList* numbersToStore)
{
    Contact contact;
    if (contactList.contains(number)) {
        // updateContact stores the names and sends the "Update" change.
        updateContact(number, firstName, lastName);
        contact = contactList.value(number);
    } else {
        // In the address book from the start, so that its display name is the
        // names given here.
        contact = Contact(number, firstName, lastName);
        contact.setIsMyContact(true);
        emit contactAdded(contact);
        if (sync)
            startSyncAddContact(number, contact.getDisplayName());
    }
    contact.setIsMyContact(true);
    contactList.insert(number, contact);
    saveContact(contact);
    if (numbersToStore)
        numbersToStore->append(number);
    else
        addContactNumberToDB(number);
}

void ContactManager::updateContact(const Contact& contact)
{
    updateContact(contact.getNumber(), contact.getFirstName(), contact.getLastName());
}

void ContactManager::updateContact(const QString& number, const QString& firstName,
                                   const QString& lastName)
{
    if (!contactList.contains(number)) {
        addInitialContact(number, firstName, lastName, true);
        return;
    }
    Contact contact = contactList.value(number);
    contact.setNames(firstName, lastName);
    contactList.insert(number, contact);
    saveContact(contact);
    startSyncUpdateContact(number, contact.getDisplayName());
}

void ContactManager::removeContact(const Contact& contact)
{
    removeContact(contact.getNumber());
}

void ContactManager::removeContact(const QString& number)
{
    db.del(number);
    contactList.remove(number);
    const QStringList numbers = contactList.keys();
    if (db.put(kContactNumbers, arrayOf(numbers)))
        storedNumbers = QSet<QString>(numbers.begin(), numbers.end());
    startSyncRemoveContact(number);
}

void ContactManager::removeAllContacts()
{
    for (auto it = contactList.constBegin(); it != contactList.constEnd(); ++it)
        db.del(it.key());
    contactList.clear();
}

bool ContactManager::setContactMute(const QString& number, bool mute)
{
    if (!contactList.contains(number))
        return false;
    Contact contact = contactList.value(number);
    contact.setMute(mute);
    contactList.insert(number, contact);
    saveContact(contact);
    addContactNumberToDB(number);
    emit commandResponse(CMD_UpdateMuteStatus, QVariant::fromValue(contact));
    return true;
}

bool ContactManager::setContactBlocked(const QString& number, bool blocked)
{
    if (!contactList.contains(number))
        return false;
    Contact contact = contactList.value(number);
    contact.setBlocked(blocked);
    contactList.insert(number, contact);
    saveContact(contact);
    addContactNumberToDB(number);
    return true;
}

bool ContactManager::getContact(const QString& number, Contact* out) const
{
    if (contactList.contains(number)) {
        *out = contactList.value(number);
        return true;
    }
    if (loadedProfiles.contains(number)) {
        *out = loadedProfiles.value(number);
        return true;
    }
    return false;
}

bool ContactManager::getChatRecipientProfile(const QString& number, Contact* out)
{
    if (contactList.contains(number)) {
        *out = contactList.value(number);
        return true;
    }
    // A partner outside the address book: the profile is fetched, and its
    // answer refreshes the chat entry; one fetched earlier is shown meanwhile.
    awaitedRecipients.insert(number);
    startProfile(number);
    if (loadedProfiles.contains(number)) {
        *out = loadedProfiles.value(number);
        return true;
    }
    return false;
}

bool ContactManager::getChatRecipientProfiles(const QStringList& numbers)
{
    awaitedRecipients.unite(QSet<QString>(numbers.begin(), numbers.end()));
    startMembers(numbers);
    return true;
}

void ContactManager::chatRecipients(const QStringList& numbers)
{
    QStringList strangers;
    for (const QString& number : numbers) {
        if (!contactList.contains(number))
            strangers.append(number);
    }
    startMembers(strangers);
}

void ContactManager::saveContact(const Contact& contact)
{
    db.put(contact.getNumber(), contact.toJsonObject());
}

void ContactManager::saveUserContact()
{
    db.put(kUserProfile, userContact.toJsonObject());
}

void ContactManager::addContactNumberToDB(const QString& number)
{
    addContactNumbersToDB(QStringList{number});
}

void ContactManager::addContactNumbersToDB(const QStringList& numbers)
{
    // Most calls add nothing (a profile of a known contact): the stored list
    // is read and written only when a number is new to it.
    QStringList added;
    for (const QString& number : numbers) {
        if (!storedNumbers.contains(number))
            added.append(number);
    }
    if (added.isEmpty())
        return;
    QJsonArray stored;
    db.get(kContactNumbers, &stored);
    QSet<QString> known;
    for (const QJsonValue& value : qAsConst(stored))
        known.insert(value.toString());
    bool changed = false;
    for (const QString& number : qAsConst(added)) {
        if (!known.contains(number)) {
            known.insert(number);
            stored.append(number);
            changed = true;
        }
    }
    if (!changed || db.put(kContactNumbers, stored))
        storedNumbers = known;
}

// ---- notifications --------------------------------------------------------

void ContactManager::notify(const Contact& contact, const Message& message)
{
    NotificationMessage note;
    note.setAvThUrl(contact.getAvatarThumbnailUrl());
    note.setMessage(message);
    note.setTitle(contact.getDisplayName());
    emit notification(note);
}

void ContactManager::sendNotification(const Message& message)
{
    L_DEBUG(QStringLiteral("ContactManager::sendNotification | #1 ") + message.getMessageId());
    L_DEBUG(QStringLiteral("ContactManager::sendNotification | #2 ") + message.getMessageId());
    const QString number = message.getChatId();
    if (contactList.contains(number)) {
        const Contact contact = contactList.value(number);
        if (!contact.getMute())
            notify(contact, message);
        return;
    }
    if (loadedProfiles.contains(number)) {
        const Contact contact = loadedProfiles.value(number);
        if (!contact.getMute())
            notify(contact, message);
        return;
    }
    pendingNotification = message;
}

// ---- member look-ups ------------------------------------------------------

QStringList ContactManager::removeNonNumbers(const QStringList& numbers)
{
    QStringList kept;
    for (const QString& number : numbers) {
        bool ok = false;
        const qint64 value = number.toLongLong(&ok, 10);
        if (ok && value >= kLowestNumber && value <= kHighestNumber)
            kept.append(number);
    }
    return kept;
}

void ContactManager::instantReplyMembersRequest(Members* request)
{
    Members reply;
    reply.setRequestId(request->getRequestId());
    const QStringList numbers = request->getNumbersList();
    for (const QString& number : numbers) {
        if (!contactList.contains(number))
            continue;
        request->removeNumber(number);
        reply.addNumber(number);
        reply.addProfile(contactList.value(number).getProfile());
    }
    if (reply.requestSize() > 0)
        emit runMembersReply(reply);
}

int ContactManager::membersRequestQueueContains(const QString& requestId) const
{
    for (int i = 0; i < membersRequestQueue.size(); ++i) {
        if (membersRequestQueue.at(i).getRequestId() == requestId)
            return i;
    }
    return -1;
}

void ContactManager::addMembersRequest(Members request)
{
    request.setNumbers(removeNonNumbers(request.getNumbersList()));
    if (request.requestSize() == 0)
        return;
    instantReplyMembersRequest(&request);
    if (request.requestSize() == 0)
        return;
    const int queued = membersRequestQueueContains(request.getRequestId());
    if (queued >= 0) {
        membersRequestQueue[queued].addNumbers(request.getNumbers());
    } else if (!currentMembersRequest.isEmpty()) {
        membersRequestQueue.append(request);
    } else {
        currentMembersRequest = request;
        runMembers(currentMembersRequest);
    }
}

void ContactManager::runMembers(const Members& request)
{
    L_DEBUG(QStringLiteral("ContactManager::runMembers | id = ") + request.getRequestId());
    sendMembers(request.getNumbersList(), request.getRequestId());
}

void ContactManager::nextMembersRequest()
{
    if (!currentMembersRequest.isEmpty() || membersRequestQueue.isEmpty())
        return;
    currentMembersRequest = membersRequestQueue.takeFirst();
    runMembers(currentMembersRequest);
}
