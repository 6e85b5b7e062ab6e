// The poll service through the real procedure queue to the fake web service:
// request bodies, votes remembered per poll, result toasts, results that each
// reach their own poll, and settings handed over from another thread.
#include "../Like/signedinweb.h"
#include "Managers/Poll/pollmanager.h"
#include "foundation/database.h"
#include "localprocedures.h"
#include "localservice.h"
#include "servicestore.h"
#include "webapi/GeneralApi/procedurehandler.h"
#include "webapi/GeneralApi/settingstorage.h"

#include <QJsonArray>
#include <QThread>
#include <QtTest>

namespace {

QJsonObject resultObject(int total, const QString& userVote)
{
    return {{"LastUpdate", "1700000000"},
            {"Question", "Tea or coffee?"},
            {"TotalVotes", QString::number(total)},
            {"Options",
             QJsonArray{QJsonObject{
                 {"OptionID", "1"}, {"Text", "tea"}, {"VotesCount", QString::number(total)}}}},
            {"UserVote", userVote}};
}

} // namespace

class TestPolls : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();
    void requestBodies_data();
    void requestBodies();
    void voteShowsItsToastAndIsRemembered();
    void votesInFlightAreStoredUnderTheirOwnPoll();
    void voteWithoutPollIdIsRefused();
    void resultCodesShowTheirToast_data();
    void resultCodesShowTheirToast();
    void resultsReachTheirOwnPoll();
    void resultReplies_data();
    void resultReplies();
    void settingsFromAnotherThreadArriveQueued();
    void twoUsersVoteOnOneChannelPoll();

private:
    void wire();
    PollManager* polls() const { return PollManager::getInstance(); }
    FakeWebService service;
    FakeProcedures procedures;
    ProcedureHandler* handler = nullptr;
    QList<QByteArray> toasts;
    QList<QPair<QString, QString>> submitted;
    QList<PollResult> results;
};

void TestPolls::initTestCase()
{
    QVERIFY(signedinweb::startService(&service, &procedures));
    handler = new ProcedureHandler(this);
    handler->setTimeoutInterval(3000);
    handler->setRetryInterval(100);
    wire();
}

// As the core facade wires the GUI thread's poll service after loading.
void TestPolls::wire()
{
    connect(polls(), &PollManager::start, handler, &ProcedureHandler::start);
    connect(handler, &ProcedureHandler::replyReport, polls(), &PollManager::processReply);
    connect(handler, &ProcedureHandler::result, polls(), &PollManager::result);
    connect(polls(), &PollManager::showToastMessage, this,
            [this](const char* key) { toasts << QByteArray(key); });
    connect(
        polls(), &PollManager::voteSubmitted, this,
        [this](const QString& poll, const QString& vote) { submitted << qMakePair(poll, vote); });
    connect(polls(), &PollManager::resultsReady, this,
            [this](const PollResult& result) { results << result; });
}

void TestPolls::init()
{
    signedinweb::signIn(&service, &procedures);
    toasts.clear();
    submitted.clear();
    results.clear();
}

void TestPolls::cleanupTestCase()
{
    PollManager::deleteInstance();
}

void TestPolls::requestBodies_data()
{
    QTest::addColumn<int>("which");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QJsonObject>("fields");
    PollData poll("radio", "Tea?", {"yes", "no"});
    QTest::newRow("create, results visible")
        << 0 << "polls/create/"
        << QJsonObject{{"PollViewResultStatus", "1"}, {"PollData", poll.toJsonObject()}};
    QTest::newRow("create, results hidden")
        << 1 << "polls/create/"
        << QJsonObject{{"PollViewResultStatus", "0"}, {"PollData", poll.toJsonObject()}};
    QTest::newRow("change status")
        << 2 << "polls/changestatus/"
        << QJsonObject{{"PollID", "p9"}, {"NewPollStatus", "0"}, {"NewViewResultStatus", "1"}};
    QTest::newRow("vote") << 3 << "polls/vote/"
                          << QJsonObject{{"PollID", "p9"},
                                         {"VoteData", QJsonObject{{"QuestionAnswer", "2"},
                                                                  {"QuestionComment", "fine"}}}};
    QTest::newRow("results") << 4 << "polls/getresult/" << QJsonObject{{"PollID", "p9"}};
    QTest::newRow("view results token")
        << 5 << "polls/getviewresulttoken/" << QJsonObject{{"PollID", "p9"}};
}

