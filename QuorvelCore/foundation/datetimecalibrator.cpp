#include "foundation/datetimecalibrator.h"

#include "foundation/datetime.h"
#include "foundation/simpleqtlogger.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>

DateTimeCalibrator::DateTimeCalibrator(QObject* parent)
    : QObject(parent), networkManager(new QNetworkAccessManager(this))
{
    connect(networkManager, &QNetworkAccessManager::finished, this, &DateTimeCalibrator::finished);
    connect(&timer, &QTimer::timeout, this, &DateTimeCalibrator::start);
    timer.setSingleShot(true);
    DateTime::setOffset(0);
}

// No time service is configured, so there is nothing to ask.
void DateTimeCalibrator::start() {}

void DateTimeCalibrator::finished(QNetworkReply* networkReply)
{
    if (!networkReply)
        return;
    applyReply(networkReply->readAll());
    networkReply->deleteLater();
}

bool DateTimeCalibrator::applyReply(const QByteArray& body)
{
    if (body.isEmpty())
        return false;
    timer.stop();
    const QJsonObject object = QJsonDocument::fromJson(body).object();
    if (object.value(QStringLiteral("status")).toString() != QLatin1String("OK"))
        return false;
    const QJsonValue stamp = object.value(QStringLiteral("timestamp"));
    bool ok = stamp.isDouble();
    qint64 serverSeconds = stamp.isDouble() ? qint64(stamp.toDouble()) : 0;
    if (stamp.isString())
        serverSeconds = stamp.toString().toLongLong(&ok);
    if (!ok) {
        L_WARN(QStringLiteral("DateTimeCalibrator::finished | reply without a usable timestamp"));
        return false;
    }
    const qint64 offset = serverSeconds - qint64(DateTime::getDateTime());
    DateTime::setOffset(offset);
    L_DEBUG(QStringLiteral("DateTimeCalibrator::finished | offset: %1").arg(offset));
    return true;
}

void DateTimeCalibrator::error(QNetworkReply::NetworkError)
{
    startRetryTimer();
}

void DateTimeCalibrator::startRetryTimer()
{
    timer.start(retryCount <= 5 ? 5000 : 60000);
}
