#include "foundation/connectivitychecker.h"
#include "foundation/simpleqtlogger.h"

#include "foundation/pinger.h"

ConnectivityChecker* ConnectivityChecker::instance = nullptr;

ConnectivityChecker::ConnectivityChecker(QObject* parent) : QObject(parent), timer(this)
{
    connect(&timer, &QTimer::timeout, this, &ConnectivityChecker::check);
    timer.start(CHECK_INTERVAL_MS);
}

ConnectivityChecker::~ConnectivityChecker() = default;

ConnectivityChecker* ConnectivityChecker::getInstance()
{
    if (!instance)
        instance = new ConnectivityChecker();
    return instance;
}

void ConnectivityChecker::deleteInstance()
{
    delete instance;
    instance = nullptr;
}

void ConnectivityChecker::startChecking(const QString& host, short port)
{
    if (pingers.contains(host))
        return;
    // The first probe runs at the next tick.
    auto* pinger = new Pinger(host, port, this);
    pingers.insert(host, pinger);
    connect(pinger, &Pinger::pingResult, this, &ConnectivityChecker::pingResult,
            Qt::UniqueConnection);
}

void ConnectivityChecker::check()
{
    for (Pinger* pinger : qAsConst(pingers))
        pinger->start(QString(), 0);
}

void ConnectivityChecker::pingResult(const QString& host, int returnedCode)
{
    if (returnedCode != 0)
        return;
    Pinger* pinger = pingers.take(host);
    if (!pinger)
        return;
    pinger->deleteLater();
    emit connected(host);
}

void ConnectivityChecker::stopThread()
{
    L_DEBUG(QStringLiteral("ConnectivityChecker::stopThread"));
}
