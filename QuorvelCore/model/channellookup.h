#ifndef CHANNELLOOKUP_H
#define CHANNELLOOKUP_H

#include "foundation/quorvelcore_export.h"

#include <QJsonObject>
#include <QMetaType>
#include <QString>
#include <QStringList>

// A channel found through a link look-up.
class QUORVELCORE_EXPORT ChannelLookup
{
public:
    ChannelLookup() = default;
    ChannelLookup(const ChannelLookup& other) = default;
    ChannelLookup& operator=(const ChannelLookup& other) = default;

    void fromChannelLookup(const ChannelLookup& other);

    // False, with the object unchanged, when a required key is missing. Counts are read from
    // decimal text or JSON numbers.
    bool setDataFromJson(const QJsonObject& object);
    QJsonObject toJsonObject() const;
    static bool checkChannelLookupFields(const QJsonObject& object);
    static QStringList getJsonKeys();

    QString getId() const { return id; }
    void setId(const QString& value) { id = value; }
    QString getLink() const { return link; }
    void setLink(const QString& value) { link = value; }
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
    uint getCreationDate() const { return creationDate; }
    void setCreationDate(uint value) { creationDate = value; }
    QString getOwnerUsername() const { return ownerUsername; }
    void setOwnerUsername(const QString& value) { ownerUsername = value; }
    QString getCategoryId() const { return categoryId; }
    void setCategoryId(const QString& value) { categoryId = value; }
    bool getReplyAllowed() const { return replyAllowed; }
    void setReplyAllowed(bool value) { replyAllowed = value; }
    bool getChannelJoinLink() const { return channelJoinLink; }
    void setChannelJoinLink(bool value) { channelJoinLink = value; }
    QString getJoinToken() const { return joinToken; }
    void setJoinToken(const QString& value) { joinToken = value; }

private:
    QString id;
    QString link;
    QString name;
    QString description;
    QString avatarURL;
    QString avatarThumbnailURL;
    int membersCount = 0;
    uint creationDate = 0;
    QString ownerUsername;
    QString categoryId;
    bool replyAllowed = false;
    bool channelJoinLink = false;
    QString joinToken;
};

Q_DECLARE_METATYPE(ChannelLookup)

#endif // CHANNELLOOKUP_H
