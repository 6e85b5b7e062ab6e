// Stickers: the values read from the sticker service, the client's queue with
// its session (first request, renewal once, requests that never stall) and the
// address cache, against the fake HTTPS service standing in for the sticker
// host; and the package list model.
#include "Managers/Sticker/stickerapi.h"
#include "Managers/Sticker/stickermanager.h"
#include "Managers/Sticker/stickerpackagelistmodel.h"
#include "fakeprocedures.h"
#include "fakewebservice.h"
#include "foundation/database.h"
#include "localservice.h"
#include "model/globalconstants.h"
#include "stickercatalogue.h"
#include "testcertificates.h"

#include <QAbstractItemModelTester>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QtTest>

namespace {

StickerMessage sticker(const QString& package, const QString& id, const QString& version = "1")
{
    StickerMessage message;
    message.setStickerPackageId(package);
    message.setStickerId(id);
    message.setStickerVersion(version);
    message.setFrom("989120000009");
    return message;
}

// What the sticker host answers for a sticker: two densities under its ids.
FakeReply stickerReply(const FakeRequest& request)
{
    const QJsonObject body = request.json();
    const QString name =
        body.value("PackageID").toString() + "-" + body.value("StickerID").toString();
    return FakeReply::json(
        {{"ResultCode", 200},
         {"StickerID", body.value("StickerID")},
         {"PackageStickerID", body.value("PackageID")},
         {"StickerVersion", body.value("StickerVersion")},
         {"FromUsername", body.value("FromUsername")},
         {"Resolution", "mdpi,xxhdpi"},
         {"StickerURL", QJsonObject{{"mdpi", "https://files.test/" + name + "-m.png"},
                                    {"xxhdpi", "https://files.test/" + name + "-xx.png"}}}});
}

QJsonObject package(const QString& id)
{
    return {
        {"ID", id}, {"Price", "0"}, {"Thumbnail", "t"}, {"Title", "T " + id}, {"Downloads", "5"}};
}

} // namespace

class TestStickers : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void resolutions();
    void stickerReplies_data();
    void stickerReplies();
    void marketValues();
    void firstMarketRequestAuthenticatesFirst();
    void sessionRenewedOnceOn314();
    void paths_data();
    void paths();
    void neverStalls_data();
    void neverStalls();
    void cachedStickerNeedsNoRequest();
    void cacheKeepsStickersApart();
    void emptyAnswerIsNotCached();
    void packageListModel();
    void localStickerService();

private:
    QStringList requestPaths() const;
    FakeWebService service;
    int sessions = 0;
};

void TestStickers::initTestCase()
{
    QVERIFY(!TestCertificates::trustSharedCa().isEmpty());
    QVERIFY(service.start());
    qputenv("QUORVEL_STICKER_BASE_URL", service.baseUrl().toUtf8());
    GlobalConstants::setUserName("989120000001");
    GlobalConstants::setToken("tok-s");
    GlobalConstants::setHashMethod("SHA256");
    GlobalConstants::setLanguage("en");
    service.setHandler("authentication/", [this](const FakeRequest&) {
        return FakeReply::json(
            {{"ResultCode", 200}, {"SessionKey", QString("key-%1").arg(++sessions)}});
    });
    service.setHandler("stickers/download/", stickerReply);
    service.setHandler("banner/", [](const FakeRequest&) {
        return FakeReply::json(
            {{"ResultCode", 200},
             {"Banners", QJsonArray{QJsonObject{{"BannerId", "b1"},
                                                {"ShowTime", "5"},
                                                {"LocationUrl", "https://x.test/"}},
                                    QJsonObject{{"BannerId", "broken"}}}}});
    });
    service.setPrefixHandler("packages/view/", [](const FakeRequest&) {
        return FakeReply::json({{"ResultCode", 200}});
    });
    service.setPrefixHandler("browse/", [](const FakeRequest&) {
        return FakeReply::json({{"ResultCode", 200}, {"Packages", QJsonArray{package("p1")}}});
    });
}

void TestStickers::init()
{
    service.clearRequests();
    service.clearScriptedReplies();
}

QStringList TestStickers::requestPaths() const
{
    QStringList list;
    for (const FakeRequest& request : service.requests())
        list << request.path;
    return list;
}

