#ifndef DATETIMECALIBRATOR_H
#define DATETIMECALIBRATOR_H

#include "foundation/quorvelcore_export.h"

#include <QNetworkReply>
#include <QObject>
#include <QTimer>

class QNetworkAccessManager;

// Keeps the offset between the service's clock and ours from a time answer
// ({"status": "OK", "timestamp": <seconds>}). The offset is stored, not applied.
class QUORVELCORE_EXPORT DateTimeCalibrator : public QObject
{
    Q_OBJECT
public:
    explicit DateTimeCalibrator(QObject* parent = nullptr);

public slots:
    void start();
    void finished(QNetworkReply* networkReply);
    void error(QNetworkReply::NetworkError err);
    void startRetryTimer();

    // Applies one time answer's body; exposed for the reply handler and tests.
    bool applyReply(const QByteArray& body);

private:
    QNetworkAccessManager* networkManager;
    QTimer timer;
    int retryCount = 0;
};

#endif // DATETIMECALIBRATOR_H
