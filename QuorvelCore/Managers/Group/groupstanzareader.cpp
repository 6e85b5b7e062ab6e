#include "Managers/Group/groupstanzareader.h"

#include "foundation/htmlmanager.h"
#include "foundation/simpleqtlogger.h"
#include "model/messagekeys.h"

#include <QDomDocument>
#include <QDomElement>
#include <QXmlStreamReader>

namespace {
const QLatin1String kXmlNamespace("http://www.w3.org/XML/1998/namespace");
const QLatin1String kMessages("Messages");
const QLatin1String kEncoded("MessagesBase64Encoded");

// A well-formed document without any declaration that could define entities.
bool isPlainDocument(const QByteArray& stanza)
{
    QXmlStreamReader reader(stanza);
    while (!reader.atEnd()) {
        const QXmlStreamReader::TokenType token = reader.readNext();
        if (token == QXmlStreamReader::DTD || token == QXmlStreamReader::EntityReference) {
            L_WARN(QStringLiteral("GroupStanzaReader::parse | refused a stanza with a document "
                                  "type declaration"));
            return false;
        }
    }
    if (reader.hasError()) {
        L_WARN(QStringLiteral("GroupStanzaReader::parse | not XML: ") + reader.errorString());
        return false;
    }
    return true;
}

QString bodyLanguage(const QDomElement& body)
{
    const QString lang = body.attributeNS(kXmlNamespace, QStringLiteral("lang"));
    return lang.isEmpty() ? body.attribute(QStringLiteral("xml:lang")) : lang;
}

bool parseMessageTag(const QDomElement& root, QJsonObject* object)
{
    if (root.localName() != QLatin1String("message") && root.tagName() != QLatin1String("message"))
        return false;
    if (root.attribute(QStringLiteral("type")) != QLatin1String("groupchat"))
        return false;
    const QString sender =
        GroupStanzaReader::extractPlainId(root.attribute(QStringLiteral("from")));
    const QString group = GroupStanzaReader::extractPlainId(root.attribute(QStringLiteral("to")));
    if (sender.isEmpty() || group.isEmpty())
        return false;
    object->insert(MessageKeys::UserId, sender);
    object->insert(MessageKeys::From, group);
    object->insert(MessageKeys::MessageId, root.attribute(QStringLiteral("id")));
    return true;
}

void parseBodyTags(const QDomElement& root, QJsonObject* object)
{
    for (QDomElement body = root.firstChildElement(QStringLiteral("body")); !body.isNull();
         body = body.nextSiblingElement(QStringLiteral("body"))) {
        const QString lang = bodyLanguage(body);
        if (lang.isEmpty()) {
            object->insert(MessageKeys::MessageBody, HtmlManager::insertHtmlTags(body.text()));
        } else if (lang == MessageKeys::MessageId) {
            object->insert(MessageKeys::SecondaryMessageId, body.text());
        } else if (lang == MessageKeys::UserId || lang == MessageKeys::From ||
                   lang == MessageKeys::UserName || lang == MessageKeys::MessageUserName) {
            // Sender and group come from the stanza's addresses only.
            continue;
        } else {
            object->insert(lang, body.text());
        }
    }
}
} // namespace

QString GroupStanzaReader::extractPlainId(const QString& address)
{
    return address.section(QLatin1Char('@'), 0, 0);
}

bool GroupStanzaReader::areMessagesEncoded(const QJsonObject& reply)
{
    return reply.value(kEncoded).toString() == QLatin1String("1");
}

QJsonArray GroupStanzaReader::getMessagesArray(const QJsonObject& reply)
{
    return reply.value(kMessages).toArray();
}

bool GroupStanzaReader::parse(const QByteArray& stanza, Message* out)
{
    if (!isPlainDocument(stanza))
        return false;
    QDomDocument document;
    QString error;
    if (!document.setContent(stanza, true, &error)) {
        L_WARN(QStringLiteral("GroupStanzaReader::parse | not XML: ") + error);
        return false;
    }
    QJsonObject object;
    if (!parseMessageTag(document.documentElement(), &object)) {
        L_WARN(QStringLiteral("GroupStanzaReader::parse | not a group message stanza"));
        return false;
    }
    parseBodyTags(document.documentElement(), &object);
    Message message;
    if (!message.fromJson(object) || message.getChatId().isEmpty())
        return false;
    *out = message;
    return true;
}

QList<Message> GroupStanzaReader::readReply(const QJsonObject& reply, MessageBase::MsgState state)
{
    const bool encoded = areMessagesEncoded(reply);
    const QJsonArray array = getMessagesArray(reply);
    QList<Message> messages;
    for (const QJsonValue& value : array) {
        QByteArray stanza = value.toString().toUtf8();
        if (encoded)
            stanza = QByteArray::fromBase64(stanza);
        Message message;
        if (!parse(stanza, &message))
            continue;
        message.setState(state);
        messages.append(message);
    }
    L_DEBUG(QStringLiteral("GroupStanzaReader::readReply | %1 of %2 read")
                .arg(messages.size())
                .arg(array.size()));
    return messages;
}
