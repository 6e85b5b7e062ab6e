#include "widgets/addressbook.h"

#include "foundation/simpleqtlogger.h"

#include <QPointer>

#include <algorithm>

namespace {
QPointer<AddressBook> instance;
}

AddressBook* AddressBook::getInstance()
{
    if (!instance)
        instance = new AddressBook;
    return instance;
}

void AddressBook::deleteInstance()
{
    L_DEBUG(QStringLiteral("AddressBook::deleteInstance() | "));
    delete instance;
}

void AddressBook::setContacts(const QHash<QString, Contact>& contacts)
{
    known.clear();
    for (auto it = contacts.constBegin(); it != contacts.constEnd(); ++it) {
        if (!it.value().getNumber().isEmpty())
            known.insert(it.value().getNumber(), it.value());
    }
    emit changed();
}

void AddressBook::addContact(const Contact& contact)
{
    if (contact.getNumber().isEmpty())
        return;
    known.insert(contact.getNumber(), contact);
    emit changed();
}

void AddressBook::removeContact(const QString& number)
{
    if (known.remove(number))
        emit changed();
}

bool AddressBook::findUser(const QString& userName, Contact* out) const
{
    if (userName.isEmpty())
        return false;
    auto it = known.constFind(userName);
    if (it == known.constEnd()) {
        it = std::find_if(known.constBegin(), known.constEnd(),
                          [&userName](const Contact& c) { return c.getMemberID() == userName; });
    }
    if (it == known.constEnd())
        return false;
    *out = it.value();
    return true;
}

QList<Contact> AddressBook::contacts() const
{
    QList<Contact> sorted = known.values();
    std::sort(sorted.begin(), sorted.end(), [](const Contact& a, const Contact& b) {
        const QString left = a.getNameOrNumber().toLower();
        const QString right = b.getNameOrNumber().toLower();
        return left != right ? left < right : a.getNumber() < b.getNumber();
    });
    return sorted;
}
