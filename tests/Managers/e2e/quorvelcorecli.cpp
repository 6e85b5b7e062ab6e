// Runs one core exactly as the GUI does (its own thread, loading started by a
// 5 ms timer, initialisation asked for once loading has finished) and drives
// it by lines on standard input. Every answer of the core is printed as one
// JSON object a line:
//   {"command": N, "value": V}
// and the steps of start-up as {"event": "..."} lines. Input lines are
// {"command": N, "value": V}, or {"quit": true} for an orderly shut-down, or
// {"stickerResolve": M} with a sticker message M as the core answered it: the
// sticker is shown as the GUI shows one (its addresses from the sticker
// service or the cache, then its densest picture downloaded), printed as
// {"event": "stickerShown", "value": {...}} or {"event": "stickerFailed"}.
// {"upload": {"path": P, "mode": M}} uploads a file as the GUI's upload
// bubbles do (mode 0: a message attachment, 1: a channel's static file),
// printed as {"event": "uploadDone", "value": {"filePath", "fileId", "fileUrl",
// "thumbnailUrl"}} or {"event": "uploadFailed", "value": {"filePath", "code"}}.
// {"pollVote": {"pollId": I, "answer": A}} votes as the poll in a message does,
// printed as {"event": "pollVoted", ...}; {"pollResults": I} asks for a poll's
// tally, printed as {"event": "pollResults", "value": tally with "pollId"}.
// When the data folder holds no user yet, it signs up first with the phone
// number in QUORVEL_PHONE and the code in QUORVEL_PIN (default "12345").
// With QUORVEL_CORE_LOG set, the core's log (every level) goes to core.log
// in the home folder, as the program writes its own.

#include "Managers/Poll/pollmanager.h"
#include "Managers/Sticker/stickermanager.h"
#include "Managers/command.h"
#include "Managers/manager.h"
#include "Managers/quorveldesktopcore.h"
#include "foundation/serviceconfig.h"
#include "foundation/simpleqtlogger.h"
#include "model/globalconstants.h"
#include "valuejson.h"
#include "webapi/FileApi/uploadmanager.h"
#include "webapi/GeneralApi/procedurehandler.h"

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSocketNotifier>
#include <QTextCodec>
#include <QThread>
#include <QTimer>

#include <cstdio>
#include <unistd.h>

namespace {

void logToHomeWhenAsked()
{
    using namespace simpleqtlogger;
    if (qEnvironmentVariableIsEmpty("QUORVEL_CORE_LOG"))
        return;
    LogSinks::ENABLE_LOG_SINK_CONSOLE = false;
    LogSinks::ENABLE_LOG_SINK_QDEBUG = false;
    LogSinks::ENABLE_LOG_SINK_SIGNAL = false;
    LogSinks::ENABLE_LOG_LEVELS.logLevel_DEBUG = true;
    SimpleQtLogger* logger = SimpleQtLogger::createInstance(QCoreApplication::instance());
    logger->setLogFileName(QDir::home().filePath(QStringLiteral("core.log")), 50000000, 1);
    logger->setLogLevels_file(LogSinks::ENABLE_LOG_LEVELS);
}

void printLine(const QJsonObject& object)
{
    const QByteArray line = QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
    fwrite(line.constData(), 1, size_t(line.size()), stdout);
    fflush(stdout);
}

void printEvent(const QString& event, const QJsonValue& value = QJsonValue())
{
    QJsonObject object{{"event", event}};
    if (!value.isNull())
        object.insert("value", value);
    printLine(object);
}

class CoreDriver : public QObject
{
    Q_OBJECT
public:
    CoreDriver()
    {
        core = new QuorvelDesktopCore();
        core->moveToThread(&thread);
        thread.start();

        connect(core->getManager(), &Manager::commandResponse, this, &CoreDriver::printAnswer,
                Qt::QueuedConnection);
        connect(this, &CoreDriver::command, core->getManager(), &Manager::command,
                Qt::QueuedConnection);
        connect(core, &QuorvelDesktopCore::loadingFinished, this, &CoreDriver::loaded,
                Qt::QueuedConnection);
        connect(
            core, &QuorvelDesktopCore::initializingFinished, this,
            [] { printEvent("initializingFinished"); }, Qt::QueuedConnection);

        input = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, this);
        connect(input, &QSocketNotifier::activated, this, &CoreDriver::readInput);
    }

