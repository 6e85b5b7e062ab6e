#include "webapi/GeneralApi/procedurehandler.h"

#include "foundation/cryptoapi.h"
#include "foundation/serviceconfig.h"
#include "foundation/simpleqtlogger.h"
#include "webapi/GeneralApi/applicationcontrol.h"
#include "webapi/GeneralApi/logredactor.h"
#include "webapi/GeneralApi/networkhandler.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>

#include <qleveldb.h>

namespace {

QString indented(const QByteArray& json)
{
    const QJsonDocument document = QJsonDocument::fromJson(json);
    return document.isNull() ? QString::fromUtf8(json)
                             : QString::fromUtf8(document.toJson(QJsonDocument::Indented));
}

void removeFolder(const QString& path)
{
    const QFileInfo info(path);
    if (info.isSymLink()) {
        // Only the link goes: its target is not ours to delete.
        QFile::remove(path);
    } else if (info.isDir()) {
        QDir(path).removeRecursively();
    }
    L_INFO(QStringLiteral("ProcedureHandler::removeAllSettings | removed ") + path);
}

} // namespace

ProcedureHandler::ProcedureHandler(QObject* parent)
    : QObject(parent), networkHandler(new NetworkHandler(this)), timeoutTimer(new QTimer(this)),
      retryTimer(new QTimer(this)), applicationControl(new ApplicationControl)
{
    networkHandler->setApiURL(ServiceConfig::webServiceBaseUrl());
    ProcedureTable::registerMetaType();
    qRegisterMetaType<QHash<QString, QJsonValue>>("QHash<QString,QJsonValue>");
    connect(networkHandler, &NetworkHandler::replyReady, this, &ProcedureHandler::replyReady);
    connect(timeoutTimer, &QTimer::timeout, this, &ProcedureHandler::procedureTimeout);
    connect(networkHandler, &NetworkHandler::error, this, &ProcedureHandler::networkError);
    connect(retryTimer, &QTimer::timeout, this, &ProcedureHandler::retryCurrentProcedure);
    timeoutTimer->setSingleShot(true);
    retryTimer->setSingleShot(true);
}

ProcedureHandler::~ProcedureHandler() = default;

void ProcedureHandler::setApplicationControl(ApplicationControl* control)
{
    applicationControl.reset(control);
}

bool ProcedureHandler::isUserLoggedIn() const
{
    QString value;
    return getResultValue(QStringLiteral("Username"), &value) &&
           getResultValue(QStringLiteral("Token"), &value);
}

bool ProcedureHandler::getResultValue(const QString& key, QString* value) const
{
    return packetGenerator.getSetting(key, value);
}

bool ProcedureHandler::isCurrentTaskVital() const
{
    return ProcedureTable::isVital(currentPair.getProcedure());
}

QString ProcedureHandler::getProcedureName(Procedure procedure)
{
    return ProcedureTable::displayName(procedure);
}

QString ProcedureHandler::getProcedureSubDir(Procedure procedure,
                                             const QHash<QString, QJsonValue>& inputs)
{
    if (procedure != PROC_BrowseCategory)
        return ProcedureTable::fixedSubDir(procedure);
    const QString id =
        PacketGenerator::toSettingText(inputs.value(QStringLiteral("browseCategoryId")));
    if (id.isEmpty())
        return QString();
    return QStringLiteral("GAPI/channels/browse/") +
           QString::fromLatin1(QUrl::toPercentEncoding(id)) + QLatin1Char('/');
}

int ProcedureHandler::getProcedureMaxTries(Procedure procedure)
{
    return ProcedureTable::maxTries(procedure);
}

QStringList ProcedureHandler::getReportTypes()
{
    return {QStringLiteral("error"), QStringLiteral("info")};
}

bool ProcedureHandler::isQueuedOrCurrent(Procedure procedure) const
{
    if (currentPair.getProcedure() == procedure)
        return true;
    for (const ProcedureInputPair& pair : queue) {
        if (pair.getProcedure() == procedure)
            return true;
    }
    return false;
}

