#ifndef MEMBERS_H
#define MEMBERS_H

#include "foundation/quorvelcore_export.h"
#include "model/profile.h"

#include <QList>
#include <QMap>
#include <QMetaType>
#include <QSet>
#include <QString>
#include <QStringList>

// A member look-up: which numbers belong to service members, answered with
// their public profiles keyed by member id.
class QUORVELCORE_EXPORT Members
{
public:
    Members() = default;

    void clear() { requestId.clear(); }
    bool isEmpty() const { return requestId.isEmpty(); }

    QString getRequestId() const { return requestId; }
    void setRequestId(const QString& value) { requestId = value; }

    void addNumber(const QString& number) { numbers.insert(number); }
    void addNumbers(const QSet<QString>& values) { numbers.unite(values); }
    void addNumbers(const QStringList& values);
    void removeNumber(const QString& number) { numbers.remove(number); }
    void setNumbers(const QSet<QString>& values) { numbers = values; }
    void setNumbers(const QStringList& values);
    QSet<QString> getNumbers() const { return numbers; }
    QStringList getNumbersList() const { return numbers.values(); }
    int requestSize() const { return numbers.size(); }

    void addProfile(const Profile& profile) { profiles.insert(profile.getMemberID(), profile); }
    QMap<QString, Profile> getProfiles() const { return profiles; }
    void setProfiles(const QMap<QString, Profile>& value) { profiles = value; }

private:
    QString requestId;
    QSet<QString> numbers;
    QMap<QString, Profile> profiles;
};

Q_DECLARE_METATYPE(Members)

#endif // MEMBERS_H
