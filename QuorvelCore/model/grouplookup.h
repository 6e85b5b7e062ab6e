#ifndef GROUPLOOKUP_H
#define GROUPLOOKUP_H

#include "foundation/quorvelcore_export.h"

#include <QJsonObject>
#include <QMetaType>
#include <QString>
#include <QStringList>

// A group found through a link look-up. The reply has one picture key, "AvatarURL", which
// fills both the avatar and its thumbnail.
class QUORVELCORE_EXPORT GroupLookup
{
public:
    GroupLookup() = default;
    GroupLookup(const GroupLookup& other) = default;
    GroupLookup& operator=(const GroupLookup& other) = default;

    void fromGroupLookup(const GroupLookup& other);

    bool setDataFromJson(const QJsonObject& object);
    QJsonObject toJsonObject() const;
    static bool checkGroupLookupFields(const QJsonObject& object);
    static QStringList getJsonKeys();

    QString getJid() const { return jid; }
    void setJid(const QString& value) { jid = value; }
    QString getName() const { return name; }
    void setName(const QString& value) { name = value; }
    QString getDescription() const { return description; }
    void setDescription(const QString& value) { description = value; }
    QString getAvatarURL() const { return avatarURL; }
    void setAvatarURL(const QString& value) { avatarURL = value; }
    QString getAvatarThumbnailURL() const { return avatarThumbnailURL; }
    void setAvatarThumbnailURL(const QString& value) { avatarThumbnailURL = value; }
    int getMembersCount() const { return membersCount; }
    void setMembersCount(int value) { membersCount = value; }
    QString getJoinToken() const { return joinToken; }
    void setJoinToken(const QString& value) { joinToken = value; }

private:
    QString jid;
    QString name;
    QString description;
    QString avatarURL;
    QString avatarThumbnailURL;
    int membersCount = 0;
    QString joinToken;
};

Q_DECLARE_METATYPE(GroupLookup)

#endif // GROUPLOOKUP_H