void ProcedureHandler::start(Procedure procedure, QHash<QString, QJsonValue> inputs)
{
    if (ApiFields::isUniqueRequest(procedure) && isQueuedOrCurrent(procedure)) {
        L_INFO(QStringLiteral("ProcedureHandler::start |") + getProcedureName(procedure) +
               QStringLiteral(" NOT ACCEPTED... UNIQUE REQUEST"));
        return;
    }
    if (!currentPair.isEmpty()) {
        queue.append(ProcedureInputPair(procedure, inputs));
        return;
    }
    currentPair = ProcedureInputPair(procedure, inputs);
    startCurrentPairProcedure();
    startQueue();
}

void ProcedureHandler::startCurrentPairProcedure()
{
    if (currentPair.isEmpty()) {
        L_DEBUG(
            QStringLiteral("ProcedureHandler::startCurrentPairProcedure | currentPair.isEmpty"));
        return;
    }
    const Procedure procedure = currentPair.getProcedure();
    const int maxTries = getProcedureMaxTries(procedure);
    currentPair.setTimedOut(false);
    currentPair.setTries(currentPair.getTries() + 1);
    L_DEBUG(QStringLiteral("ProcedureHandler::startCurrentPairProcedure() | currentPair try: #%1 "
                           "of %2")
                .arg(currentPair.getTries())
                .arg(maxTries));
    if (currentPair.getTries() <= maxTries) {
        if (startProcedure(procedure, currentPair.getInputs()))
            return;
        // Nothing was sent and nothing would ever answer: report it and let
        // the queue go on (the caller starts the next entry).
        L_ERROR(QStringLiteral("ProcedureHandler::startCurrentPairProcedure() | request could "
                               "not be sent: ") +
                getProcedureName(procedure));
        reportResult(procedure, 100);
        return;
    }
    L_WARN(QStringLiteral("ProcedureHandler::startCurrentPairProcedure() | number of tries for "
                          "procedure finished: ") +
           getProcedureName(procedure));
    if (isCurrentTaskVital())
        queue.append(ProcedureInputPair(procedure, currentPair.getInputs()));
    reportResult(procedure, 100);
}

bool ProcedureHandler::startProcedure(Procedure procedure, const QHash<QString, QJsonValue>& inputs)
{
    const QString subDir = getProcedureSubDir(procedure, inputs);
    if (packetGenerator.getApiFields().getServerRequestType(procedure) == ApiFields::Get) {
        if (subDir.isEmpty()) {
            L_ERROR(QStringLiteral("ProcedureHandler | subdir is EMPTY!"));
            return false;
        }
        L_DEBUG(QStringLiteral("ProcedureHandler | get request sent"));
        networkHandler->getRequest(subDir);
        timeoutTimer->start(timeoutInterval);
        return true;
    }
    PacketGenerator::Fields output;
    if (!packetGenerator.generatePacket(procedure, inputs, &output)) {
        L_ERROR(QStringLiteral("ProcedureHandler | generatePacket failed at ") +
                getProcedureName(procedure));
        return false;
    }
    const QByteArray body = output.value(QStringLiteral("OutputToSend")).toString().toUtf8();
    emit requestPack(indented(body));
    if (subDir.isEmpty()) {
        L_ERROR(QStringLiteral("ProcedureHandler | subdir is EMPTY!"));
        return false;
    }
    L_DEBUG(QStringLiteral("ProcedureHandler | posting request..."));
    L_DEBUG(QStringLiteral("ProcedureHandler | request: ") + LogRedactor::redactBody(body));
    networkHandler->postRequest(subDir, body);
    timeoutTimer->start(timeoutInterval);
    return true;
}

void ProcedureHandler::startQueue()
{
    // A loop, not recursion: entries that cannot be sent are reported one after
    // the other until one is in flight or the queue is empty.
    while (currentPair.isEmpty() && !queue.isEmpty()) {
        currentPair = queue.takeFirst();
        startCurrentPairProcedure();
    }
}

void ProcedureHandler::reportResult(Procedure procedure, int code)
{
    currentPair.clear();
    timeoutTimer->stop();
    retryTimer->stop();
    emit result(procedure, code);
}