void TestStickers::resolutions()
{
    QCOMPARE(StickerResolution::toResolution("xxhdpi"), StickerResolution::xxhdpi);
    QCOMPARE(StickerResolution::toResolution("XXHDPI"), StickerResolution::None);
    QCOMPARE(StickerResolution::toString(StickerResolution::Resolution(0)), QString());
    QCOMPARE(StickerResolution::toString(StickerResolution::Resolution(7)), QString());
    StickerUrl url;
    url.insertUrl(StickerResolution::hdpi, "h");
    url.insertUrl(StickerResolution::xxxhdpi, "");
    QCOMPARE(url.getHighestResolutionUrl(), QString("h"));
    url.insertUrl(StickerResolution::ldpi, "l");
    QCOMPARE(url.getResolutions(),
             (QList<StickerResolution::Resolution>{StickerResolution::ldpi, StickerResolution::hdpi,
                                                   StickerResolution::xxxhdpi}));
    QCOMPARE(StickerUrl().getHighestResolutionUrl(), QString());
}

void TestStickers::stickerReplies_data()
{
    QTest::addColumn<QJsonObject>("reply");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("urls");
    const QJsonObject ids{{"StickerID", "s"}, {"PackageStickerID", "p"}, {"StickerVersion", "2"}};
    QJsonObject full = ids;
    full.insert("Resolution", "hdpi");
    full.insert("StickerURL", QJsonObject{{"hdpi", "a"}, {"huge", "b"}});
    QTest::newRow("complete") << full << true << 1;
    QJsonObject noDensity = full;
    noDensity.insert("StickerURL", QJsonObject{{"HDPI", "a"}});
    QTest::newRow("no density named") << noDensity << false << 0;
    QJsonObject noResolution = full;
    noResolution.remove("Resolution");
    QTest::newRow("no Resolution") << noResolution << false << 0;
}

void TestStickers::stickerReplies()
{
    QFETCH(QJsonObject, reply);
    QFETCH(bool, ok);
    QFETCH(int, urls);
    StickerUrl url;
    QCOMPARE(url.setDataFromJson(reply), ok);
    QCOMPARE(url.getUrls().size(), urls);
    // The sticker's own ids are read whatever else is missing.
    QCOMPARE(url.getStickerMessage().getStickerPackageId(), QString("p"));
    QCOMPARE(url.getStickerMessage().getStickerId(), QString("s"));
    QCOMPARE(StickerUrl(url.getUrlsJsonObject()).getUrls().size(), 0);
    StickerUrl back;
    back.setUrls(url.getUrlsJsonObject());
    QCOMPARE(back.getUrls(), url.getUrls());
}

void TestStickers::marketValues()
{
    StickerBanner banner;
    QVERIFY(!banner.setDataFromJson({{"BannerId", "b"}, {"LocationUrl", "u"}}));
    QCOMPARE(banner.getId(), QString("b"));
    QVERIFY(banner.getUrl().isEmpty());

    StickerPackage pack;
    QJsonObject numeric = package("p");
    numeric.insert("Price", 3.5);
    QVERIFY(pack.setDataFromJson(numeric));
    QCOMPARE(pack.getPrice(), 0.0);
    numeric.insert("Price", "2.25");
    QVERIFY(pack.setDataFromJson(numeric));
    QCOMPARE(pack.getPrice(), 2.25);

    StickerPackageInfo info;
    QVERIFY(!info.setStars(QJsonObject{{"One", "4"}, {"Two", "7"}, {"Four", "1"}}));
    QCOMPARE(info.getStars(), (QHash<int, int>{{1, 4}, {2, 7}}));
    QJsonObject infoJson = package("p");
    infoJson.insert("Author", "me");
    infoJson.insert("CategoryID", "c");
    infoJson.insert("DateAdded", "2026-01-02 03:04:05");
    infoJson.insert("Description", "d");
    infoJson.insert(
        "Stars",
        QJsonObject{{"One", "1"}, {"Two", "2"}, {"Three", "3"}, {"Four", "4"}, {"Five", "5"}});
    infoJson.insert("StarMean", 3.5);
    infoJson.insert("StickersThumbnail", "st");
    QVERIFY(info.setDataFromJson(infoJson));
    QCOMPARE(info.getStarMean(), 3.5);
    QCOMPARE(info.getDateAdded(), QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5)));
    QCOMPARE(info.getStars().value(5), 5);
    // The mean goes out as text and is read as a number: it does not survive.
    StickerPackageInfo back;
    QVERIFY(back.setDataFromJson(info.toJsonObject()));
    QCOMPARE(back.getStarMean(), 0.0);
    QCOMPARE(back.getStars(), info.getStars());
}

