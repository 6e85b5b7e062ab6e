// The HTTPS transport against the fake web service on loopback: URL, headers
// and body as sent, replies with and without bodies, failures, aborts, and
// certificates that are checked (the fake's CA is trusted, another is not).

#include "capturedlog.h"
#include "fakewebservice.h"
#include "testcertificates.h"
#include "webapi/GeneralApi/deviceinfoprovider.h"
#include "webapi/GeneralApi/networkhandler.h"

#include <QJsonDocument>
#include <QSignalSpy>
#include <QTcpServer>
#include <QtTest>

class TestNetworkHandler : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();

    void postCarriesHeadersAndBody();
    void jsonObjectIsPostedCompact();
    void getHasNoBody();
    void errorStatusWithBodyIsAReply();
    void failuresWithoutBody();
    void abortedRequestReportsNothing();
    void untrustedCertificateGetsNoRequest();

private:
    FakeWebService service;
    QString closedPortUrl;
};

void TestNetworkHandler::initTestCase()
{
    QVERIFY(!TestCertificates::trustSharedCa().isEmpty());
    QVERIFY(service.start());
    service.setHandler("echo/", [](const FakeRequest& request) {
        return FakeReply::raw(request.body, 200, "application/json");
    });
    QTcpServer closed;
    QVERIFY(closed.listen(QHostAddress::LocalHost, 0));
    closedPortUrl = QStringLiteral("https://127.0.0.1:%1/").arg(closed.serverPort());
}

void TestNetworkHandler::init()
{
    service.clearRequests();
}

void TestNetworkHandler::postCarriesHeadersAndBody()
{
    NetworkHandler handler;
    // Base and sub-directory are joined with nothing in between.
    handler.setApiURL(service.baseUrl() + "ec");
    QCOMPARE(handler.getRequestURL("ho/").toString(), service.baseUrl() + "echo/");
    QSignalSpy replies(&handler, &NetworkHandler::replyReady);
    const QByteArray body = R"({"b":1,"a":"\u00e4"})";
    handler.postRequest("ho/", body);
    QVERIFY(replies.wait(5000));
    QCOMPARE(replies.first().first().toByteArray(), body);

    QCOMPARE(service.requests().size(), 1);
    const FakeRequest request = service.requests().first();
    QCOMPARE(request.method, QByteArray("POST"));
    QCOMPARE(request.path, QString("echo/"));
    QCOMPARE(request.body, body);
    QCOMPARE(request.header("Content-Type"), QByteArray("JSON"));
    QCOMPARE(QString::fromUtf8(request.header("User-Agent")), DeviceInfoProvider().getUserAgent());
}

void TestNetworkHandler::jsonObjectIsPostedCompact()
{
    NetworkHandler handler;
    handler.setApiURL(service.baseUrl());
    QSignalSpy replies(&handler, &NetworkHandler::replyReady);
    handler.postRequest("echo/", QJsonObject{{"z", 1}, {"a", QJsonArray{true, "x y"}}});
    QVERIFY(replies.wait(5000));
    QCOMPARE(service.requests().first().body, QByteArray(R"({"a":[true,"x y"],"z":1})"));
}

void TestNetworkHandler::getHasNoBody()
{
    NetworkHandler handler;
    handler.setApiURL(service.baseUrl());
    service.enqueueReply("client_country/", FakeReply::result(200, {{"CountryCode", "DE"}}));
    QSignalSpy replies(&handler, &NetworkHandler::replyReady);
    handler.getRequest("client_country/");
    QVERIFY(replies.wait(5000));
    const FakeRequest request = service.requests().first();
    QCOMPARE(request.method, QByteArray("GET"));
    QVERIFY(request.body.isEmpty());
    QCOMPARE(request.header("Content-Type"), QByteArray("JSON"));
    QCOMPARE(QJsonDocument::fromJson(replies.first().first().toByteArray())
                 .object()
                 .value("CountryCode")
                 .toString(),
             QString("DE"));
}

void TestNetworkHandler::errorStatusWithBodyIsAReply()
{
    NetworkHandler handler;
    handler.setApiURL(service.baseUrl());
    FakeReply reply = FakeReply::result(500);
    reply.status = 500;
    service.enqueueReply("broken/", reply);
    QSignalSpy replies(&handler, &NetworkHandler::replyReady);
    handler.postRequest("broken/", QByteArray("{}"));
    QVERIFY(replies.wait(5000));
    QCOMPARE(replies.first().first().toByteArray(), reply.body);
}

void TestNetworkHandler::failuresWithoutBody()
{
    NetworkHandler handler;
    handler.setApiURL(closedPortUrl);
    QSignalSpy errors(&handler, &NetworkHandler::error);
    QSignalSpy replies(&handler, &NetworkHandler::replyReady);
    handler.getRequest("x/");
    QTRY_COMPARE_WITH_TIMEOUT(errors.size(), 1, 5000);
    QTest::qWait(100);
    QCOMPARE(errors.size(), 1); // a GET reports once

    errors.clear();
    handler.postRequest("x/", QByteArray("{}"));
    QTRY_COMPARE_WITH_TIMEOUT(errors.size(), 2, 5000); // from the reply and from finished
    QTest::qWait(100);
    QCOMPARE(errors.size(), 2);
    QCOMPARE(replies.size(), 0);
}

void TestNetworkHandler::abortedRequestReportsNothing()
{
    NetworkHandler handler;
    handler.setApiURL(service.baseUrl());
    service.enqueueReply("slow/", FakeReply::result(200).delayed(400));
    QSignalSpy errors(&handler, &NetworkHandler::error);
    QSignalSpy replies(&handler, &NetworkHandler::replyReady);
    handler.postRequest("slow/", QByteArray("{}"));
    QVERIFY(service.waitForRequests(1));
    handler.abortRequests();
    QTest::qWait(700);
    QCOMPARE(replies.size(), 0);
    QCOMPARE(errors.size(), 0);
    QVERIFY(service.requests().first().closedByClient);
}

void TestNetworkHandler::untrustedCertificateGetsNoRequest()
{
    CapturedLog log;
    FakeWebService stranger(TestCertificates::create("Stranger"));
    QVERIFY(stranger.start());
    stranger.setHandler("echo/", [](const FakeRequest&) { return FakeReply::result(200); });
    NetworkHandler handler;
    handler.setApiURL(stranger.baseUrl());
    QSignalSpy errors(&handler, &NetworkHandler::error);
    QSignalSpy replies(&handler, &NetworkHandler::replyReady);
    handler.postRequest("echo/", QByteArray(R"({"Password":"p"})"));
    QTRY_VERIFY_WITH_TIMEOUT(errors.size() >= 1, 5000);
    QTRY_VERIFY_WITH_TIMEOUT(stranger.failedHandshakes() >= 1, 2000);
    QCOMPARE(replies.size(), 0);
    QCOMPARE(stranger.requests().size(), 0);
    QVERIFY(log.contains("NetworkHandler::sslErrors | certificate rejected"));
}

QTEST_GUILESS_MAIN(TestNetworkHandler)
#include "tst_networkhandler.moc"