void ProcedureHandler::procedureTimeout()
{
    if (currentPair.isEmpty())
        return;
    currentPair.setTimedOut(true);
    // The request is given up for good, so its reply can never arrive late.
    networkHandler->abortRequests();
    L_WARN(QStringLiteral("ProcedureHandler | request timed out: ") +
           getProcedureName(currentPair.getProcedure()));
    retryTimer->start(retryInterval);
}

void ProcedureHandler::networkError()
{
    if (currentPair.isEmpty())
        return;
    L_WARN(QStringLiteral("ProcedureHandler | Network Error!!! starting retryTimer... Queue "
                          "Size:%1")
               .arg(queue.size()));
    timeoutTimer->stop();
    retryTimer->start(retryInterval);
}

void ProcedureHandler::retryCurrentProcedure()
{
    L_INFO(QStringLiteral("ProcedureHandler | RETRYING... ") +
           getProcedureName(currentPair.getProcedure()));
    startCurrentPairProcedure();
    startQueue();
}

void ProcedureHandler::replyReady(QByteArray reply)
{
    L_DEBUG(QStringLiteral("ProcedureHandler | webserviceReply: ") +
            LogRedactor::redactBody(reply));
    if (currentPair.isEmpty()) {
        L_WARN(QStringLiteral("ProcedureHandler | received reply... current procedure is "
                              "PRO_Idle... rolling back!"));
        return;
    }
    if (currentPair.getTimedOut()) {
        L_WARN(QStringLiteral("ProcedureHandler | received reply... current procedure has "
                              "TIMEDOUT... rolling back!"));
        return;
    }
    emit replyPack(indented(reply));

    const Procedure procedure = currentPair.getProcedure();
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(reply, &parseError);
    QJsonObject object;
    if (parseError.error != QJsonParseError::NoError || !document.isObject()) {
        L_ERROR(QStringLiteral("ProcedureHandler | reply conversion to JSON object failed: ") +
                parseError.errorString());
    } else {
        object = document.object();
    }
    const QJsonValue codeValue = object.value(QStringLiteral("ResultCode"));
    const int code = codeValue.isDouble() ? codeValue.toInt() : 0;
    const QString message = object.value(QStringLiteral("ResultMessage")).toString();
    L_INFO(QStringLiteral("ProcedureHandler | result code for ") + getProcedureName(procedure) +
           QStringLiteral(" : %1 / ").arg(code) + message);

    if (code != 200) {
        reportResult(procedure, code);
        L_WARN(QStringLiteral("ProcedureHandler | decompose success failed!"));
    } else if (processReply(object)) {
        reportResult(procedure, 200);
    } else {
        L_ERROR(QStringLiteral("ProcedureHandler | processReply() failure"));
        reportResult(procedure, 100);
    }
    startQueue();
}

bool ProcedureHandler::processReply(const QJsonObject& reply)
{
    const Procedure procedure = currentPair.getProcedure();
    if (!checkForKeys(reply)) {
        L_ERROR(QStringLiteral("ProcedureHandler::processReply | check for keys failed"));
        return false;
    }
    if (!saveOutputSettings(reply)) {
        L_ERROR(QStringLiteral("ProcedureHandler | saving output settings failed"));
        return false;
    }
    if (procedure == PROC_Activation) {
        QString token;
        if (!generateToken(&token)) {
            L_ERROR(QStringLiteral("ProcedureHandler | generating token failed..."));
            return false;
        }
    }
    if (procedure == PROC_DeactivateUser)
        packetGenerator.removeAllSettings();
    emit replyReport(procedure, reply);
    return true;
}

bool ProcedureHandler::checkForKeys(const QJsonObject& reply)
{
    const QStringList keys =
        packetGenerator.getApiFields().getOutputKeys(currentPair.getProcedure());
    for (const QString& key : keys) {
        if (!reply.contains(key)) {
            L_ERROR(QStringLiteral("ProcedureHandler::checkForKeys | missing key:") + key);
            L_DEBUG(QStringLiteral("ProcedureHandler::checkForKeys | REPLY: ") +
                    LogRedactor::redactBody(PacketGenerator::compactText(reply)));
            return false;
        }
    }
    return true;
}