void TestStickers::firstMarketRequestAuthenticatesFirst()
{
    StickerApi api;
    QList<QList<StickerBanner>> banners;
    connect(&api, &StickerApi::bannersReady, this,
            [&](const QList<StickerBanner>& list) { banners << list; });
    api.requestGetBanners();
    api.requestGetBanners();
    QTRY_COMPARE_WITH_TIMEOUT(banners.size(), 2, 10000);
    QCOMPARE(requestPaths(), QStringList({"authentication/", "banner/", "banner/"}));
    const QJsonObject auth = service.requests().first().json();
    QCOMPARE(auth.value("PhoneNo").toString(), GlobalConstants::getUserName());
    QCOMPARE(auth.value("Resolution").toString(), QString("xxhdpi"));
    QVERIFY(FakeProcedures::authValueMatches(service.requests().first().body, "tok-s", "SHA256"));
    const QString key = QString("key-%1").arg(sessions);
    QCOMPARE(service.requests().at(1).json().value("SessionKey").toString(), key);
    QCOMPARE(service.requests().at(2).json().value("SessionKey").toString(), key);
    QCOMPARE(banners.first().size(), 1);
    QCOMPARE(banners.first().first().getShowTime(), 5);
}

void TestStickers::sessionRenewedOnceOn314()
{
    StickerApi api;
    api.setSessionKey("stale");
    QList<StickerPackageInfo> infos;
    QList<QList<StickerPackage>> lists;
    connect(&api, &StickerApi::viewPackageInfo, this,
            [&](const StickerPackageInfo& info) { infos << info; });
    connect(&api, &StickerApi::stickerPackages, this,
            [&](StickerApiRequest::RequestType, const QList<StickerPackage>& list, const QString&) {
                lists << list;
            });
    // The view is refused twice: renewed once, then dropped. The free list is
    // refused once and goes through with the renewed key.
    service.enqueueReply("packages/view/pk/", FakeReply::json({{"ResultCode", 314}}));
    service.enqueueReply("packages/view/pk/", FakeReply::json({{"ResultCode", 314}}));
    service.enqueueReply("browse/Free/", FakeReply::json({{"ResultCode", 314}}));
    api.requestViewPackage("pk");
    QTRY_COMPARE_WITH_TIMEOUT(requestPaths().size(), 3, 10000);
    api.requestFreeStickersPackage(0, 10);
    QTRY_COMPARE_WITH_TIMEOUT(lists.size(), 1, 10000);
    QCOMPARE(requestPaths(),
             QStringList({"packages/view/pk/", "authentication/", "packages/view/pk/",
                          "browse/Free/", "authentication/", "browse/Free/"}));
    QCOMPARE(service.requests().at(0).json().value("SessionKey").toString(), QString("stale"));
    QCOMPARE(service.requests().at(2).json().value("SessionKey").toString(),
             QString("key-%1").arg(sessions - 1));
    QCOMPARE(service.requests().at(5).json().value("SessionKey").toString(),
             QString("key-%1").arg(sessions));
    QVERIFY(infos.isEmpty());
    QVERIFY(!api.isBusy());
}

void TestStickers::paths_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("index");
    QTest::addColumn<QString>("path");
    QTest::newRow("most downloaded") << int(StickerApiRequest::BrowseDownloads) << ""
                                     << "browse/Downloads";
    QTest::newRow("category") << int(StickerApiRequest::BrowseCategoryIndex) << "7"
                              << "browse/index/7/";
    QTest::newRow("view, id encoded") << int(StickerApiRequest::PackageView) << "a b/../c?d"
                                      << "packages/view/a%20b%2F..%2Fc%3Fd/";
    QTest::newRow("stars") << int(StickerApiRequest::PackageStars) << "p#1"
                           << "packages/stars/p%231/";
}

void TestStickers::paths()
{
    QFETCH(int, type);
    QFETCH(QString, index);
    QFETCH(QString, path);
    QCOMPARE(StickerApi::subPath(
                 StickerApiRequest(StickerApiRequest::RequestType(type), QJsonObject(), index)),
             path);
}

void TestStickers::neverStalls_data()
{
    QTest::addColumn<FakeReply>("failure");
    QTest::newRow("connection dropped") << FakeReply::dropped();
    QTest::newRow("not JSON") << FakeReply::raw("<html>oops</html>", 200);
    QTest::newRow("server error page") << FakeReply::raw("Bad gateway", 502);
    QTest::newRow("empty error") << FakeReply::raw("", 500);
    QTest::newRow("result code") << FakeReply::json({{"ResultCode", 500}});
    QTest::newRow("no answer in time") << stickerReply(FakeRequest()).delayed(1500);
}

