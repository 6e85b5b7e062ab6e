// Likes and like counts through the real procedure queue to the fake web
// service: batching, cancelling, confirmation, restarts, per-chat answers and
// oversized chats. The timers are shortened; nothing waits a minute.
#include "Managers/Like/likemanager.h"
#include "foundation/database.h"
#include "localprocedures.h"
#include "localservice.h"
#include "servicestore.h"
#include "signedinweb.h"
#include "webapi/GeneralApi/procedurehandler.h"

#include <QJsonArray>
#include <QtTest>

#include <memory>

using Counts = QHash<QString, int>;

namespace {

// One like manager wired to its own procedure queue, as the core facade wires
// them after loading.
struct LikeRig
{
    explicit LikeRig(int sendMs = 50, int getMs = 50)
    {
        handler.setTimeoutInterval(3000);
        handler.setRetryInterval(100);
        likes.setSendInterval(sendMs);
        likes.setGetInterval(getMs);
        QObject::connect(&likes, &LikeManager::start, &handler, &ProcedureHandler::start);
        QObject::connect(&handler, &ProcedureHandler::replyReport, &likes,
                         &LikeManager::processReply);
        QObject::connect(&handler, &ProcedureHandler::result, &likes, &LikeManager::result);
        QObject::connect(&likes, &LikeManager::likeGetResults,
                         [this](const LVReply& reply) { replies << reply; });
        likes.startLoading();
    }
    ProcedureHandler handler;
    LikeManager likes;
    QList<LVReply> replies;
};

QJsonObject sentLikes(const FakeRequest& request)
{
    return request.json().value("MessageLikes").toObject();
}

QStringList ids(const QString& prefix, int count)
{
    QStringList list;
    for (int i = 0; i < count; ++i)
        list << QStringLiteral("%1-%2").arg(prefix).arg(i, 3, 10, QLatin1Char('0'));
    return list;
}

// Each id's count is the length of the id, as text.
FakeReply countsReply(const FakeRequest& request)
{
    QJsonObject counts;
    for (const QJsonValue& id : request.json().value("MessageIDs").toArray())
        counts.insert(id.toString(), QString::number(id.toString().size()));
    return FakeReply::result(200, {{"MessagesLikeCount", counts}});
}

} // namespace

class TestLikes : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void likeThenUnlikeCancels();
    void likesGoOutInBatchesOfAHundred();
    void unconfirmedLikesSurviveFailureAndRestart_data();
    void unconfirmedLikesSurviveFailureAndRestart();
    void confirmedLikesAreNotSentAgain();
    void countsArrivePerChat();
    void oversizedChatIsSplitAndAnsweredOnce();
    void failedCountRequestIsAskedAgain();
    void countsReadFromTheReply_data();
    void countsReadFromTheReply();
    void serviceCountsLikesPerUser();

private:
    QList<FakeRequest> waitForRequests(const QString& path, int count, int timeoutMs = 15000);
    FakeWebService service;
    FakeProcedures procedures;
};

void TestLikes::initTestCase()
{
    QVERIFY(signedinweb::startService(&service, &procedures));
    service.setHandler("like/get/", countsReply);
}

void TestLikes::init()
{
    signedinweb::signIn(&service, &procedures);
    DataBase(QStringLiteral("likeManagerDB")).remove();
    // The service counts likes of channel posts from the channel's followers
    // only: every id liked here is a post of a channel the test users follow.
    QStringList posted = ids("m", 250) + QStringList{"m1", "m2", "m3",      "a",       "b",
                                                     "c",  "x",  "liked-1", "liked-2", "liked-3"};
    QJsonArray posts;
    for (const QString& id : posted)
        posts << QJsonObject{{"MESSAGE_ID", id}};
    ServiceStore* store = procedures.localService()->store();
    QVERIFY(store->setValue("channels", "liked",
                            QJsonObject{{"ChannelID", "liked"},
                                        {"Members", QJsonObject{{signedinweb::kUser, "MEMBER"},
                                                                {"989120000001", "MEMBER"},
                                                                {"989120000002", "MEMBER"}}}}));
    QVERIFY(store->setValue("channelposts", "liked", posts));
}

QList<FakeRequest> TestLikes::waitForRequests(const QString& path, int count, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (service.requestsFor(path).size() < count && timer.elapsed() < timeoutMs)
        QTest::qWait(20);
    return service.requestsFor(path);
}

void TestLikes::likeThenUnlikeCancels()
{
    {
        LikeRig rig(600000);
        rig.likes.addLike(LikePair("chan", "m1", true));
        rig.likes.addLike(LikePair("chan", "m1", false));
        rig.likes.addLike(LikePair("chan", "m2", false));
        rig.likes.addLike(LikePair("chan", "m3", true));
        rig.likes.addLike(LikePair("chan", "m3", true));
        QCOMPARE(rig.likes.getLikesToBeSent(), (QHash<QString, bool>{{"m2", false}, {"m3", true}}));
    }
    // What is stored is what goes out after a restart.
    LikeRig rig;
    const QList<FakeRequest> sent = waitForRequests("like/send/", 1);
    QCOMPARE(sent.size(), 1);
    QCOMPARE(sentLikes(sent.first()), (QJsonObject{{"m2", "0"}, {"m3", "1"}}));
}

