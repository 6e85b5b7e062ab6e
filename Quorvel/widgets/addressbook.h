#ifndef ADDRESSBOOK_H
#define ADDRESSBOOK_H

#include "Managers/Contact/contact.h"

#include <QHash>
#include <QList>
#include <QObject>

// The GUI's copy of the user's address book, kept by the side panel from the
// core's answers, so that any screen can offer the user's contacts (the
// contact picker of a group or a channel) without asking the core again.
class AddressBook : public QObject
{
    Q_OBJECT
public:
    static AddressBook* getInstance();
    static void deleteInstance();

    void setContacts(const QHash<QString, Contact>& contacts);
    void addContact(const Contact& contact);
    void removeContact(const QString& number);
    bool contains(const QString& number) const { return known.contains(number); }
    Contact contact(const QString& number) const { return known.value(number); }
    // The contact whose account has this user name (his number, or the
    // member id the service matched his number to); false when none is.
    bool findUser(const QString& userName, Contact* out) const;
    // Every contact, by shown name without regard to case, then by number.
    QList<Contact> contacts() const;

signals:
    void changed();

private:
    AddressBook() = default;
    QHash<QString, Contact> known;
};

#endif // ADDRESSBOOK_H