void TestStickers::neverStalls()
{
    QFETCH(FakeReply, failure);
    StickerApi api;
    api.setTimeoutInterval(400);
    QList<StickerUrl> urls;
    connect(&api, &StickerApi::urlReady, this, [&](const StickerUrl& url) { urls << url; });
    service.setHandler("stickers/download/", [failure](const FakeRequest& request) {
        return request.json().value("PackageID") == "fail" ? failure : stickerReply(request);
    });
    api.requestStickerUrl(sticker("fail", "1"));
    api.requestStickerUrl(sticker("good", "2"));
    // The asker of the failed sticker hears that it has no addresses, and
    // the next request goes on.
    QTRY_COMPARE_WITH_TIMEOUT(urls.size(), 2, 10000);
    QCOMPARE(urls.first().getStickerMessage(), sticker("fail", "1"));
    QVERIFY(urls.first().getUrls().isEmpty());
    QCOMPARE(urls.last().getStickerMessage().getStickerPackageId(), QString("good"));
    QVERIFY(!urls.last().getUrls().isEmpty());
    // A late answer to the dropped request is never taken for another one.
    QTest::qWait(failure.delayMs > 0 ? failure.delayMs + 300 : 100);
    QCOMPARE(urls.size(), 2);
    QVERIFY(!api.isBusy());
    service.setHandler("stickers/download/", stickerReply);
}

void TestStickers::cachedStickerNeedsNoRequest()
{
    StickerManager* manager = StickerManager::getInstance();
    QList<StickerUrl> ready;
    QMetaObject::Connection c = connect(manager, &StickerManager::stickerUrlReady, this,
                                        [&](const StickerUrl& url) { ready << url; });
    StickerUrl out;
    QVERIFY(!manager->getStickerUrl(sticker("pack", "s1"), &out));
    QVERIFY(out.getUrls().isEmpty());
    QTRY_COMPARE_WITH_TIMEOUT(ready.size(), 1, 10000);
    QCOMPARE(requestPaths(), QStringList({"stickers/download/"}));
    const QJsonObject asked = service.requests().first().json();
    QCOMPARE(asked.value("PackageID").toString(), QString("pack"));
    QCOMPARE(asked.value("FromUsername").toString(), QString("989120000009"));
    QVERIFY(!asked.contains("SessionKey"));

    QVERIFY(manager->getStickerUrl(sticker("pack", "s1"), &out));
    QCOMPARE(out.getUrls(), ready.first().getUrls());
    QCOMPARE(out.getHighestResolutionUrl(), QString("https://files.test/pack-s1-xx.png"));
    QTest::qWait(100);
    QCOMPARE(service.requests().size(), 1);
    disconnect(c);
}

void TestStickers::cacheKeepsStickersApart()
{
    QVERIFY(StickerManager::cacheKey(sticker("1", "23")) !=
            StickerManager::cacheKey(sticker("12", "3")));
    QVERIFY(StickerManager::cacheKey(sticker("a", "b", "1")) !=
            StickerManager::cacheKey(sticker("a", "b", "2")));
    StickerManager* manager = StickerManager::getInstance();
    QSignalSpy ready(manager, &StickerManager::stickerUrlReady);
    StickerUrl out;
    QVERIFY(!manager->getStickerUrl(sticker("1", "23"), &out));
    QTRY_COMPARE_WITH_TIMEOUT(ready.size(), 1, 10000);
    QVERIFY(!manager->getStickerUrl(sticker("12", "3"), &out));
    QTRY_COMPARE_WITH_TIMEOUT(ready.size(), 2, 10000);
    QVERIFY(manager->getStickerUrl(sticker("12", "3"), &out));
    QCOMPARE(out.getHighestResolutionUrl(), QString("https://files.test/12-3-xx.png"));
    QVERIFY(manager->getStickerUrl(sticker("1", "23"), &out));
    QCOMPARE(out.getHighestResolutionUrl(), QString("https://files.test/1-23-xx.png"));
}