void TestLikes::likesGoOutInBatchesOfAHundred()
{
    LikeRig rig;
    const QStringList all = ids("m", 250);
    for (int i = 0; i < all.size(); ++i)
        rig.likes.addLike(all.at(i), i % 3 != 0);
    const QList<FakeRequest> sent = waitForRequests("like/send/", 3);
    QCOMPARE(sent.size(), 3);
    QList<int> sizes;
    QJsonObject union_;
    for (const FakeRequest& request : sent) {
        const QJsonObject likes = sentLikes(request);
        sizes << likes.size();
        for (auto it = likes.begin(); it != likes.end(); ++it) {
            QVERIFY2(!union_.contains(it.key()), qPrintable(it.key()));
            union_.insert(it.key(), it.value());
        }
    }
    QCOMPARE(sizes, QList<int>({100, 100, 50}));
    for (int i = 0; i < all.size(); ++i)
        QCOMPARE(union_.value(all.at(i)).toString(), i % 3 != 0 ? QString("1") : QString("0"));
    QTRY_VERIFY(rig.likes.getCurrentLikes().isEmpty());
    QVERIFY(rig.likes.getLikesToBeSent().isEmpty());
    QTest::qWait(200);
    QCOMPARE(service.requestsFor("like/send/").size(), 3);
}

void TestLikes::unconfirmedLikesSurviveFailureAndRestart_data()
{
    QTest::addColumn<FakeReply>("failure");
    QTest::newRow("result code") << FakeReply::result(500);
    QTest::newRow("reply without JSON") << FakeReply::raw("<html>busy</html>", 503);
    QTest::newRow("connection dropped") << FakeReply::dropped();
}

void TestLikes::unconfirmedLikesSurviveFailureAndRestart()
{
    QFETCH(FakeReply, failure);
    QJsonObject firstBatch;
    {
        LikeRig rig(600000);
        rig.handler.setTimeoutInterval(1000);
        rig.likes.addLike("a", true);
        rig.likes.addLike("b", false);
        for (int i = 0; i < 12; ++i)
            service.enqueueReply("like/send/", failure);
        QSignalSpy results(&rig.handler, &ProcedureHandler::result);
        rig.likes.startSendingLikes();
        QTRY_COMPARE_WITH_TIMEOUT(results.size(), 1, 20000);
        QVERIFY(results.first().at(1).toInt() != 200);
        firstBatch = sentLikes(service.requestsFor("like/send/").first());
        QCOMPARE(firstBatch, (QJsonObject{{"a", "1"}, {"b", "0"}}));
        QCOMPARE(rig.likes.getCurrentLikes().size(), 2);
        // A like recorded after the batch was picked must not push it out of
        // the store.
        rig.likes.addLike("c", true);
    }
    service.clearScriptedReplies();
    service.clearRequests();
    LikeRig rig;
    const QList<FakeRequest> sent = waitForRequests("like/send/", 2);
    QCOMPARE(sent.size(), 2);
    QCOMPARE(sentLikes(sent.at(0)), firstBatch);
    QCOMPARE(sentLikes(sent.at(1)), (QJsonObject{{"c", "1"}}));
}

void TestLikes::confirmedLikesAreNotSentAgain()
{
    {
        LikeRig rig;
        rig.likes.addLike("x", true);
        QCOMPARE(waitForRequests("like/send/", 1).size(), 1);
        QTRY_VERIFY(rig.likes.getCurrentLikes().isEmpty());
    }
    service.clearRequests();
    LikeRig rig;
    QTest::qWait(300);
    QVERIFY(service.requestsFor("like/send/").isEmpty());
}

void TestLikes::countsArrivePerChat()
{
    LikeRig rig;
    const QStringList a = ids("a", 60);
    const QStringList b = ids("b", 50);
    rig.likes.getLikes(LVRequest("chat-a", a.mid(0, 40)));
    rig.likes.getLikes(LVRequest("chat-b", b));
    rig.likes.getLikes(LVRequest("chat-a", a.mid(30)));
    QTRY_COMPARE_WITH_TIMEOUT(rig.replies.size(), 2, 15000);
    const QList<FakeRequest> sent = service.requestsFor("like/get/");
    QCOMPARE(sent.size(), 2);
    QCOMPARE(sent.at(0).json().value("MessageIDs").toArray().size(), 60);
    QCOMPARE(sent.at(1).json().value("MessageIDs").toArray().size(), 50);
    QCOMPARE(rig.replies.at(0).getChatId(), QString("chat-a"));
    QCOMPARE(rig.replies.at(0).getRequest().getMessageIds(), a);
    QCOMPARE(rig.replies.at(0).getResult().size(), 60);
    QCOMPARE(rig.replies.at(0).getLikeCount(a.first()), a.first().size());
    QCOMPARE(rig.replies.at(1).getChatId(), QString("chat-b"));
    QCOMPARE(rig.replies.at(1).getResult().size(), 50);
    QVERIFY(!rig.replies.at(1).getResult().contains(a.first()));
    QVERIFY(!rig.likes.getAlreadyRequested());
}