void TestPolls::requestBodies()
{
    QFETCH(int, which);
    QFETCH(QString, path);
    QFETCH(QJsonObject, fields);
    const PollData poll("radio", "Tea?", {"yes", "no"});
    QSignalSpy done(handler, &ProcedureHandler::result);
    switch (which) {
    case 0:
    case 1:
        polls()->startPollCreate(poll, which == 0);
        break;
    case 2:
        polls()->startPollChangeStatus("p9", "0", "1");
        break;
    case 3:
        polls()->startPollVote("p9", "2", "fine");
        break;
    case 4:
        polls()->startPollResults("p9");
        break;
    default:
        polls()->startPollViewResultsToken("p9");
        break;
    }
    QVERIFY(service.waitForRequests(1, 10000));
    const FakeRequest request = service.requests().first();
    QCOMPARE(request.path, path);
    for (auto it = fields.begin(); it != fields.end(); ++it)
        QCOMPARE(request.json().value(it.key()), it.value());
    QVERIFY(FakeProcedures::authValueMatches(request.body, procedures.token, "SHA256"));
    QTRY_COMPARE_WITH_TIMEOUT(done.size(), 1, 10000);
}

void TestPolls::voteShowsItsToastAndIsRemembered()
{
    QString vote = "untouched";
    QVERIFY(!polls()->getUserVote("p1", &vote));
    QCOMPARE(vote, QString("untouched"));

    service.enqueueReply("polls/vote/", FakeReply::result(200));
    polls()->startPollVote("p1", "2");
    QTRY_COMPARE_WITH_TIMEOUT(toasts, QList<QByteArray>({"_voteSubmitted"}), 10000);
    QCOMPARE(submitted, (QList<QPair<QString, QString>>{{"p1", "2"}}));
    QVERIFY(polls()->getUserVote("p1", &vote));
    QCOMPARE(vote, QString("2"));

    // The vote is kept in the store, not only in memory.
    PollManager::deleteInstance();
    wire();
    vote.clear();
    QVERIFY(polls()->getUserVote("p1", &vote));
    QCOMPARE(vote, QString("2"));
}

void TestPolls::votesInFlightAreStoredUnderTheirOwnPoll()
{
    service.enqueueReply("polls/vote/", FakeReply::result(200));
    service.enqueueReply("polls/vote/", FakeReply::result(200));
    polls()->startPollVote("p2", "a");
    polls()->startPollVote("p3", "b");
    QTRY_COMPARE_WITH_TIMEOUT(toasts.size(), 2, 10000);
    QCOMPARE(submitted, (QList<QPair<QString, QString>>{{"p2", "a"}, {"p3", "b"}}));
    QString vote;
    QVERIFY(polls()->getUserVote("p2", &vote));
    QCOMPARE(vote, QString("a"));
    QVERIFY(polls()->getUserVote("p3", &vote));
    QCOMPARE(vote, QString("b"));
}

void TestPolls::voteWithoutPollIdIsRefused()
{
    polls()->startPollVote("", "1");
    polls()->saveUserVote("", "1");
    QTest::qWait(100);
    QVERIFY(service.requests().isEmpty());
    QString vote;
    QVERIFY(!polls()->getUserVote("", &vote));
}

