#include "channelpusher.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QXmppConfiguration.h>
#include <QXmppElement.h>
#include <QXmppMessage.h>

namespace {
// A field as stanza text: numbers whole, objects and lists (a poll's
// "POLL_DATA") as compact JSON, which the clients read back.
QString fieldText(const QJsonValue& value)
{
    if (value.isDouble())
        return QString::number(qint64(value.toDouble()));
    if (value.isObject())
        return QString::fromUtf8(QJsonDocument(value.toObject()).toJson(QJsonDocument::Compact));
    if (value.isArray())
        return QString::fromUtf8(QJsonDocument(value.toArray()).toJson(QJsonDocument::Compact));
    return value.toVariant().toString();
}
} // namespace

ChannelPusher::ChannelPusher(QObject* parent) : QObject(parent)
{
    connect(&client, &QXmppClient::connected, this, &ChannelPusher::flush);
}

void ChannelPusher::connectTo(const QString& chatDomain, int port, const QString& user,
                              const QString& password, const QString& caFile)
{
    domain = chatDomain;
    QXmppConfiguration config;
    config.setCaCertificates(QSslConfiguration::systemCaCertificates() +
                             QSslCertificate::fromPath(caFile));
    config.setHost(QStringLiteral("127.0.0.1"));
    config.setPort(port);
    config.setDomain(chatDomain);
    config.setUser(user);
    config.setPassword(password);
    config.setResource(QStringLiteral("channels"));
    config.setStreamSecurityMode(QXmppConfiguration::TLSRequired);
    config.setAutoReconnectionEnabled(true);
    client.connectToServer(config);
}

void ChannelPusher::push(const QString& follower, const QJsonObject& message)
{
    waiting.append({follower, message});
    flush();
}

void ChannelPusher::flush()
{
    if (!client.isConnected())
        return;
    while (!waiting.isEmpty()) {
        const auto next = waiting.takeFirst();
        client.sendPacket(stanzaFor(next.first + QLatin1Char('@') + domain, next.second));
    }
}

QXmppMessage ChannelPusher::stanzaFor(const QString& to, const QJsonObject& message)
{
    QXmppMessage stanza(QString(), to, message.value(QStringLiteral("MESSAGE_BODY")).toString());
    stanza.setId(message.value(QStringLiteral("MESSAGE_ID")).toString());
    QXmppElementList fields;
    for (auto it = message.constBegin(); it != message.constEnd(); ++it) {
        if (it.key() == QLatin1String("MESSAGE_BODY") || it.key() == QLatin1String("MESSAGE_ID"))
            continue;
        QXmppElement field;
        field.setTagName(QStringLiteral("body"));
        field.setAttribute(QStringLiteral("xml:lang"), it.key());
        field.setValue(fieldText(it.value()));
        fields.append(field);
    }
    stanza.setExtensions(fields);
    return stanza;
}