void TestLikes::oversizedChatIsSplitAndAnsweredOnce()
{
    LikeRig rig;
    const QStringList big = ids("big", 250);
    rig.likes.getLikes(LVRequest("chat-big", big));
    rig.likes.getLikes(LVRequest("chat-small", ids("s", 3)));
    QTRY_COMPARE_WITH_TIMEOUT(rig.replies.size(), 2, 20000);
    QList<int> sizes;
    for (const FakeRequest& request : service.requestsFor("like/get/"))
        sizes << request.json().value("MessageIDs").toArray().size();
    QCOMPARE(sizes, QList<int>({99, 99, 55}));
    QCOMPARE(rig.replies.at(0).getChatId(), QString("chat-big"));
    QCOMPARE(rig.replies.at(0).getRequest().getMessageIds(), big);
    QCOMPARE(rig.replies.at(0).getResult().size(), 250);
    QCOMPARE(rig.replies.at(1).getChatId(), QString("chat-small"));
    QCOMPARE(rig.replies.at(1).getResult().size(), 3);
}

void TestLikes::failedCountRequestIsAskedAgain()
{
    LikeRig rig;
    service.enqueueReply("like/get/", FakeReply::result(500));
    rig.likes.getLikes(LVRequest("chat-a", {"m1", "m2"}));
    QTRY_COMPARE_WITH_TIMEOUT(service.requestsFor("like/get/").size(), 1, 15000);
    QTRY_VERIFY(!rig.likes.getAlreadyRequested());
    rig.likes.getLikes(LVRequest("chat-b", {"n1"}));
    QTRY_COMPARE_WITH_TIMEOUT(rig.replies.size(), 2, 15000);
    QCOMPARE(rig.replies.at(0).getChatId(), QString("chat-a"));
    QCOMPARE(rig.replies.at(0).getResult().size(), 2);
    QCOMPARE(rig.replies.at(1).getChatId(), QString("chat-b"));
}

void TestLikes::countsReadFromTheReply_data()
{
    QTest::addColumn<QJsonObject>("counts");
    QTest::addColumn<Counts>("expected");
    QTest::newRow("text") << QJsonObject{{"m1", "12"}, {"m2", "0"}}
                          << Counts{{"m1", 12}, {"m2", 0}};
    QTest::newRow("not a number") << QJsonObject{{"m1", "many"}} << Counts{{"m1", 0}};
    QTest::newRow("negative") << QJsonObject{{"m1", "-4"}} << Counts{{"m1", 0}};
    QTest::newRow("id never asked for")
        << QJsonObject{{"m1", "3"}, {"other", "9"}} << Counts{{"m1", 3}};
    QTest::newRow("no counts at all") << QJsonObject() << Counts();
}

void TestLikes::countsReadFromTheReply()
{
    QFETCH(QJsonObject, counts);
    QFETCH(Counts, expected);
    LikeRig rig;
    service.enqueueReply("like/get/", FakeReply::result(200, {{"MessagesLikeCount", counts}}));
    rig.likes.getLikes(LVRequest("chat", {"m1", "m2"}));
    QTRY_COMPARE_WITH_TIMEOUT(rig.replies.size(), 1, 15000);
    QCOMPARE(rig.replies.first().getResult(), expected);
    QCOMPARE(rig.replies.first().getChatId(), QString("chat"));
}

void TestLikes::serviceCountsLikesPerUser()
{
    // The service's own like procedures: each user's like counts once, an
    // unlike takes only that user's like back.
    LocalProcedures::installArea(*procedures.localService(), "polls");
    const QList<QPair<QString, QHash<QString, bool>>> users{
        {"989120000001", {{"liked-1", true}, {"liked-2", true}, {"liked-3", true}}},
        {"989120000002", {{"liked-1", true}, {"liked-3", true}}},
        {"989120000001", {{"liked-3", false}}}};
    for (const auto& user : users) {
        SettingStorage::getInstance()->addSetting("Username", user.first);
        SettingStorage::getInstance()->writeSettings();
        const int before = service.requestsFor("like/send/").size();
        LikeRig rig;
        for (auto it = user.second.begin(); it != user.second.end(); ++it)
            rig.likes.addLike(it.key(), it.value());
        QTRY_COMPARE_WITH_TIMEOUT(service.requestsFor("like/send/").size(), before + 1, 15000);
        QTRY_VERIFY(rig.likes.getCurrentLikes().isEmpty());
    }
    LikeRig rig;
    rig.likes.getLikes(LVRequest("chat", {"liked-1", "liked-2", "liked-3", "never-liked"}));
    QTRY_COMPARE_WITH_TIMEOUT(rig.replies.size(), 1, 15000);
    QCOMPARE(rig.replies.first().getResult(),
             (Counts{{"liked-1", 2}, {"liked-2", 1}, {"liked-3", 1}, {"never-liked", 0}}));
    service.setHandler("like/get/", countsReply);
}

QTEST_MAIN(TestLikes)
#include "tst_likes.moc"