void TestPolls::resultCodesShowTheirToast_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("code");
    QTest::addColumn<QByteArray>("toast");
    const QList<QPair<int, QByteArray>> codes{
        {350, "_pollNotFound"},   {351, "_pollDisabled"},     {352, "_invalidPollData"},
        {353, "_alreadyVoted"},   {354, "_notAllowedToVote"}, {355, "_invalidVoteData"},
        {356, "_resultDisabled"}, {349, QByteArray()},        {357, QByteArray()}};
    for (const auto& code : codes)
        QTest::addRow("vote %d", code.first) << "polls/vote/" << code.first << code.second;
    QTest::newRow("results 353") << "polls/getresult/" << 353 << QByteArray("_alreadyVoted");
    QTest::newRow("results 356") << "polls/getresult/" << 356 << QByteArray("_resultDisabled");
    QTest::newRow("results 500") << "polls/getresult/" << 500 << QByteArray();
}

void TestPolls::resultCodesShowTheirToast()
{
    QFETCH(QString, path);
    QFETCH(int, code);
    QFETCH(QByteArray, toast);
    service.enqueueReply(path, FakeReply::result(code));
    QSignalSpy done(handler, &ProcedureHandler::result);
    const QString poll = QStringLiteral("failing-%1").arg(code);
    if (path == "polls/vote/")
        polls()->startPollVote(poll, "1");
    else
        polls()->startPollResults(poll);
    QTRY_COMPARE_WITH_TIMEOUT(done.size(), 1, 10000);
    QCOMPARE(done.first().at(1).toInt(), code);
    QCOMPARE(toasts, toast.isEmpty() ? QList<QByteArray>() : QList<QByteArray>{toast});
    QVERIFY(submitted.isEmpty());
    QString vote;
    QVERIFY(!polls()->getUserVote(poll, &vote));
}

void TestPolls::resultsReachTheirOwnPoll()
{
    // The service answers without naming the poll; the totals tell them apart.
    service.setHandler("polls/getresult/", [](const FakeRequest& request) {
        const QString poll = request.json().value("PollID").toString();
        const int total = poll == "p-first" ? 3 : 8;
        return FakeReply::result(200, {{"PollResult", resultObject(total, QString())}});
    });
    polls()->startPollResults("p-first");
    polls()->startPollResults("p-second");
    QTRY_COMPARE_WITH_TIMEOUT(results.size(), 2, 10000);
    QCOMPARE(results.at(0).getPollId(), QString("p-first"));
    QCOMPARE(results.at(0).getTotalVotes(), 3);
    QCOMPARE(results.at(1).getPollId(), QString("p-second"));
    QCOMPARE(results.at(1).getTotalVotes(), 8);
    LocalProcedures::installArea(*procedures.localService(), "polls");
}

void TestPolls::resultReplies_data()
{
    QTest::addColumn<QJsonObject>("reply");
    QTest::addColumn<int>("resultsReady");
    QTest::addColumn<QString>("storedVote");
    QTest::newRow("with the user's vote")
        << QJsonObject{{"PollResult", resultObject(4, "3")}} << 1 << "3";
    QTest::newRow("no vote yet") << QJsonObject{{"PollResult", resultObject(4, "")}} << 1 << "";
    QJsonObject withoutVote = resultObject(4, "");
    withoutVote.remove("UserVote");
    QTest::newRow("incomplete") << QJsonObject{{"PollResult", withoutVote}} << 0 << "";
    QTest::newRow("no result at all") << QJsonObject{{"Other", 1}} << 0 << "";
}

void TestPolls::resultReplies()
{
    QFETCH(QJsonObject, reply);
    QFETCH(int, resultsReady);
    QFETCH(QString, storedVote);
    const QString poll = QStringLiteral("r-%1").arg(QTest::currentDataTag());
    service.enqueueReply("polls/getresult/", FakeReply::result(200, reply));
    QSignalSpy done(handler, &ProcedureHandler::result);
    polls()->startPollResults(poll);
    QTRY_COMPARE_WITH_TIMEOUT(done.size(), 1, 10000);
    QCOMPARE(results.size(), resultsReady);
    QString vote;
    QCOMPARE(polls()->getUserVote(poll, &vote), !storedVote.isEmpty());
    QCOMPARE(vote, storedVote);
    QCOMPARE(submitted.size(), storedVote.isEmpty() ? 0 : 1);
}

