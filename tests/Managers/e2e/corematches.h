#ifndef COREMATCHES_H
#define COREMATCHES_H

#include "coreprocess.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcessEnvironment>
#include <QString>

#include <QTest>
#include <memory>

// Command values and line matchers shared by the end-to-end tests.
namespace corematch {

const int kCmdGetUserProfile = 0;
const int kCmdSetProfile = 2;
const int kCmdAddContact = 5;
const int kCmdUpdateContact = 6;
const int kCmdSendMessage = 41;
const int kCmdGetChatMessages = 44;
const int kCmdMessageAdded = 45;
const int kCmdMessagePairAdded = 46;
const int kCmdMessageStateChange = 47;
const int kCmdChatServerState = 76;

inline QJsonObject textMessage(const QString& to, const QString& text)
{
    return QJsonObject{{"MAJOR_TYPE", "SIMPLE_CHAT"},
                       {"MINOR_TYPE", "TEXT"},
                       {"FROM", to},
                       {"MESSAGE_BODY", text}};
}

inline QJsonObject pairMessage(const QJsonObject& line)
{
    return line.value("value").toObject().value("message").toObject();
}

inline CoreProcess::Match pairWithBody(const QString& body)
{
    return [body](const QJsonObject& line) {
        return line.value("command").toInt() == kCmdMessagePairAdded &&
               pairMessage(line).value("MESSAGE_BODY").toString() == body;
    };
}

inline CoreProcess::Match stateChange(const QString& messageId, const QString& state)
{
    return [messageId, state](const QJsonObject& line) {
        const QJsonObject value = line.value("value").toObject();
        return line.value("command").toInt() == kCmdMessageStateChange &&
               value.value("messageId").toString() == messageId &&
               value.value("state").toString() == state;
    };
}

// The answer to the command whose value's JSON holds the text.
inline CoreProcess::Match answerWith(int command, const QString& text)
{
    return [=](const QJsonObject& line) {
        return line.value("command").toInt() == command &&
               QJsonDocument(line.value("value").toObject()).toJson().contains(text.toUtf8());
    };
}

// The answer to the command about the group with this JID.
inline CoreProcess::Match groupAnswer(int command, const QString& jid)
{
    return [command, jid](const QJsonObject& line) {
        return line.value("command").toInt() == command &&
               line.value("value").toObject().value("GroupJID").toString() == jid;
    };
}

// The chat server state answer with this value (3: connected, 1: disconnected).
inline CoreProcess::Match chatServerState(int state)
{
    return [state](const QJsonObject& line) {
        return line.value("command").toInt() == kCmdChatServerState &&
               line.value("value").toInt() == state;
    };
}

// The environment of a core whose home, data, configuration, cache and
// runtime folders are its own under root (made here); false when they
// cannot be made.
inline bool privateEnvironment(const QString& root, QProcessEnvironment* env)
{
    *env = QProcessEnvironment::systemEnvironment();
    const QList<QPair<const char*, const char*>> folders{{"HOME", "home"},
                                                         {"XDG_DATA_HOME", "data"},
                                                         {"XDG_CONFIG_HOME", "config"},
                                                         {"XDG_CACHE_HOME", "cache"},
                                                         {"XDG_RUNTIME_DIR", "runtime"}};
    for (const auto& folder : folders) {
        const QString path = root + QLatin1Char('/') + QLatin1String(folder.second);
        if (!QDir().mkpath(path))
            return false;
        env->insert(QLatin1String(folder.first), path);
    }
    QFile::setPermissions(root + QStringLiteral("/runtime"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    env->insert("QT_QPA_PLATFORM", "offscreen");
    return true;
}

// Reads the service settings the local service writes for its clients
// (NAME=value lines) into env; false when the file cannot be read or names
// no web service.
inline bool readClientEnv(const QString& path, QHash<QString, QString>* env)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray& line : file.readAll().split('\n')) {
        const int equals = line.indexOf('=');
        if (equals > 0)
            env->insert(QString::fromUtf8(line.left(equals)),
                        QString::fromUtf8(line.mid(equals + 1)));
    }
    return env->contains("QUORVEL_WEB_BASE_URL");
}

// Starts the standalone local service (the program) on the data folder, its
// output appended to log, and waits until it serves: it has written its
// client settings, read into env. False when it did not start or wrote no
// settings within a minute.
inline bool startLocalService(QProcess* service, const QString& program, const QString& folder,
                              const QString& log, const QString& code, QHash<QString, QString>* env)
{
    const QString settings = folder + QStringLiteral("/client.env");
    QFile::remove(settings);
    service->setProgram(program);
    service->setArguments({"--data", folder, "--demo-code", code});
    service->setStandardOutputFile(log, QIODevice::Append);
    service->setStandardErrorFile(log, QIODevice::Append);
    service->start();
    if (!service->waitForStarted(10000))
        return false;
    QElapsedTimer timer;
    timer.start();
    while (!QFile::exists(settings) && service->state() == QProcess::Running &&
           timer.elapsed() < 60000)
        QTest::qWait(50);
    env->clear();
    return readClientEnv(settings, env);
}

// An event line of the line-driven core ({"event": name, "value": {...}})
// whose value holds key with that text.
inline CoreProcess::Match eventWith(const QString& name, const QString& key, const QString& value)
{
    return [=](const QJsonObject& line) {
        return line.value("event").toString() == name &&
               line.value("value").toObject().value(key).toString() == value;
    };
}

// A core of a user of the standalone local service: its own home below
// root/name, the service's client settings, and the number and code to sign
// up with when its folder is empty.
inline std::unique_ptr<CoreProcess> stackCore(const QString& root, const QString& name,
                                              const QHash<QString, QString>& clientEnv,
                                              const QString& phone, const QString& code)
{
    QProcessEnvironment env;
    if (!privateEnvironment(root + QLatin1Char('/') + name, &env))
        return nullptr;
    for (auto it = clientEnv.constBegin(); it != clientEnv.constEnd(); ++it)
        env.insert(it.key(), it.value());
    env.insert("QUORVEL_PHONE", phone);
    env.insert("QUORVEL_PIN", code);
    auto core = std::make_unique<CoreProcess>(name, env);
    return core->start() ? std::move(core) : nullptr;
}

} // namespace corematch

#endif // COREMATCHES_H
