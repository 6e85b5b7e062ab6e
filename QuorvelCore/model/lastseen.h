#ifndef LASTSEEN_H
#define LASTSEEN_H

#include "foundation/quorvelcore_export.h"

#include <QDateTime>
#include <QMetaType>
#include <QString>

// When a user was last online: the answer of a last-seen query.
class QUORVELCORE_EXPORT LastSeen
{
public:
    LastSeen() = default;
    LastSeen(const QString& number, const QDateTime& seconds) : number(number), seconds(seconds) {}

    QString getNumber() const { return number; }
    void setNumber(const QString& value) { number = value; }
    QDateTime getSeconds() const { return seconds; }
    void setSeconds(const QDateTime& value) { seconds = value; }

    bool operator==(const LastSeen& other) const
    {
        return number == other.number && seconds == other.seconds;
    }

private:
    QString number;
    QDateTime seconds;
};

Q_DECLARE_METATYPE(LastSeen)

#endif // LASTSEEN_H