void TestPolls::settingsFromAnotherThreadArriveQueued()
{
    polls()->setUserName("before");
    QThread* thread = QThread::create(
        [] { PollManager::getInstance()->setSetting(UISetting("u77", "SHA512", "t77")); });
    thread->start();
    QVERIFY(thread->wait(10000));
    delete thread;
    // Nothing was written from the other thread; the owner's loop applies it.
    QCOMPARE(polls()->getUserName(), QString("before"));
    QTRY_COMPARE(polls()->getUserName(), QString("u77"));
    QCOMPARE(polls()->getHashMethod(), QString("SHA512"));
    QCOMPARE(polls()->getToken(), QString("t77"));
}

namespace {
void actAs(const QString& user)
{
    SettingStorage::getInstance()->addSetting("Username", user);
    SettingStorage::getInstance()->writeSettings();
}
} // namespace

void TestPolls::twoUsersVoteOnOneChannelPoll()
{
    // The service's own poll procedures: the poll a channel message carries
    // is created once, each member votes once, everyone sees the same counts.
    const QString owner = signedinweb::kUser;
    const QString member = QStringLiteral("989120000077");
    QString pollId;
    QMetaObject::Connection created = connect(handler, &ProcedureHandler::replyReport, this,
                                              [&](Procedure pro, const QJsonObject& reply) {
                                                  if (pro == PROC_PollCreate)
                                                      pollId = reply.value("PollID").toString();
                                              });
    polls()->startPollCreate(PollData("radio", "Lunch?", {"soup", "salad", "pie"}), true);
    QTRY_VERIFY_WITH_TIMEOUT(!pollId.isEmpty(), 10000);
    disconnect(created);
    // Posted in a channel both follow: its followers vote.
    ServiceStore* store = procedures.localService()->store();
    QVERIFY(store->setValue(
        "channels", "lunch",
        QJsonObject{{"ChannelID", "lunch"},
                    {"Members", QJsonObject{{owner, "OWNER"}, {member, "MEMBER"}}}}));
    QVERIFY(
        store->setValue("channelposts", "lunch",
                        QJsonArray{QJsonObject{
                            {"MESSAGE_ID", "lunch-1"}, {"POLL_ID", pollId}, {"USER_ID", owner}}}));

    polls()->startPollVote(pollId, "1");
    QTRY_COMPARE_WITH_TIMEOUT(toasts.size(), 1, 10000);
    actAs(member);
    polls()->startPollVote(pollId, "4");
    polls()->startPollVote(pollId, "2");
    polls()->startPollVote(pollId, "3");
    QTRY_COMPARE_WITH_TIMEOUT(toasts.size(), 4, 10000);
    QCOMPARE(toasts, QList<QByteArray>({"_voteSubmitted", "_invalidVoteData", "_voteSubmitted",
                                        "_alreadyVoted"}));
    QString vote;
    QVERIFY(polls()->getUserVote(pollId, &vote));
    QCOMPARE(vote, QString("2"));

    polls()->startPollResults(pollId);
    QTRY_COMPARE_WITH_TIMEOUT(results.size(), 1, 10000);
    actAs(owner);
    polls()->startPollResults(pollId);
    QTRY_COMPARE_WITH_TIMEOUT(results.size(), 2, 10000);
    for (const PollResult& result : results) {
        QCOMPARE(result.getPollId(), pollId);
        QCOMPARE(result.getTotalVotes(), 2);
        QCOMPARE(result.getOptions().value("1").getVoteCount(), 1);
        QCOMPARE(result.getOptions().value("2").getVoteCount(), 1);
        QCOMPARE(result.getOptions().value("3").getVoteCount(), 0);
    }
    QCOMPARE(results.at(0).getUserVote(), QString("2"));
    QCOMPARE(results.at(1).getUserVote(), QString("1"));
}

QTEST_MAIN(TestPolls)
#include "tst_polls.moc"