    void begin()
    {
        // Asked directly, before the core thread has work, as the GUI does.
        if (core->isUserLoggedIn()) {
            startCore();
            return;
        }
        printEvent("signUp");
        connect(core->getWebApi()->getProcedureHandler(), &ProcedureHandler::result, this,
                &CoreDriver::signUpResult, Qt::QueuedConnection);
        const QString phone = qEnvironmentVariable("QUORVEL_PHONE");
        QMetaObject::invokeMethod(core, "startRegisteration", Qt::QueuedConnection,
                                  Q_ARG(QString, phone));
    }

signals:
    void command(Command command, const QVariant& value);

private slots:
    void signUpResult(Procedure procedure, int code)
    {
        printEvent("signUpResult", QJsonObject{{"procedure", int(procedure)}, {"code", code}});
        if (procedure == PROC_Register && code == 200) {
            const QString pin = qEnvironmentVariable("QUORVEL_PIN", QStringLiteral("12345"));
            QMetaObject::invokeMethod(core, "startActivation", Qt::QueuedConnection,
                                      Q_ARG(QString, pin));
        } else if (procedure == PROC_Activation && code == 200) {
            disconnect(core->getWebApi()->getProcedureHandler(), &ProcedureHandler::result, this,
                       &CoreDriver::signUpResult);
            startCore();
        } else if (procedure == PROC_Register || procedure == PROC_Activation) {
            printEvent("signUpFailed");
            QCoreApplication::exit(2);
        }
    }

    void startCore() { QTimer::singleShot(5, core, &QuorvelDesktopCore::startLoading); }

    void loaded(QXmppClient::State state)
    {
        printEvent("loadingFinished", Manager::chatServerStateValue(state));
        QMetaObject::invokeMethod(core, "onInitialize", Qt::QueuedConnection);
    }

    void printAnswer(Command command, const QVariant& value)
    {
        printLine(QJsonObject{{"command", int(command)}, {"value", ValueJson::toJson(value)}});
    }

    void readInput()
    {
        char buffer[65536];
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n <= 0) {
            input->setEnabled(false);
            shutDown();
            return;
        }
        pending.append(buffer, int(n));
        int end;
        while ((end = pending.indexOf('\n')) >= 0) {
            const QByteArray line = pending.left(end).trimmed();
            pending.remove(0, end + 1);
            if (!line.isEmpty())
                handleLine(line);
        }
    }

