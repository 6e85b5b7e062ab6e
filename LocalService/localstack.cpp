#include "localstack.h"

#include "localprocedures.h"
#include "servicecrypto.h"
#include "stickercatalogue.h"

#include "Managers/XMPP/quorvelxmppmessage.h"
#include "Managers/XMPP/roomrecordpresence.h"
#include "foundation/simpleqtlogger.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QHostAddress>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QTcpServer>

#include <signal.h>

namespace {

const int kCertificateDays = 825;
const QString kKeeperUser = RoomRecordPresence::keeperAccount();

bool writeFile(const QString& path, const QByteArray& data)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size() && file.commit();
}

int freeLoopbackPort()
{
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, 0))
        return 0;
    return probe.serverPort();
}

} // namespace

LocalStack::LocalStack(const Options& options, QObject* parent) : QObject(parent), options(options)
{
}

LocalStack::~LocalStack()
{
    stop();
}

QString LocalStack::path(const QString& name) const
{
    return QDir(options.folder).filePath(name);
}

QString LocalStack::webUrl() const
{
    return http ? http->baseUrl() : QString();
}

QString LocalStack::caFile() const
{
    return path(QStringLiteral("tls/ca.pem"));
}

qint64 LocalStack::runningPid(const QString& folder)
{
    QFile file(QDir(folder).filePath(QStringLiteral("service.pid")));
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const qint64 pid = file.readAll().trimmed().toLongLong();
    if (pid <= 0 || pid == QCoreApplication::applicationPid() || ::kill(pid_t(pid), 0) != 0)
        return 0;
    QFile commandLine(QStringLiteral("/proc/%1/cmdline").arg(pid));
    if (!commandLine.open(QIODevice::ReadOnly) ||
        !commandLine.readAll().contains("quorvel-localservice"))
        return 0;
    return pid;
}

bool LocalStack::loadPorts()
{
    QFile file(path(QStringLiteral("stack.json")));
    QJsonObject ports;
    if (file.open(QIODevice::ReadOnly))
        ports = QJsonDocument::fromJson(file.readAll()).object();
    if (ports.value("WebPort").toInt() <= 0)
        ports.insert("WebPort", options.webPort > 0 ? options.webPort : freeLoopbackPort());
    if (ports.value("ChatPort").toInt() <= 0)
        ports.insert("ChatPort", options.chatPort > 0 ? options.chatPort : freeLoopbackPort());
    options.webPort = ports.value("WebPort").toInt();
    options.chatPort = ports.value("ChatPort").toInt();
    if (options.webPort <= 0 || options.chatPort <= 0 || options.webPort > 65535 ||
        options.chatPort > 65535) {
        error = QStringLiteral("no usable ports in %1").arg(file.fileName());
        return false;
    }
    return writeFile(file.fileName(), QJsonDocument(ports).toJson());
}

bool LocalStack::prepareCertificates()
{
    const QString folder = path(QStringLiteral("tls"));
    certificates = ServiceCertificates::load(folder);
    const bool expiring = certificates.isValid() && certificates.serverCertificate().expiryDate() <
                                                        QDateTime::currentDateTime().addDays(7);
    if (certificates.isValid() && !expiring)
        return true;
    certificates =
        ServiceCertificates::create(QStringLiteral("Quorvel Local Stack"), kCertificateDays);
    if (!QDir().mkpath(folder) || !certificates.writeFiles(folder)) {
        error = QStringLiteral("cannot make the certificates in %1").arg(folder);
        return false;
    }
    QFile::setPermissions(QDir(folder).filePath(QStringLiteral("key.pem")),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    L_NOTE(QStringLiteral("LocalStack | made a new certificate authority: %1").arg(caFile()));
    return true;
}

bool LocalStack::startChat()
{
    ChatServerConfig& config = chat.config();
    config.folder = path(QStringLiteral("chat"));
    config.domain = service->settings().chatDomain;
    config.port = options.chatPort;
    config.certificateFile = path(QStringLiteral("tls/cert.pem"));
    config.keyFile = path(QStringLiteral("tls/key.pem"));
    // Rooms are opened by the room keeper alone.
    config.roomKeeper = kKeeperUser;
    // Contacts see each other's last activity: the list follows every saved
    // contact list and every new account.
    config.watchersFile = path(QStringLiteral("chat/watchers.txt"));
    if (!QDir().mkpath(config.folder) || !writeWatchers()) {
        error = QStringLiteral("cannot write %1").arg(config.watchersFile);
        return false;
    }
    connect(service.get(), &LocalService::contactsChanged, this, &LocalStack::writeWatchers);
    connect(service.get(), &LocalService::accountActivated, this, &LocalStack::writeWatchers);
    if (!chat.start()) {
        error = QStringLiteral("chat server: ") + chat.errorString();
        return false;
    }
    service->chatAccountCreator = [this](const QString& user, const QString& password) {
        if (chat.addUser(user, password))
            return true;
        L_ERROR(QStringLiteral("LocalStack | cannot create the chat account of %1: %2")
                    .arg(user, chat.errorString()));
        return false;
    };
    // Channel messages reach the followers from the service's own account.
    const QString pusherName = QuorvelXMPPMessage::channelAccount();
    const QString pusherPassword = QString::number(QRandomGenerator::system()->generate64(), 36);
    if (!chat.addUser(pusherName, pusherPassword)) {
        error =
            QStringLiteral("chat server: cannot create the channel account: ") + chat.errorString();
        return false;
    }
    pusher = std::make_unique<ChannelPusher>(store.get());
    pusher->setFollowers([this] { return LocalProcedures::channelFollowers(*service); });
    pusher->connectTo(config.domain, config.port, pusherName, pusherPassword, caFile());
    service->chatMessagePusher = [this](const QString& user, const QJsonObject& message) {
        pusher->push(user, message);
    };
    return true;
}

bool LocalStack::writeWatchers()
{
    const QStringList pairs = LocalProcedures::lastSeenWatchers(*service);
    if (writeFile(chat.config().watchersFile, (pairs.join(QLatin1Char('\n')) + '\n').toUtf8()))
        return true;
    L_ERROR(QStringLiteral("LocalStack | cannot write %1").arg(chat.config().watchersFile));
    return false;
}

bool LocalStack::startKeeper()
{
    QFile file(path(QStringLiteral("keeper.json")));
    QString password;
    if (file.open(QIODevice::ReadOnly))
        password = QJsonDocument::fromJson(file.readAll()).object().value("Password").toString();
    file.close();
    if (password.isEmpty()) {
        password = QString::fromLatin1(ServiceCrypto::randomBytes(18).toBase64(
            QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals));
        if (!writeFile(file.fileName(),
                       QJsonDocument(QJsonObject{{"Password", password}}).toJson()) ||
            !file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner)) {
            error = QStringLiteral("cannot write %1").arg(file.fileName());
            return false;
        }
    }
    // Set every start, so the account is there even when the chat server's
    // data was made afresh.
    if (!chat.addUser(kKeeperUser, password)) {
        error =
            QStringLiteral("cannot create the room keeper's chat account: ") + chat.errorString();
        return false;
    }
    // The chat server's certificate is the stack's own: its authority is
    // trusted the way a program of the stack trusts it.
    qputenv("QUORVEL_EXTRA_CA_FILE", QFile::encodeName(caFile()));
    keeper = std::make_unique<GroupRoomKeeper>(service.get());
    connect(keeper.get(), &GroupRoomKeeper::connected, this,
            [] { L_NOTE(QStringLiteral("LocalStack | the room keeper is signed in")); });
    keeper->connectToServer(service->settings().chatHost, options.chatPort,
                            service->settings().chatDomain, kKeeperUser, password,
                            chat.config().mucDomain());
    return true;
}

