#include "shell/singleapplicationprivate.h"

#include "foundation/simpleqtlogger.h"
#include "shell/singleapplication.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDeadlineTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QSharedMemory>
#include <QStandardPaths>

#include <pwd.h>
#include <unistd.h>

namespace {

struct InstanceBlock
{
    quint8 primaryAlive;
    quint8 unused[3];
    quint32 secondaryCount;
};
static_assert(sizeof(InstanceBlock) == 8, "the shared block is eight bytes");

const int peerWaitMs = 100;

QByteArray accountName()
{
    if (const passwd* pw = ::getpwuid(::getuid()))
        return QByteArray(pw->pw_name);
    return QStandardPaths::standardLocations(QStandardPaths::HomeLocation).join(QString()).toUtf8();
}

// Reads exactly count bytes, waiting for the rest until the deadline.
bool readExactly(QLocalSocket* peer, int count, QDeadlineTimer deadline, QByteArray* out)
{
    while (peer->bytesAvailable() < count) {
        if (deadline.hasExpired() || !peer->waitForReadyRead(int(deadline.remainingTime())))
            return false;
    }
    *out = peer->read(count);
    return out->size() == count;
}

} // namespace

SingleApplicationPrivate::SingleApplicationPrivate(SingleApplication* owner, int options)
    : app(owner), instanceKey(deriveInstanceKey(options)), options(options)
{
    memory = new QSharedMemory(instanceKey);
}

SingleApplicationPrivate::~SingleApplicationPrivate()
{
    if (socket) {
        socket->close();
        delete socket;
    }
    const bool attached = memory->isAttached() && memory->lock();
    if (server) {
        server->close();
        delete server;
        server = nullptr;
        if (attached)
            static_cast<InstanceBlock*>(memory->data())->primaryAlive = 0;
    }
    if (attached)
        memory->unlock();
    delete memory;
}

QString SingleApplicationPrivate::deriveInstanceKey(int options)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData("SingleApplication", 17);
    hash.addData(QStringLiteral("Quorvel Desktop").toUtf8());
    hash.addData(QStringLiteral("Milvane").toUtf8());
    hash.addData(QStringLiteral("quorvel.local").toUtf8());
    if (!(options & SingleApplication::IgnoreVersion))
        hash.addData(QCoreApplication::applicationVersion().toUtf8());
    if (!(options & SingleApplication::IgnorePath))
        hash.addData(QCoreApplication::applicationFilePath().toLower().toUtf8());
    if (options & SingleApplication::PerUser)
        hash.addData(accountName());
    return QString::fromLatin1(hash.result().toBase64())
        .replace(QLatin1Char('/'), QLatin1Char('_'));
}

QByteArray SingleApplicationPrivate::checksumText(const QByteArray& bytes)
{
    quint16 sum = qChecksum(bytes.constData(), uint(bytes.size()));
    QByteArray digits;
    do {
        const int d = sum % 256;
        digits.prepend(char(d < 10 ? d + 48 : (d + 87) % 256));
        sum /= 256;
    } while (sum > 0);
    return digits;
}

QByteArray SingleApplicationPrivate::greeting(const QString& key, char type, quint32 number)
{
    QByteArray bytes = key.toLatin1();
    bytes.append(type);
    QByteArray num;
    QDataStream stream(&num, QIODevice::WriteOnly);
    stream.setByteOrder(QDataStream::LittleEndian);
    stream << number;
    bytes.append(num);
    return bytes + checksumText(bytes);
}

bool SingleApplicationPrivate::claim(bool allowSecondary, int timeout)
{
    if (memory->create(sizeof(InstanceBlock), QSharedMemory::ReadWrite)) {
        memset(memory->data(), 0, sizeof(InstanceBlock));
        startPrimary(true);
        return true;
    }
    if (memory->attach(QSharedMemory::ReadWrite) && memory->lock()) {
        auto* block = static_cast<InstanceBlock*>(memory->data());
        if (block->primaryAlive == 0) {
            memory->unlock();
            startPrimary(false);
            return true;
        }
        if (allowSecondary) {
            instanceNumber = ++block->secondaryCount;
            memory->unlock();
            if (options & SingleApplication::NotifyOnSecondary)
                announceToPrimary(timeout, SecondaryInstance);
            return true;
        }
        memory->unlock();
    }
    if (announceToPrimary(timeout, NewInstance))
        return false;
    // Nobody answers: the block was left by a primary that died without
    // shutting down (a crash or a kill). This start takes its place.
    L_WARN(QStringLiteral("SingleApplicationPrivate::claim | no primary answers, taking over"));
    startPrimary(false);
    return true;
}

