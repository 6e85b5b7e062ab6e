#ifndef CHANNELPUSHER_H
#define CHANNELPUSHER_H

#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QPair>
#include <QString>
#include <QXmppClient.h>
#include <QXmppMessage.h>

// The service's own account on the chat server, through which a channel
// message reaches each follower as a live message stanza: the text as the
// body and every other field as a <body xml:lang="KEY"> element, the form the
// clients read. Messages given while the account is not connected wait and go
// out once it is.
class ChannelPusher : public QObject
{
    Q_OBJECT
public:
    explicit ChannelPusher(QObject* parent = nullptr);

    // Connects as user@domain on 127.0.0.1:port, trusting caFile.
    void connectTo(const QString& domain, int port, const QString& user, const QString& password,
                   const QString& caFile);
    void push(const QString& follower, const QJsonObject& message);
    // The stanza that carries a message to one address.
    static QXmppMessage stanzaFor(const QString& to, const QJsonObject& message);

private:
    void flush();

    QXmppClient client;
    QString domain;
    QList<QPair<QString, QJsonObject>> waiting;
};

#endif // CHANNELPUSHER_H
