// The Manager's contact commands and the answers of the contact manager.

#include "Managers/Chat/chatmanager.h"
#include "Managers/Contact/contactmanager.h"
#include "Managers/XMPP/xmppmanager.h"
#include "Managers/manager.h"

void Manager::setupContactConnections()
{
    auto relay = [this](Command command) {
        return [this, command](const Contact& contact) {
            answer(command, QVariant::fromValue(contact));
        };
    };
    connect(contactManager, &ContactManager::contactAdded, this, relay(CMD_AddContact));
    connect(contactManager, &ContactManager::contactUpdated, this, relay(CMD_UpdateContact));
    connect(contactManager, &ContactManager::otherContactAdded, this, relay(CMD_GetContact));
    connect(contactManager, &ContactManager::chatRecipientData, this, &Manager::chatRecipientData);
    connect(contactManager, &ContactManager::userProfileReady, this,
            &Manager::respondGetUserProfile);
    connect(contactManager, &ContactManager::runMembersReply, this, [this](const Members& members) {
        answer(CMD_RunMembers, QVariant::fromValue(members));
    });
    connect(contactManager, &ContactManager::commandResponse, this, &Manager::commandResponse);
    connect(contactManager, &ContactManager::notification, this, &Manager::notification);
    connect(contactManager, &ContactManager::getQuorvelID, this,
            [this](const QString& id) { answer(CMD_GetQuorvelId, id); });
}

void Manager::addContactCommands(CommandTable* table)
{
    table->insert(CMD_GetUserProfile,
                  [](Manager& m, const QVariant&) { m.respondGetUserProfile(); });
    table->insert(CMD_UserProfile,
                  [](Manager& m, const QVariant&) { m.contactManager->startUserProfile(); });
    table->insert(CMD_SetProfile, [](Manager& m, const QVariant& in) {
        m.contactManager->startSetProfile(toContact(in));
    });
    table->insert(CMD_SetQuorvelId, [](Manager& m, const QVariant& in) {
        m.contactManager->startSetQuorvelID(toString(in));
    });
    table->insert(CMD_GetQuorvelId,
                  [](Manager& m, const QVariant&) { m.contactManager->startGetQuorvelID(); });
    table->insert(CMD_AddContact, [](Manager& m, const QVariant& in) {
        m.contactManager->addInitialContact(toContact(in));
    });
    table->insert(CMD_UpdateContact,
                  [](Manager& m, const QVariant& in) { m.respondUpdateContact(toContact(in)); });
    table->insert(CMD_DeleteContact, [](Manager& m, const QVariant& in) {
        const Contact contact = toContact(in);
        m.contactManager->removeContact(contact);
        m.answer(CMD_DeleteContact, QVariant::fromValue(contact));
    });
    table->insert(CMD_UpdateMuteStatus, [](Manager& m, const QVariant& in) {
        const Contact contact = toContact(in);
        m.contactManager->setContactMute(contact.getNumber(), contact.getMute());
        m.sendConversationMuteStatusChange(ConversationType::USER, contact.getNumber(),
                                           contact.getMute());
    });
    table->insert(CMD_BlockUser, [](Manager& m, const QVariant& in) {
        const Contact contact = toContact(in);
        m.contactManager->setContactBlocked(contact.getMemberID(), contact.getBlocked());
        m.xmppManager->blockUser(contact.getMemberID(), contact.getBlocked());
        m.userContact = contact;
    });
    table->insert(CMD_GetContacts, [](Manager& m, const QVariant&) { m.respondGetContacts(); });
    table->insert(CMD_RunMembers, [](Manager& m, const QVariant& in) {
        m.contactManager->addMembersRequest(in.value<Members>());
    });
    table->insert(CMD_DeactivateUser, [](Manager& m, const QVariant&) {
        m.contactManager->startDeactivateUser();
        m.respondGetSettings();
    });
    table->insert(CMD_GetContact,
                  [](Manager& m, const QVariant& in) { m.respondGetContact(toString(in)); });
    table->insert(CMD_ReSyncContacts, [](Manager& m, const QVariant&) {
        m.contactManager->startSyncGet();
        m.answer(CMD_ReSyncContacts, true);
    });
    table->insert(CMD_LastSeen, [](Manager& m, const QVariant& in) {
        m.xmppManager->sendLastSeen(toString(in));
    });
}

void Manager::respondGetUserProfile()
{
    answer(CMD_GetUserProfile, QVariant::fromValue(contactManager->getUserContact()));
}

void Manager::respondUpdateContact(const Contact& contact)
{
    contactManager->updateContact(contact);
    Contact stored;
    if (!contactManager->getContact(contact.getNumber(), &stored))
        stored = contact;
    answer(CMD_UpdateContact, QVariant::fromValue(stored));
}

void Manager::userBlocked()
{
    answer(CMD_BlockUser, QVariant::fromValue(userContact));
}

void Manager::respondGetContacts()
{
    answer(CMD_GetContacts, QVariant::fromValue(contactManager->getAllContacts()));
}

void Manager::respondGetContact(const QString& number)
{
    Contact stored;
    if (contactManager->getContact(number, &stored))
        answer(CMD_GetContact, QVariant::fromValue(stored));
    else
        contactManager->startProfile(number);
}
