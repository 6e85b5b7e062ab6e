#ifndef GROUPNOTICE_H
#define GROUPNOTICE_H

#include "model/groupmember.h"
#include "model/message.h"

#include <QCoreApplication>
#include <QString>

#include <functional>

// The words a group's board shows for a notice (someone added, removed or
// leaving, a role or the group's details changed), made here from the
// notice's fields with each person named as the user knows him. The text the
// notice carried is shown only for a kind this class does not know.
class GroupNotice
{
    Q_DECLARE_TR_FUNCTIONS(GroupNotice)
public:
    using NameOf = std::function<QString(const QString& userId)>;
    static QString text(const Message& notice, const NameOf& nameOf);
    // The notice with its people named from the group's members.
    static QString text(const Message& notice, const QHash<QString, GroupMember>& members);
    // A member as the user knows him: his nickname, else the user's name
    // for him as a contact, else his user name (shown as a number when it is
    // one).
    static QString personName(const QString& userId, const QString& nickname);
    // The same with the nickname the group's members answer gave him.
    static QString personName(const QString& userId, const QHash<QString, GroupMember>& members);
};

#endif // GROUPNOTICE_H