private:
    void handleLine(const QByteArray& line)
    {
        QJsonParseError error;
        const QJsonObject object = QJsonDocument::fromJson(line, &error).object();
        if (error.error != QJsonParseError::NoError) {
            printEvent("badInput", QString::fromUtf8(line));
            return;
        }
        if (object.value("quit").toBool()) {
            shutDown();
            return;
        }
        if (object.contains("stickerResolve")) {
            resolveSticker(object.value("stickerResolve").toObject());
            return;
        }
        if (object.contains("upload")) {
            upload(object.value("upload").toObject());
            return;
        }
        if (object.contains("pollVote") || object.contains("pollResults")) {
            poll(object);
            return;
        }
        const Command cmd = Command(object.value("command").toInt(-1));
        emit command(cmd, ValueJson::fromJson(cmd, object.value("value")));
    }

    void resolveSticker(const QJsonObject& message)
    {
        StickerMessage sticker;
        if (!sticker.setDataFromJson(message)) {
            printEvent("stickerFailed", message);
            return;
        }
        sticker.setFrom(message.value("USER_ID").toString());
        StickerManager* stickers = StickerManager::getInstance();
        if (!stickersWired) {
            stickersWired = true;
            connect(stickers, &StickerManager::stickerUrlReady, this,
                    [this](const StickerUrl& url) { showSticker(url, false); });
        }
        StickerUrl cached;
        if (stickers->getStickerUrl(sticker, &cached))
            showSticker(cached, true);
    }

    void upload(const QJsonObject& request)
    {
        UploadManager* uploads = UploadManager::getInstance();
        if (!uploadsWired) {
            uploadsWired = true;
            connect(uploads, &UploadManager::uploadDone, this,
                    [](const QString& path, const QString& id, const QString& url,
                       const QString& thumbnail) {
                        printEvent("uploadDone", QJsonObject{{"filePath", path},
                                                             {"fileId", id},
                                                             {"fileUrl", url},
                                                             {"thumbnailUrl", thumbnail}});
                    });
            connect(uploads, &UploadManager::uploadFailed, this,
                    [](const QString& path, int code, const QString&) {
                        printEvent("uploadFailed", QJsonObject{{"filePath", path}, {"code", code}});
                    });
        }
        const QString path = request.value("path").toString();
        const UploadRequest queued =
            uploads->uploadFileMessage(path, UploadMode(request.value("mode").toInt()));
        if (queued.isEmpty())
            printEvent("uploadFailed", QJsonObject{{"filePath", path}, {"code", -1}});
    }

    void poll(const QJsonObject& request)
    {
        PollManager* polls = PollManager::getInstance();
        if (!pollsWired) {
            pollsWired = true;
            connect(polls, &PollManager::voteSubmitted, this,
                    [](const QString& pollId, const QString& vote) {
                        printEvent("pollVoted", QJsonObject{{"pollId", pollId}, {"vote", vote}});
                    });
            connect(polls, &PollManager::resultsReady, this, [](const PollResult& result) {
                QJsonObject tally = result.toJsonObject();
                tally.insert("pollId", result.getPollId());
                printEvent("pollResults", tally);
            });
        }
        if (request.contains("pollVote")) {
            const QJsonObject vote = request.value("pollVote").toObject();
            polls->startPollVote(vote.value("pollId").toString(), vote.value("answer").toString());
        } else {
            polls->startPollResults(request.value("pollResults").toString());
        }
    }

    void showSticker(const StickerUrl& url, bool cached)
    {
        const QString address = url.getHighestResolutionUrl();
        QNetworkReply* reply = network.get(QNetworkRequest(QUrl(address)));
        connect(reply, &QNetworkReply::finished, this, [reply, url, address, cached] {
            QImage picture;
            const bool shown = reply->error() == QNetworkReply::NoError &&
                               picture.loadFromData(reply->readAll(), "PNG");
            const StickerMessage sticker = url.getStickerMessage();
            printEvent(shown ? "stickerShown" : "stickerFailed",
                       QJsonObject{{"STICKER_PACKAGE_ID", sticker.getStickerPackageId()},
                                   {"STICKER_ID", sticker.getStickerId()},
                                   {"url", address},
                                   {"cached", cached},
                                   {"width", picture.width()}});
            reply->deleteLater();
        });
    }

    void shutDown()
    {
        if (stopping)
            return;
        stopping = true;
        // The same order as the program's: the core shuts its managers down
        // on its own thread, then the thread is stopped and joined.
        QMetaObject::invokeMethod(core, "aboutToQuit", Qt::BlockingQueuedConnection);
        QMetaObject::invokeMethod(
            core, [this] { core->deleteLater(); }, Qt::BlockingQueuedConnection);
        thread.quit();
        thread.wait();
        QuorvelDesktopCore::deleteGuiServices();
        printEvent("stopped");
        QCoreApplication::exit(0);
    }

    QThread thread;
    QuorvelDesktopCore* core;
    QSocketNotifier* input;
    QByteArray pending;
    bool stopping = false;
    bool stickersWired = false;
    bool uploadsWired = false;
    bool pollsWired = false;
    QNetworkAccessManager network;
};

} // namespace

int main(int argc, char** argv)
{
    QTextCodec::setCodecForLocale(QTextCodec::codecForName("UTF-8"));
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Quorvel"));
    QCoreApplication::setApplicationName(QStringLiteral("Quorvel Desktop"));
    GlobalConstants::setAppVersion(QStringLiteral("0.4.2"));
    QuorvelDesktopCore::registerMetaTypes();
    ServiceConfig::installExtraCaCertificates();
    logToHomeWhenAsked();

    CoreDriver driver;
    QTimer::singleShot(0, &driver, &CoreDriver::begin);
    return app.exec();
}

#include "quorvelcorecli.moc"
