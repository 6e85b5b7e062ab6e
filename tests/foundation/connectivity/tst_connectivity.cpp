#include "foundation/connectivitychecker.h"
#include "foundation/pinger.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

namespace {
// A loopback port on which nobody listens (any more).
quint16 closedPort()
{
    QTcpServer server;
    server.listen(QHostAddress::LocalHost, 0);
    const quint16 port = server.serverPort();
    server.close();
    return port;
}
} // namespace

class TestConnectivity : public QObject
{
    Q_OBJECT

private:
    QTcpServer server;
    int accepted = 0;

private slots:
    void initTestCase()
    {
        QVERIFY(server.listen(QHostAddress::LocalHost, 0));
        connect(&server, &QTcpServer::newConnection, this, [this]() {
            while (QTcpSocket* s = server.nextPendingConnection()) {
                ++accepted;
                s->deleteLater();
            }
        });
    }

    void cleanup() { ConnectivityChecker::deleteInstance(); }

    // Ports above 32767 travel as a negative short and must still reach the
    // right port (ephemeral test ports usually lie there).
    void pingerProbesOnThePool_data()
    {
        QTest::addColumn<bool>("open");
        QTest::newRow("open port") << true;
        QTest::newRow("closed port") << false;
    }

    void pingerProbesOnThePool()
    {
        QFETCH(bool, open);
        const quint16 port = open ? server.serverPort() : closedPort();
        Pinger pinger(QStringLiteral("127.0.0.1"), short(port));
        QSignalSpy spy(&pinger, &Pinger::pingResult);
        QElapsedTimer clock;
        clock.start();
        pinger.start(QString(), 0); // probes the host and port it was made with
        QTRY_COMPARE_WITH_TIMEOUT(spy.count(), 1, 3000);
        QVERIFY(clock.elapsed() < 1500);
        QCOMPARE(spy.at(0).at(0).toString(), QStringLiteral("127.0.0.1"));
        QCOMPARE(spy.at(0).at(1).toInt(), open ? 0 : 1);
        QCOMPARE(Pinger::ping(QStringLiteral("127.0.0.1"), short(port)), open ? 0 : 1);
        QCOMPARE(pinger.getPort(), short(port));
    }

    // The reachable host is announced once at the first tick and then left alone;
    // the unreachable one stays under watch without a signal.
    void checkerAnnouncesReachableHostsOnce()
    {
        ConnectivityChecker* checker = ConnectivityChecker::getInstance();
        QCOMPARE(ConnectivityChecker::getInstance(), checker);
        QSignalSpy connected(checker, &ConnectivityChecker::connected);
        const int acceptedBefore = accepted;
        checker->startChecking(QStringLiteral("127.0.0.1"), short(server.serverPort()));
        checker->startChecking(QStringLiteral("127.0.0.1"), short(closedPort()));
        checker->startChecking(QStringLiteral("127.0.0.2"), short(closedPort()));
        QCOMPARE(checker->findChildren<Pinger*>().size(), 2);

        QElapsedTimer clock;
        clock.start();
        QTRY_COMPARE_WITH_TIMEOUT(connected.count(), 1,
                                  ConnectivityChecker::CHECK_INTERVAL_MS + 2000);
        QVERIFY(clock.elapsed() < ConnectivityChecker::CHECK_INTERVAL_MS + 1500);
        QCOMPARE(connected.at(0).at(0).toString(), QStringLiteral("127.0.0.1"));
        QVERIFY(!checker->isChecking(QStringLiteral("127.0.0.1")));
        QVERIFY(checker->isChecking(QStringLiteral("127.0.0.2")));

        // One more tick: no new probe of the announced host, no signal for the other.
        QTRY_COMPARE(accepted, acceptedBefore + 1);
        QTest::qWait(ConnectivityChecker::CHECK_INTERVAL_MS + 500);
        QCOMPARE(accepted, acceptedBefore + 1);
        QCOMPARE(connected.count(), 1);
        QVERIFY(checker->isChecking(QStringLiteral("127.0.0.2")));
        QTRY_COMPARE(checker->findChildren<Pinger*>().size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestConnectivity)
#include "tst_connectivity.moc"
