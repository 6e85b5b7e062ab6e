#ifndef MEMBERJSON_H
#define MEMBERJSON_H

#include <QJsonObject>
#include <QString>

// A member's public profile as the web service sends it.
inline QJsonObject memberJson(const QString& id, const QString& nickname = QString())
{
    return QJsonObject{{"MemberID", id},
                       {"Nickname", nickname.isEmpty() ? "nick " + id : nickname},
                       {"Motto", "motto"},
                       {"CanReply", "1"},
                       {"AvatarURL", "https://files.test/a/" + id},
                       {"AvatarThumbnailURL", "https://files.test/t/" + id}};
}

#endif // MEMBERJSON_H
