#ifndef QUORVELWEBAPI_H
#define QUORVELWEBAPI_H

#include "foundation/quorvelcore_export.h"
#include "webapi/GeneralApi/procedure.h"

#include <QHash>
#include <QJsonValue>
#include <QObject>
#include <QString>

class ProcedureHandler;

// The web-service client as the rest of the core sees it: owns the procedure
// queue, starts the procedures of sign-up and start-up, forwards every
// manager's start signal to the queue, reads stored settings, repairs the
// device id at start-up and forwards log-out.
class QUORVELCORE_EXPORT QuorvelWebApi : public QObject
{
    Q_OBJECT
public:
    explicit QuorvelWebApi(QObject* parent = nullptr);

    ProcedureHandler* getProcedureHandler() const { return procedureHandler; }

    void startRegisteration(const QString& phoneNo);
    void startIVRRequest();
    void startActivation(const QString& pinCode);
    void startUserCard();
    void startCountryCode();
    void startAlgorithms();
    void startSalam();
    void startReport(const QString& title, const QString& type, const QString& description);
    void startLastSeen();
    void startSetDeviceId(const QString& newDeviceId);

    // Absent keys read as "".
    QString getSetting(const QString& key) const;
    QString getEncryptioMethod() const;
    QString getHashMethod() const;
    bool getResultValue(const QString& key, QString* value) const;

    // Run once at start-up: restores a lost device id, or asks the service to
    // accept one made from this machine's MAC.
    void checkForDeviceIdCorrection();

signals:
    void start(Procedure procedure,
               QHash<QString, QJsonValue> inputs = QHash<QString, QJsonValue>());
    void newDeviceIdSet();

public slots:
    void result(Procedure pro, int resultCode);
    void removeAllSettings();

private:
    void setNewMACAndDeviceId();

    ProcedureHandler* procedureHandler = nullptr;
    QString pendingDeviceId;
    QString pendingMAC;
};

#endif // QUORVELWEBAPI_H
