#ifndef PROCEDUREHANDLER_H
#define PROCEDUREHANDLER_H

#include "foundation/quorvelcore_export.h"
#include "webapi/GeneralApi/apifields.h"
#include "webapi/GeneralApi/packetgenerator.h"
#include "webapi/GeneralApi/procedure.h"
#include "webapi/GeneralApi/procedureinputpair.h"

#include <QByteArray>
#include <QHash>
#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

class ApplicationControl;
class NetworkHandler;
class QTimer;

// Sends web-service procedures one at a time. Each try waits a time-out for
// its reply (the request is then aborted and its late reply can never count),
// then a pause before the next try. Accepted replies are checked, their
// setting values stored, the token derived after activation; the outcome goes
// out as replyReport (accepted reply) and result (200, 100, 0 or the server's
// code). Also carries out log-out.
class QUORVELCORE_EXPORT ProcedureHandler : public QObject
{
    Q_OBJECT
public:
    explicit ProcedureHandler(QObject* parent = nullptr);
    ~ProcedureHandler() override;

    bool isUserLoggedIn() const;
    bool getResultValue(const QString& key, QString* value) const;
    Procedure getCurrentProcedure() const { return currentPair.getProcedure(); }
    int getQueueSize() const { return queue.size(); }
    bool isCurrentTaskVital() const;

    static QString getProcedureName(Procedure procedure);
    // Browse Category's sub-directory carries its percent-encoded category id.
    static QString getProcedureSubDir(Procedure procedure,
                                      const QHash<QString, QJsonValue>& inputs = {});
    static int getProcedureMaxTries(Procedure procedure);
    static QStringList getReportTypes();

    PacketGenerator* getPacketGenerator() { return &packetGenerator; }
    NetworkHandler* getNetworkHandler() const { return networkHandler; }

    // How long a try waits for its reply, and the pause before the next try
    // (both 5000 ms unless changed; tests shorten them).
    void setTimeoutInterval(int msecs) { timeoutInterval = msecs; }
    int getTimeoutInterval() const { return timeoutInterval; }
    void setRetryInterval(int msecs) { retryInterval = msecs; }
    int getRetryInterval() const { return retryInterval; }
    // Takes ownership; replaces how log-out restarts and quits the program.
    void setApplicationControl(ApplicationControl* control);

    // The folders that log-out may delete: the application-data folder when it
    // is absolute and ends in the application's own name, and "Quorvel
    // Downloads" under an absolute download folder. Anything else is left out.
    static QStringList logoutFolders(const QString& appDataLocation,
                                     const QString& downloadLocation,
                                     const QString& applicationName);

signals:
    void result(Procedure pro, int res);
    void requestPack(QString request);
    void replyPack(QString reply);
    void replyReport(Procedure procedure, QJsonObject managerInput);

public slots:
    void start(Procedure procedure,
               QHash<QString, QJsonValue> inputs = QHash<QString, QJsonValue>());
    void replyReady(QByteArray reply);
    void networkError();
    void procedureTimeout();
    void retryCurrentProcedure();
    void removeAllSettings();

private:
    void startCurrentPairProcedure();
    bool startProcedure(Procedure procedure, const QHash<QString, QJsonValue>& inputs);
    void startQueue();
    void reportResult(Procedure procedure, int code);
    bool processReply(const QJsonObject& reply);
    bool checkForKeys(const QJsonObject& reply);
    bool saveOutputSettings(const QJsonObject& reply);
    bool generateToken(QString* token);
    bool isQueuedOrCurrent(Procedure procedure) const;

    PacketGenerator packetGenerator;
    NetworkHandler* networkHandler = nullptr;
    QTimer* timeoutTimer = nullptr;
    QTimer* retryTimer = nullptr;
    QList<ProcedureInputPair> queue;
    ProcedureInputPair currentPair;
    int timeoutInterval = 5000;
    int retryInterval = 5000;
    std::unique_ptr<ApplicationControl> applicationControl;
};

#endif // PROCEDUREHANDLER_H