bool ProcedureHandler::saveOutputSettings(const QJsonObject& reply)
{
    const QStringList keys =
        packetGenerator.getApiFields().getOutputSettingKeys(currentPair.getProcedure());
    for (const QString& key : keys) {
        if (!reply.contains(key)) {
            L_ERROR(QStringLiteral("ProcedureHandler | output setting not found: ") + key);
            return false;
        }
        packetGenerator.addSetting(key, PacketGenerator::toSettingText(reply.value(key)));
    }
    return packetGenerator.writeSettings();
}

bool ProcedureHandler::generateToken(QString* token)
{
    static const char* const names[] = {"EToken", "Username",   "ClientTimestamp", "ClientNonce",
                                        "Iv",     "HashMethod", "EncryptionMethod"};
    QHash<QString, QString> values;
    for (const char* name : names) {
        QString value;
        if (!packetGenerator.getSetting(QLatin1String(name), &value)) {
            L_ERROR(QStringLiteral("ProcedureHandler::generateToken | ") + QLatin1String(name) +
                    QStringLiteral(" missing"));
            return false;
        }
        values.insert(QLatin1String(name), value);
    }
    const QString encryptionMethod = values.value(QStringLiteral("EncryptionMethod"));
    const QByteArray seed = (values.value(QStringLiteral("Username")) +
                             values.value(QStringLiteral("ClientTimestamp")) +
                             values.value(QStringLiteral("ClientNonce")))
                                .toUtf8();
    const QByteArray key = CryptoApi::hash(seed, values.value(QStringLiteral("HashMethod")))
                               .toHex()
                               .left(CryptoApi::getKeySize(encryptionMethod));
    const QByteArray cipherText =
        QByteArray::fromBase64(values.value(QStringLiteral("EToken")).toLatin1());
    const QByteArray iv = QByteArray::fromBase64(values.value(QStringLiteral("Iv")).toLatin1());
    const QByteArray plain = CryptoApi::decrypt(cipherText, key, iv, encryptionMethod);
    if (plain.isEmpty())
        return false;
    *token = QString::fromUtf8(plain);
    packetGenerator.addSetting(QStringLiteral("Token"), *token);
    // A token that is not stored is no activation: the next start would have
    // no credentials.
    return packetGenerator.writeSettings();
}

QStringList ProcedureHandler::logoutFolders(const QString& appDataLocation,
                                            const QString& downloadLocation,
                                            const QString& applicationName)
{
    QStringList folders;
    const QString appData = QDir::cleanPath(appDataLocation);
    if (!appDataLocation.isEmpty() && QDir::isAbsolutePath(appData) && !applicationName.isEmpty() &&
        appData.endsWith(QLatin1Char('/') + applicationName))
        folders << appData;
    else
        L_WARN(QStringLiteral("ProcedureHandler::removeAllSettings | application-data folder "
                              "not removed: ") +
               appDataLocation);
    const QString downloads = QDir::cleanPath(downloadLocation);
    if (!downloadLocation.isEmpty() && QDir::isAbsolutePath(downloads))
        folders << QDir::cleanPath(downloads + QStringLiteral("/Quorvel Downloads"));
    else
        L_WARN(QStringLiteral("ProcedureHandler::removeAllSettings | download folder unknown, "
                              "nothing removed there"));
    return folders;
}

void ProcedureHandler::removeAllSettings()
{
    packetGenerator.removeAllSettings();
    // No store may stay open on a folder that is about to go: its files
    // would be written after the deletion, or (on Windows) keep the folder.
    const int closed = QLevelDB::closeAll();
    L_INFO(QStringLiteral("ProcedureHandler::removeAllSettings | closed %1 stores").arg(closed));
    const QStringList folders =
        logoutFolders(QStandardPaths::standardLocations(QStandardPaths::AppDataLocation).value(0),
                      QStandardPaths::standardLocations(QStandardPaths::DownloadLocation).value(0),
                      QCoreApplication::applicationName());
    for (const QString& folder : folders)
        removeFolder(folder);
    if (applicationControl->startDetached(ApplicationControl::currentProgram(),
                                          ApplicationControl::currentArguments()))
        applicationControl->quit();
    else
        L_ERROR(QStringLiteral("ProcedureHandler::removeAllSettings | the program did not "
                               "restart; it keeps running"));
}