void SingleApplicationPrivate::startPrimary(bool reset)
{
    QLocalServer::removeServer(instanceKey);
    server = new QLocalServer();
    server->setSocketOptions((options & SingleApplication::PerUser)
                                 ? QLocalServer::UserAccessOption
                                 : QLocalServer::WorldAccessOption);
    if (!server->listen(instanceKey))
        L_WARN(QStringLiteral("SingleApplicationPrivate::startPrimary | listen failed: ") +
               server->errorString());
    connect(server, &QLocalServer::newConnection, this, &SingleApplicationPrivate::onPeerConnected);
    L_DEBUG(QStringLiteral("SingleApplicationPrivate::startPrimary | reset: ") +
            QString::number(reset));
    if (memory->isAttached() && memory->lock()) {
        auto* block = static_cast<InstanceBlock*>(memory->data());
        block->primaryAlive = 1;
        if (reset)
            block->secondaryCount = 0;
        memory->unlock();
    }
    instanceNumber = 0;
}

bool SingleApplicationPrivate::announceToPrimary(int timeout, char type)
{
    if (!socket)
        socket = new QLocalSocket();
    if (socket->state() == QLocalSocket::ConnectedState)
        return true;
    if (socket->state() != QLocalSocket::ConnectingState)
        socket->connectToServer(instanceKey, QIODevice::ReadWrite);
    if (socket->state() == QLocalSocket::ConnectingState)
        socket->waitForConnected(timeout);
    if (socket->state() != QLocalSocket::ConnectedState)
        return false;
    socket->write(greeting(instanceKey, type, instanceNumber));
    socket->flush();
    socket->waitForBytesWritten(timeout);
    return true;
}

void SingleApplicationPrivate::onPeerConnected()
{
    QLocalSocket* peer = server->nextPendingConnection();
    if (!peer)
        return;
    const QDeadlineTimer deadline(peerWaitMs);
    QByteArray key, type, number, check;
    const QByteArray expectedKey = instanceKey.toLatin1();
    bool ok = readExactly(peer, expectedKey.size(), deadline, &key) && key == expectedKey &&
              readExactly(peer, 1, deadline, &type) &&
              (type[0] == NewInstance || type[0] == SecondaryInstance) &&
              readExactly(peer, 4, deadline, &number);
    if (ok) {
        const QByteArray expected = checksumText(key + type + number);
        ok = readExactly(peer, expected.size(), deadline, &check) && check == expected;
    }
    if (!ok) {
        peer->close();
        delete peer;
        return;
    }
    QDataStream stream(number);
    stream.setByteOrder(QDataStream::LittleEndian);
    quint32 peerNumber = 0;
    stream >> peerNumber;
    connect(peer, &QLocalSocket::aboutToClose, this,
            [this, peer, peerNumber]() { onPeerClosed(peer, peerNumber); });
    connect(peer, &QLocalSocket::readyRead, this,
            [this, peer, peerNumber]() { onPeerData(peer, peerNumber); });
    if (type[0] == NewInstance || (options & SingleApplication::NotifyOnSecondary))
        emit app->instanceStarted();
    if (peer->bytesAvailable() > 0)
        onPeerData(peer, peerNumber);
}

void SingleApplicationPrivate::onPeerData(QLocalSocket* peer, quint32 number)
{
    emit app->receivedMessage(number, peer->readAll());
}

void SingleApplicationPrivate::onPeerClosed(QLocalSocket* peer, quint32 number)
{
    if (peer->bytesAvailable() > 0)
        emit app->receivedMessage(number, peer->readAll());
    peer->deleteLater();
}
