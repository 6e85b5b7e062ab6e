#include "channelpusher.h"

#include <QSslCertificate>
#include <QSslConfiguration>
#include <QXmppConfiguration.h>
#include <QXmppElement.h>
#include <QXmppMessage.h>

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
        const QJsonObject& message = next.second;
        QXmppMessage stanza(QString(), next.first + QLatin1Char('@') + domain,
                            message.value(QStringLiteral("MESSAGE_BODY")).toString());
        stanza.setId(message.value(QStringLiteral("MESSAGE_ID")).toString());
        QXmppElementList fields;
        for (auto it = message.constBegin(); it != message.constEnd(); ++it) {
            if (it.key() == QLatin1String("MESSAGE_BODY") ||
                it.key() == QLatin1String("MESSAGE_ID"))
                continue;
            QXmppElement field;
            field.setTagName(QStringLiteral("body"));
            field.setAttribute(QStringLiteral("xml:lang"), it.key());
            field.setValue(it.value().isDouble() ? QString::number(qint64(it.value().toDouble()))
                                                 : it.value().toVariant().toString());
            fields.append(field);
        }
        stanza.setExtensions(fields);
        client.sendPacket(stanza);
    }
}
