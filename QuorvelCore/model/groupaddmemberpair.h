#ifndef GROUPADDMEMBERPAIR_H
#define GROUPADDMEMBERPAIR_H

#include "foundation/quorvelcore_export.h"

#include <QMetaType>
#include <QString>
#include <QStringList>

// A group and the numbers to add to it (as members or administrators).
class QUORVELCORE_EXPORT GroupAddMemberPair
{
public:
    GroupAddMemberPair() = default;
    GroupAddMemberPair(const QString& jid, const QStringList& numbers) : jid(jid), numbers(numbers)
    {
    }

    QString getJid() const { return jid; }
    void setJid(const QString& value) { jid = value; }
    QStringList getNumbers() const { return numbers; }
    void setNumbers(const QStringList& value) { numbers = value; }
    void clearNumbers() { numbers.clear(); }
    // Appends unless already present (case-sensitive).
    void addNumber(const QString& number);
    // Removes every occurrence.
    void removeNumber(const QString& number) { numbers.removeAll(number); }

    bool operator==(const GroupAddMemberPair& other) const
    {
        return jid == other.jid && numbers == other.numbers;
    }

private:
    QString jid;
    QStringList numbers;
};

Q_DECLARE_METATYPE(GroupAddMemberPair)

#endif // GROUPADDMEMBERPAIR_H
