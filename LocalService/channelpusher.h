#ifndef CHANNELPUSHER_H
#define CHANNELPUSHER_H

#include <QJsonObject>
#include <QObject>
#include <QSet>
#include <QString>
#include <QXmppClient.h>
#include <QXmppMessage.h>

#include <functional>

class ChatSessionGuard;
class ServiceStore;

// The service's own account on the chat server, through which a channel
// message reaches each follower as a live message stanza: the text as the
// body and every other field as a <body xml:lang="KEY"> element, the form the
// clients read. Every push is kept in the store (area "channelpushes") from
// the moment it is given until the chat server has taken it (it answered a
// ping sent after the push), so pushes given while the account is away, or
// sent on a stream that broke, go out on the next session, also after a
// restart of the service. A follower may get a push twice; clients keep a
// post once by its id. Each time the account signs in, it tells every
// follower then online that it is back (a presence with the mark of
// ChannelAccountPresence), and their programs ask the service again for
// the posts they missed: a post kept in the archive whose pushes were never
// kept (the service ended between the two) reaches them all the same.
class ChannelPusher : public QObject
{
    Q_OBJECT
public:
    explicit ChannelPusher(ServiceStore* store, QObject* parent = nullptr);
    ~ChannelPusher() override;

    // Connects as user@domain on 127.0.0.1:port, trusting caFile.
    void connectTo(const QString& domain, int port, const QString& user, const QString& password,
                   const QString& caFile);
    // The accounts told that the channel account is back.
    void setFollowers(std::function<QStringList()> list) { followers = std::move(list); }
    void push(const QString& follower, const QJsonObject& message);
    // The stanza that carries a message to one address.
    static QXmppMessage stanzaFor(const QString& to, const QJsonObject& message);
    // Pushes not yet taken by the chat server.
    int waitingCount() const;
    ChatSessionGuard* session() const { return guard; }

signals:
    // The chat server took every push given so far.
    void allTaken();

private:
    void flush();
    void announceBack();
    void send(const QString& follower, const QJsonObject& message);

    ServiceStore* store;
    QXmppClient client;
    ChatSessionGuard* guard;
    QString domain;
    std::function<QStringList()> followers;
    qint64 nextEntry = 0;
    // Entries written on the current stream and not yet confirmed.
    QSet<QString> inFlight;
};

#endif // CHANNELPUSHER_H