bool LocalStack::writeClientFiles()
{
    const QString env = QStringLiteral("QUORVEL_WEB_BASE_URL=%1\n"
                                       "QUORVEL_FILE_HOST_URL=%1\n"
                                       "QUORVEL_STICKER_BASE_URL=%1%4\n"
                                       "QUORVEL_CHAT_DOMAIN=%2\n"
                                       "QUORVEL_EXTRA_CA_FILE=%3\n")
                            .arg(webUrl(), service->settings().chatDomain, caFile(),
                                 StickerCatalogue::servicePath());
    return writeFile(path(QStringLiteral("client.env")), env.toUtf8()) &&
           writeFile(path(QStringLiteral("service.pid")),
                     QByteArray::number(QCoreApplication::applicationPid()) + '\n');
}

bool LocalStack::start()
{
    if (options.folder.isEmpty() || !QDir().mkpath(options.folder)) {
        error = QStringLiteral("cannot use the folder %1").arg(options.folder);
        return false;
    }
    if (runningPid(options.folder) != 0) {
        error = QStringLiteral("a local service already serves from %1").arg(options.folder);
        return false;
    }
    if (!loadPorts() || !prepareCertificates())
        return false;
    store = std::make_unique<ServiceStore>(path(QStringLiteral("store")));
    if (!store->open()) {
        error = store->errorString();
        return false;
    }
    http = std::make_unique<HttpsService>(certificates);
    http->setKeepRequests(false);
    service = std::make_unique<LocalService>(http.get(), store.get());
    service->settings().chatPort = options.chatPort;
    service->settings().demoCode = options.demoCode;
    if (!options.withChat)
        service->settings().chatHost.clear();
    service->installProcedures();
    connect(service.get(), &LocalService::activationCodeIssued, this,
            [](const QString& phone, const QString& code) {
                L_NOTE(QStringLiteral("LocalStack | activation code for %1: %2").arg(phone, code));
            });
    if (options.withChat && (!startChat() || !startKeeper()))
        return false;
    if (options.withChat) {
        connect(&chatWatch, &QTimer::timeout, this, [this] {
            if (chat.isRunning())
                return;
            L_WARN(QStringLiteral("LocalStack | the chat server ended; starting it again"));
            if (!chat.start())
                L_ERROR(QStringLiteral("LocalStack | chat server: ") + chat.errorString());
        });
        chatWatch.start(1000);
    }
    if (!http->start(quint16(options.webPort))) {
        error = QStringLiteral("cannot listen on 127.0.0.1:%1: %2")
                    .arg(options.webPort)
                    .arg(http->errorString());
        return false;
    }
    if (!writeClientFiles()) {
        error = QStringLiteral("cannot write client.env in %1").arg(options.folder);
        return false;
    }
    L_NOTE(QStringLiteral("LocalStack | serving %1, chat server 127.0.0.1:%2, data in %3")
               .arg(webUrl())
               .arg(options.chatPort)
               .arg(options.folder));
    return true;
}

void LocalStack::stop()
{
    chatWatch.stop();
    if (http)
        http->close();
    keeper.reset();
    pusher.reset();
    chat.stop();
    QFile pidFile(path(QStringLiteral("service.pid")));
    if (pidFile.open(QIODevice::ReadOnly) &&
        pidFile.readAll().trimmed().toLongLong() == QCoreApplication::applicationPid()) {
        pidFile.close();
        pidFile.remove();
    }
}
