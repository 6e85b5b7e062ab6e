#ifndef GROUPFIXTURES_H
#define GROUPFIXTURES_H

#include "model/message.h"

#include <QJsonObject>
#include <QList>
#include <QPair>
#include <QString>

namespace GroupFixtures {
using Bodies = QList<QPair<QString, QString>>;

// A web-service group description.
inline QJsonObject groupJson(const QString& id, const QString& name = QStringLiteral("Friends"))
{
    return {{"GroupAvatarThumbnailURL", "https://files.test/t/" + id},
            {"GroupAvatarURL", "https://files.test/a/" + id},
            {"CreationDate", "1500"},
            {"Description", "about " + name},
            {"GroupJID", id},
            {"MembersCount", 2},
            {"MyRole", "ADMIN"},
            {"GroupName", name}};
}

inline QJsonObject memberJson(const QString& user, const QString& role = QStringLiteral("MEMBER"))
{
    return {{"AddedByMe", 0},
            {"LastActivity", 1700000000},
            {"Profile", QJsonObject{{"Nickname", "nick " + user}}},
            {"Role", role},
            {"Username", user}};
}

// An archived room message as the service returns it. A body with an empty
// language is the text body.
inline QString stanza(const QString& from, const QString& to, const QString& id,
                      const Bodies& bodies, const QString& type = QStringLiteral("groupchat"),
                      const QString& root = QStringLiteral("message"))
{
    QString text = QStringLiteral("<%1 xmlns=\"jabber:client\" type=\"%2\" from=\"%3\" to=\"%4\" "
                                  "id=\"%5\">")
                       .arg(root, type, from, to, id);
    for (const auto& body : bodies) {
        if (body.first.isEmpty())
            text += "<body>" + body.second.toHtmlEscaped() + "</body>";
        else
            text +=
                "<body xml:lang=\"" + body.first + "\">" + body.second.toHtmlEscaped() + "</body>";
    }
    return text + "</" + root + ">";
}

inline Bodies textBodies(const QString& text, qint64 time)
{
    return {{"", text},
            {"MAJOR_TYPE", "GROUP_CHAT"},
            {"MINOR_TYPE", "TEXT"},
            {"SEND_TIME_IN_GMT", QString::number(time)}};
}

// A group text message as a member of the room sent it.
inline QString roomMessage(const QString& group, const QString& sender, const QString& id,
                           qint64 time)
{
    return stanza(sender + "@chat.test/desktop", group + "@conference.chat.test", id,
                  textBodies("text " + id, time));
}

inline Message groupMessage(const QString& group, const QString& id, qint64 time,
                            const QString& sender)
{
    Message message(MessageBase::MsgMajorType_GroupChat, sender, group, "text " + id);
    message.setMessageId(id);
    message.setSendTimeInGMT(time);
    message.setState(MessageBase::MsgState_Delivered);
    return message;
}

inline Message controlMessage(const QString& group, const QString& id,
                              MessageBase::MsgMinorType minor, const QString& sender,
                              const QJsonObject& fields, qint64 time = 1000)
{
    QJsonObject object{{"MAJOR_TYPE", "CONTROL_MESSAGE"},
                       {"MINOR_TYPE", MessageBase::toString(minor)},
                       {"FROM", group},
                       {"USER_ID", sender},
                       {"MESSAGE_ID", id},
                       {"SEND_TIME_IN_GMT", QString::number(time)}};
    for (auto it = fields.constBegin(); it != fields.constEnd(); ++it)
        object.insert(it.key(), it.value());
    Message message;
    message.fromJson(object);
    return message;
}
} // namespace GroupFixtures

#endif // GROUPFIXTURES_H
