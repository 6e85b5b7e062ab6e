#include "channelpusher.h"

#include "chatsessionguard.h"
#include "servicestore.h"

#include "Managers/XMPP/channelaccountpresence.h"
#include "foundation/simpleqtlogger.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QXmppConfiguration.h>
#include <QXmppElement.h>
#include <QXmppMessage.h>
#include <QXmppPresence.h>

namespace {
const QString kPushes = QStringLiteral("channelpushes");

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

// Entry keys sort in the order the pushes were given.
QString entryKey(qint64 position)
{
    return QStringLiteral("%1").arg(position, 16, 10, QLatin1Char('0'));
}
} // namespace

ChannelPusher::ChannelPusher(ServiceStore* store, QObject* parent)
    : QObject(parent), store(store), guard(new ChatSessionGuard(&client, this))
{
    const QStringList kept = store->keys(kPushes);
    if (!kept.isEmpty())
        nextEntry = kept.last().toLongLong() + 1;
    connect(guard, &ChatSessionGuard::sessionStarted, this, [this] {
        inFlight.clear();
        flush();
        announceBack();
    });
}

ChannelPusher::~ChannelPusher()
{
    guard->stop();
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
    guard->start(config);
}

void ChannelPusher::push(const QString& follower, const QJsonObject& message)
{
    const QString key = entryKey(nextEntry++);
    if (!store->setValue(kPushes, key, QJsonObject{{"To", follower}, {"Message", message}}))
        L_ERROR(QStringLiteral("ChannelPusher | cannot keep a push for ") + follower);
    flush();
}

int ChannelPusher::waitingCount() const
{
    return store->keys(kPushes).size();
}

void ChannelPusher::flush()
{
    if (!client.isConnected())
        return;
    QStringList sent;
    for (const QString& key : store->keys(kPushes)) {
        if (inFlight.contains(key))
            continue;
        const QJsonObject entry = store->object(kPushes, key);
        send(entry.value("To").toString(), entry.value("Message").toObject());
        inFlight.insert(key);
        sent.append(key);
    }
    if (sent.isEmpty())
        return;
    guard->confirm([this, sent](bool taken) {
        for (const QString& key : sent) {
            if (inFlight.remove(key) && taken)
                store->remove(kPushes, key);
        }
        if (taken && store->keys(kPushes).isEmpty())
            emit allTaken();
    });
}

void ChannelPusher::announceBack()
{
    if (!followers)
        return;
    const QStringList told = followers();
    for (const QString& follower : told) {
        QXmppPresence back(QXmppPresence::Available);
        back.setTo(follower + QLatin1Char('@') + domain);
        back.setExtensions({ChannelAccountPresence::mark()});
        client.sendPacket(back);
    }
    L_INFO(QStringLiteral("ChannelPusher | back; told %1 followers").arg(told.size()));
}

void ChannelPusher::send(const QString& follower, const QJsonObject& message)
{
    client.sendPacket(stanzaFor(follower + QLatin1Char('@') + domain, message));
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