void TestStickers::emptyAnswerIsNotCached()
{
    StickerManager* manager = StickerManager::getInstance();
    QSignalSpy ready(manager, &StickerManager::stickerUrlReady);
    service.enqueueReply("stickers/download/", FakeReply::json({{"ResultCode", 200},
                                                                {"StickerID", "e"},
                                                                {"PackageStickerID", "empty"},
                                                                {"StickerVersion", "1"},
                                                                {"Resolution", ""},
                                                                {"StickerURL", QJsonObject()}}));
    StickerUrl out;
    QVERIFY(!manager->getStickerUrl(sticker("empty", "e"), &out));
    QTRY_COMPARE_WITH_TIMEOUT(ready.size(), 1, 10000);
    // Passed on, but asked for again next time; the second answer is kept.
    QVERIFY(!manager->getStickerUrl(sticker("empty", "e"), &out));
    QTRY_COMPARE_WITH_TIMEOUT(ready.size(), 2, 10000);
    QCOMPARE(service.requests().size(), 2);
    QVERIFY(manager->getStickerUrl(sticker("empty", "e"), &out));
}

void TestStickers::packageListModel()
{
    StickerPackageListModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
    model.clear();
    QCOMPARE(removed.size(), 0);
    StickerPackage first;
    QVERIFY(first.setDataFromJson(package("p1")));
    model.addStickerPackage(first);
    model.addStickerPackage(first);
    QCOMPARE(model.rowCount(), 2);
    const QModelIndex row = model.index(1);
    QCOMPARE(model.data(row, model.roleNames().key("title")).toString(), QString("T p1"));
    QCOMPARE(model.data(row, model.roleNames().key("downloads")).toString(), QString("5"));
    QCOMPARE(model.roleNames().value(Qt::UserRole + 4), QByteArray("thUrl"));
    QVERIFY(!model.data(row, Qt::UserRole).isValid());
    QVERIFY(!model.data(row, Qt::DisplayRole).isValid());
    QVERIFY(!model.data(model.index(0).sibling(5, 0), Qt::UserRole + 1).isValid());
    model.clear();
    QCOMPARE(removed.size(), 1);
    QCOMPARE(model.rowCount(), 0);
}

void TestStickers::localStickerService()
{
    // The local service's own sticker service and catalogue, its pictures
    // fetched from its file host.
    FakeWebService local;
    FakeProcedures procedures;
    QVERIFY(local.start());
    procedures.install(&local);
    procedures.localService()->saveAccount(
        GlobalConstants::getUserName(),
        {{"Active", true}, {"Token", "tok-s"}, {"HashMethod", "SHA256"}});
    qputenv("QUORVEL_STICKER_BASE_URL",
            (local.baseUrl() + StickerCatalogue::servicePath()).toUtf8());
    StickerApi api;
    qputenv("QUORVEL_STICKER_BASE_URL", service.baseUrl().toUtf8());
    QList<StickerUrl> urls;
    QList<StickerPackageInfo> infos;
    QList<QList<StickerBanner>> banners;
    connect(&api, &StickerApi::urlReady, this, [&](const StickerUrl& url) { urls << url; });
    connect(&api, &StickerApi::viewPackageInfo, this,
            [&](const StickerPackageInfo& info) { infos << info; });
    connect(&api, &StickerApi::bannersReady, this,
            [&](const QList<StickerBanner>& list) { banners << list; });

    api.requestStickerUrl(sticker("shapes", "star"));
    api.requestStickerUrl(sticker("shapes", "no-such-sticker"));
    api.requestGetBanners();
    QTRY_COMPARE_WITH_TIMEOUT(banners.size(), 1, 10000);
    // The unknown sticker is answered too, with no addresses.
    QCOMPARE(urls.size(), 2);
    QCOMPARE(urls.first().getResolutions().size(), 3);
    QCOMPARE(urls.last().getStickerMessage().getStickerId(), QString("no-such-sticker"));
    QVERIFY(urls.last().getUrls().isEmpty());
    QCOMPARE(banners.first().size(), StickerCatalogue::packages().size());

    // A session the service does not know is renewed once and the request
    // answered.
    api.setSessionKey("forgotten");
    api.requestViewPackage("leaves");
    QTRY_COMPARE_WITH_TIMEOUT(infos.size(), 1, 10000);
    QCOMPARE(infos.first().getCatId(), QString("nature"));
    QVERIFY(api.getSessionKey() != "forgotten");

    QNetworkAccessManager network;
    QNetworkReply* reply =
        network.get(QNetworkRequest(QUrl(urls.first().getHighestResolutionUrl())));
    QSignalSpy finished(reply, &QNetworkReply::finished);
    QVERIFY(finished.wait(10000));
    QCOMPARE(reply->error(), QNetworkReply::NoError);
    QImage picture;
    QVERIFY(picture.loadFromData(reply->readAll(), "PNG"));
    QCOMPARE(picture.size(), QSize(192, 192));
    reply->deleteLater();
}

QTEST_MAIN(TestStickers)
#include "tst_stickers.moc"
