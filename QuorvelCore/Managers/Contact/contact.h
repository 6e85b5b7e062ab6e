#ifndef CONTACT_H
#define CONTACT_H

#include "foundation/quorvelcore_export.h"
#include "model/profile.h"

#include <QImage>
#include <QJsonObject>
#include <QMetaType>
#include <QString>
#include <QStringList>

// A person known by phone number: the names the user gave, the public
// profile, the mute and block flags and the downloaded avatar thumbnail
// (memory only). The number is the contact's key everywhere.
class QUORVELCORE_EXPORT Contact
{
public:
    Contact() = default;
    Contact(const QString& number, const QString& firstName, const QString& lastName);
    explicit Contact(const QJsonObject& object);
    Contact(const Contact& other);
    Contact& operator=(const Contact& other);
    ~Contact() = default;

    // Copies every field, the profile's isMyContact and the image included.
    void fromContact(const Contact& other);

    void clear() { number.clear(); }
    bool isEmpty() const { return number.isEmpty(); }

    // The keys every contact object must hold.
    static QStringList getContactFields();
    static bool checkFields(const QJsonObject& object);

    // Eleven keys, for the store and the web service alike.
    QJsonObject toJsonObject() const;
    // False (nothing changed) when a profile key is missing. A member look-up
    // carries no "Number": the member id then serves as the number.
    bool setDataFromJson(const QJsonObject& object);

    // Nickname for people outside the address book; otherwise the names the
    // user gave, falling back to the nickname when both are empty.
    QString getDisplayName() const;
    // The display name, or the number while nothing names the person (a
    // stranger whose profile has not arrived or who set no nickname).
    QString getNameOrNumber() const;
    QString getDisplayNumber() const { return QStringLiteral("+") + number; }
    // A debugging text of the profile.
    QString getContactString() const;

    void setNames(const QString& first, const QString& last);
    void setDBFields(const QString& first, const QString& last, bool muted, bool isBlocked);

    QString getNumber() const { return number; }
    void setNumber(const QString& value) { number = value; }
    QString getFirstName() const { return firstName; }
    void setFirstName(const QString& value) { firstName = value; }
    QString getLastName() const { return lastName; }
    void setLastName(const QString& value) { lastName = value; }
    QString getMemberID() const { return profile.getMemberID(); }
    void setMemberID(const QString& value) { profile.setMemberID(value); }
    QString getNickName() const { return profile.getNickName(); }
    void setNickName(const QString& value) { profile.setNickName(value); }
    QString getMotto() const { return profile.getMotto(); }
    void setMotto(const QString& value) { profile.setMotto(value); }
    QString getCanReply() const { return profile.getCanReply(); }
    void setCanReply(const QString& value) { profile.setCanReply(value); }
    QString getAvatarUrl() const { return profile.getAvatarUrl(); }
    void setAvatarUrl(const QString& value) { profile.setAvatarUrl(value); }
    QString getAvatarThumbnailUrl() const { return profile.getAvatarThumbnailUrl(); }
    void setAvatarThumbnailUrl(const QString& value) { profile.setAvatarThumbnailUrl(value); }
    bool getMute() const { return mute; }
    void setMute(bool value) { mute = value; }
    bool getBlocked() const { return blocked; }
    void setBlocked(bool value) { blocked = value; }
    bool getIsMyContact() const { return profile.getIsMyContact(); }
    void setIsMyContact(bool value) { profile.setIsMyContact(value); }
    QImage getAvThumbnail() const { return avThumbnail; }
    void setAvThumbnail(const QImage& value) { avThumbnail = value; }
    Profile getProfile() const { return profile; }
    void setProfile(const Profile& value) { profile = value; }

private:
    QString number;
    QString firstName;
    QString lastName;
    Profile profile;
    bool mute = false;
    bool blocked = false;
    QImage avThumbnail;
};

Q_DECLARE_METATYPE(Contact)

#endif // CONTACT_H
