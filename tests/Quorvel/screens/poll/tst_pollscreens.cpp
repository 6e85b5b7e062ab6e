// Polls on screen against the local service through the real procedure queue:
// option rows and their choice rules, votes that lock the poll (also from the
// store), results that reach only their own poll, the chart's bars, ticks and
// axes, and the composer that keeps an incomplete poll open.

#include "../../../Managers/Like/signedinweb.h"
#include "Managers/Poll/pollmanager.h"
#include "localservice.h"
#include "screens/poll/chartwidget.h"
#include "screens/poll/createpollwidget.h"
#include "screens/poll/pollchoicewidget.h"
#include "screens/poll/polloptionwidget.h"
#include "screens/poll/pollresultwidget.h"
#include "screens/poll/pollwidget.h"
#include "servicestore.h"
#include "webapi/GeneralApi/procedurehandler.h"
#include "widgets/checkbox.h"
#include "widgets/flatbutton.h"
#include "widgets/label.h"
#include "widgets/radiobutton.h"
#include "widgets/toastmessage.h"

#include <QFile>
#include <QJsonArray>
#include <QLabel>
#include <QSignalSpy>
#include <QTextEdit>
#include <QTranslator>
#include <QVBoxLayout>
#include <QtCharts/QBarSeries>
#include <QtCharts/QBarSet>
#include <QtCharts/QChart>
#include <QtCharts/QValueAxis>
#include <QtTest>

QT_CHARTS_USE_NAMESPACE

namespace {

PollData pollOf(const QString& id, PollData::PollType type, const QStringList& texts,
                const QString& question = "Lunch?")
{
    PollData poll;
    poll.setPollId(id);
    poll.setQuestion(question);
    poll.setPollType(type);
    for (int i = 0; i < texts.size(); ++i) {
        PollOption option;
        option.setOptionId(QString::number(i + 1));
        option.setText(texts.at(i));
        poll.addOption(option);
    }
    return poll;
}

PollResult resultOf(const QString& pollId, const QString& question, const QList<int>& votes)
{
    PollResult result;
    result.setPollId(pollId);
    result.setQuestion(question);
    for (int i = 0; i < votes.size(); ++i) {
        PollResultOption option;
        option.setOptionId(QString::number(i + 1));
        option.setText(QString("choice %1").arg(i + 1));
        option.setVoteCount(votes.at(i));
        result.addOption(option);
    }
    return result;
}

QStringList rowIds(const PollWidget& widget)
{
    QStringList ids;
    for (PollOptionWidget* row : widget.optionRows())
        ids << row->getPollOption().getOptionId();
    return ids;
}

void clickRow(PollOptionWidget* row)
{
    QWidget* target = row->getType() == PollData::Radio
                          ? static_cast<QWidget*>(row->radioButton()->imageLabel())
                          : static_cast<QWidget*>(row->checkBox()->imageLabel());
    QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, target->rect().center());
}

void clickButton(QWidget* button)
{
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, button->rect().center());
}

} // namespace

class TestPollScreens : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void rowsAndChoiceRules_data();
    void rowsAndChoiceRules();
    void storedVotes_data();
    void storedVotes();
    void votingOnTheServiceLocksThePoll();
    void voteWithoutChoiceIsRefused();
    void resultsReachOnlyTheirOwnPoll();
    void chartBarsAndTicks_data();
    void chartBarsAndTicks();
    void chartOfNoOptionsHasNoAxes();
    void chartOverlayClosesAndGoes();
    void buttonsReadOnTheirBubble_data();
    void buttonsReadOnTheirBubble();
    void composerBuildsPolls_data();
    void composerBuildsPolls();
    void incompletePollKeepsTheComposerOpen();
    void composerPostsForItsChannelAndResets();
    void screenshotOfPollAndChart();

private:
    QString createPoll(const QString& question, const QStringList& options);

    FakeWebService service;
    FakeProcedures procedures;
    ProcedureHandler* handler = nullptr;
    QWidget* mainWindow = nullptr;
};

void TestPollScreens::initTestCase()
{
    qRegisterMetaType<PollData>();
    qRegisterMetaType<PollResult>();
    static QTranslator english;
    QVERIFY(english.load(":/Lng/quorvel_english.qm"));
    QCoreApplication::installTranslator(&english);
    QVERIFY(signedinweb::startService(&service, &procedures));
    handler = new ProcedureHandler(this);
    handler->setTimeoutInterval(5000);
    handler->setRetryInterval(100);
    PollManager* polls = PollManager::getInstance();
    connect(polls, &PollManager::start, handler, &ProcedureHandler::start);
    connect(handler, &ProcedureHandler::replyReport, polls, &PollManager::processReply);
    connect(handler, &ProcedureHandler::result, polls, &PollManager::result);
    mainWindow = new QWidget;
    mainWindow->resize(900, 700);
    mainWindow->show();
    ToastMessage::setMainWindow(mainWindow);
    SPopup::setMainWindow(mainWindow);
}

void TestPollScreens::init()
{
    signedinweb::signIn(&service, &procedures);
}

void TestPollScreens::cleanupTestCase()
{
    PollManager::deleteInstance();
    delete mainWindow;
}

QString TestPollScreens::createPoll(const QString& question, const QStringList& options)
{
    QString pollId;
    QMetaObject::Connection created = connect(handler, &ProcedureHandler::replyReport, this,
                                              [&](Procedure pro, const QJsonObject& reply) {
                                                  if (pro == PROC_PollCreate)
                                                      pollId = reply.value("PollID").toString();
                                              });
    PollManager::getInstance()->startPollCreate(PollData("radio", question, options), true);
    QTest::qWaitFor([&]() { return !pollId.isEmpty(); }, 10000);
    disconnect(created);
    // Posted in a channel the user follows: the service takes the user's vote.
    ServiceStore* store = procedures.localService()->store();
    QJsonArray posts = store->value("channelposts", "polls").toArray();
    // As the service keeps a post: with its author, the poll's owner.
    posts << QJsonObject{
        {"MESSAGE_ID", "post-" + pollId}, {"POLL_ID", pollId}, {"USER_ID", signedinweb::kUser}};
    store->setValue("channels", "polls",
                    QJsonObject{{"ChannelID", "polls"},
                                {"Members", QJsonObject{{signedinweb::kUser, "OWNER"}}}});
    store->setValue("channelposts", "polls", posts);
    return pollId;
}

void TestPollScreens::rowsAndChoiceRules_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QStringList>("checkedAfterTwoClicks");
    QTest::newRow("single choice") << int(PollData::Radio) << QStringList({"2"});
    QTest::newRow("multiple choice") << int(PollData::Checkbox) << QStringList({"1", "2"});
}

void TestPollScreens::rowsAndChoiceRules()
{
    QFETCH(int, type);
    QFETCH(QStringList, checkedAfterTwoClicks);
    QStringList texts;
    for (int i = 1; i <= 10; ++i)
        texts << QString("<b>option %1</b>").arg(i);
    PollWidget widget;
    widget.setPollData(pollOf("rows-poll", PollData::PollType(type), texts, "<i>Which?</i>"),
                       false);
    widget.show();
    QCOMPARE(rowIds(widget), QStringList({"1", "10", "2", "3", "4", "5", "6", "7", "8", "9"}));
    QCOMPARE(widget.questionView()->toPlainText(), QString("<i>Which?</i>"));
    QCOMPARE(widget.questionView()->objectName(), QString("SimpleChatMessageContentBodyByOthers"));
    QCOMPARE(widget.questionView()->width(), qMin(280, widget.questionView()->width()));
    PollOptionWidget* first = widget.optionRows().at(0);
    QLabel* label = type == PollData::Radio ? first->radioButton()->textLabel()
                                            : first->checkBox()->textLabel();
    QCOMPARE(label->textFormat(), Qt::PlainText);
    clickRow(widget.optionRows().at(0));
    clickRow(widget.optionRows().at(2));
    QCOMPARE(widget.selectedOptionIds(), checkedAfterTwoClicks);
    QVERIFY(!widget.isLocked());
}

void TestPollScreens::storedVotes_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("locked");
    QTest::addColumn<QStringList>("checked");
    QTest::newRow("two choices with an empty part") << "1,,3" << true << QStringList({"1", "3"});
    QTest::newRow("empty vote leaves it open") << "" << false << QStringList();
    QTest::newRow("unknown ids check nothing") << "9" << true << QStringList();
}

void TestPollScreens::storedVotes()
{
    QFETCH(QString, stored);
    QFETCH(bool, locked);
    QFETCH(QStringList, checked);
    const QString id = "stored-" + QString(QTest::currentDataTag()).left(5);
    PollManager::getInstance()->saveUserVote(id, stored);
    PollWidget widget;
    widget.setPollData(pollOf(id, PollData::Checkbox, {"a", "b", "c"}), true);
    QCOMPARE(widget.isLocked(), locked);
    QCOMPARE(widget.voteButton()->isEnabled(), !locked);
    QCOMPARE(widget.resultsButton()->isEnabled(), true);
    QCOMPARE(widget.selectedOptionIds(), checked);
    for (PollOptionWidget* row : widget.optionRows())
        QCOMPARE(row->isEnabled(), !locked);
    // Another poll's vote changes nothing.
    if (!locked) {
        widget.voteSubmitted("some-other-poll", "1");
        QVERIFY(!widget.isLocked());
    }
}

void TestPollScreens::votingOnTheServiceLocksThePoll()
{
    const QString id = createPoll("Tea or coffee?", {"tea", "coffee"});
    PollWidget widget;
    PollWidget twin;
    widget.setPollData(pollOf(id, PollData::Radio, {"tea", "coffee"}), true);
    twin.setPollData(pollOf(id, PollData::Radio, {"tea", "coffee"}), true);
    widget.show();
    clickRow(widget.optionRows().at(1));
    clickButton(widget.voteButton());
    QTRY_VERIFY_WITH_TIMEOUT(widget.isLocked(), 10000);
    QVERIFY(twin.isLocked());
    QCOMPARE(widget.selectedOptionIds(), QStringList({"2"}));
    QVERIFY(!widget.voteButton()->isEnabled());
    // Clicks on a locked poll change nothing.
    clickRow(widget.optionRows().at(0));
    QCOMPARE(widget.selectedOptionIds(), QStringList({"2"}));

    PollWidget reopened;
    reopened.setPollData(pollOf(id, PollData::Radio, {"tea", "coffee"}), false);
    QVERIFY(reopened.isLocked());
    QCOMPARE(reopened.selectedOptionIds(), QStringList({"2"}));
}

void TestPollScreens::voteWithoutChoiceIsRefused()
{
    for (PollData::PollType type : {PollData::Radio, PollData::Commentbox}) {
        service.clearRequests();
        PollWidget widget;
        widget.setPollData(pollOf("unanswered", type, {"x", "y"}), false);
        widget.show();
        clickButton(widget.voteButton());
        QCOMPARE(ToastMessage::getInstance()->textLabel()->text(), QString("No option selected"));
        QTest::qWait(100);
        QCOMPARE(service.requests().size(), 0);
    }
}

void TestPollScreens::resultsReachOnlyTheirOwnPoll()
{
    const QString first = createPoll("First question", {"a", "b"});
    const QString second = createPoll("Second question", {"c", "d"});
    PollWidget one;
    PollWidget two;
    one.setPollData(pollOf(first, PollData::Radio, {"a", "b"}, "First question"), true);
    two.setPollData(pollOf(second, PollData::Radio, {"c", "d"}, "Second question"), true);
    QStringList oneTitles, twoTitles;
    QList<QPointer<PollResultWidget>> overlays;
    connect(&one, &PollWidget::resultShown, this, [&](PollResultWidget* overlay) {
        oneTitles << overlay->chart()->chartView()->chart()->title();
        overlays << overlay;
    });
    connect(&two, &PollWidget::resultShown, this, [&](PollResultWidget* overlay) {
        twoTitles << overlay->chart()->chartView()->chart()->title();
        overlays << overlay;
    });
    one.show();
    two.show();
    clickButton(one.resultsButton());
    clickButton(one.resultsButton());
    clickButton(two.resultsButton());
    QTRY_VERIFY_WITH_TIMEOUT(oneTitles.size() == 1 && twoTitles.size() == 1, 15000);
    QTest::qWait(200);
    QCOMPARE(oneTitles, QStringList({"First question"}));
    QCOMPARE(twoTitles, QStringList({"Second question"}));
    QVERIFY(!one.isWaitingForResults());
    QVERIFY(!two.isWaitingForResults());
    // A result of nobody's poll is dropped.
    one.resultsReady(resultOf(QString(), "stray", {1}));
    QCOMPARE(oneTitles.size(), 1);
    for (const QPointer<PollResultWidget>& overlay : overlays)
        if (overlay)
            overlay->close();
}

void TestPollScreens::chartBarsAndTicks_data()
{
    QTest::addColumn<QList<int>>("votes");
    QTest::addColumn<int>("ticks");
    QTest::newRow("one tick per vote") << QList<int>{3, 0, 7} << 0;
    QTest::newRow("twenty") << QList<int>{20, 1} << 21;
    QTest::newRow("default ticks above twenty") << QList<int>{50, 10} << 5;
    QTest::newRow("no votes yet") << QList<int>{0, 0} << 0;
}

void TestPollScreens::chartBarsAndTicks()
{
    QFETCH(QList<int>, votes);
    QFETCH(int, ticks);
    QList<int> all = votes;
    while (all.size() < 10)
        all << 0;
    ChartWidget chart(nullptr);
    chart.setPollResult(resultOf("p", "Count <b>me</b>", all));
    QChart* built = chart.chartView()->chart();
    QCOMPARE(built->title(), QString("Count &lt;b&gt;me&lt;/b&gt;"));
    auto* series = qobject_cast<QBarSeries*>(built->series().first());
    QVERIFY(series);
    QStringList labels;
    for (QBarSet* set : series->barSets())
        labels << set->label();
    QCOMPARE(labels.mid(0, 3), QStringList({"choice 1", "choice 10", "choice 2"}));
    QCOMPARE(series->barSets().at(2)->at(0), double(all.at(1)));
    auto* axis = qobject_cast<QValueAxis*>(built->axes(Qt::Vertical).first());
    QVERIFY(axis);
    QCOMPARE(axis->labelFormat(), QString("%d"));
    QVERIFY(!built->axes(Qt::Horizontal).first()->labelsVisible());
    if (ticks == 0)
        ticks = int(axis->max() + 1.0);
    QCOMPARE(axis->tickCount(), ticks);
    QCOMPARE(built->legend()->alignment(), Qt::AlignBottom);
}

void TestPollScreens::chartOfNoOptionsHasNoAxes()
{
    ChartWidget chart(nullptr);
    chart.setPollResult(resultOf("p", "Nobody asked", {}));
    QChart* built = chart.chartView()->chart();
    QCOMPARE(built->title(), QString("Nobody asked"));
    QVERIFY(built->axes().isEmpty());
    chart.resize(400, 300);
    chart.show();
    QVERIFY(QTest::qWaitForWindowExposed(&chart));
    QVERIFY(!chart.grab().isNull());
}

void TestPollScreens::chartOverlayClosesAndGoes()
{
    QPointer<PollResultWidget> overlay = new PollResultWidget();
    overlay->setResult(resultOf("p", "Bye", {1, 2}));
    overlay->show();
    QVERIFY(QTest::qWaitForWindowExposed(overlay));
    ChartWidget* chart = overlay->chart();
    QCOMPARE(chart->parentWidget(), overlay.data());
    QTest::keyClick(overlay, Qt::Key_Escape);
    QTRY_VERIFY(overlay.isNull());
}

void TestPollScreens::composerBuildsPolls_data()
{
    QTest::addColumn<QString>("question");
    QTest::addColumn<QStringList>("choices");
    QTest::addColumn<bool>("multiple");
    QTest::addColumn<QStringList>("ids");
    QTest::newRow("middle row empty")
        << "Pick" << QStringList({"one", "", "three"}) << false << QStringList({"1", "3"});
    QTest::newRow("spaces are a question")
        << "   " << QStringList({"x"}) << true << QStringList({"1"});
}

void TestPollScreens::composerBuildsPolls()
{
    QFETCH(QString, question);
    QFETCH(QStringList, choices);
    QFETCH(bool, multiple);
    QFETCH(QStringList, ids);
    CreatePollWidget* composer = CreatePollWidget::getInstance();
    composer->start("channel-a");
    QTest::keyClicks(composer->questionEditor(), question);
    for (int i = 1; i < choices.size(); ++i)
        clickButton(composer->addChoiceButton());
    QCOMPARE(composer->choices().size(), choices.size());
    for (int i = 0; i < choices.size(); ++i)
        QTest::keyClicks(composer->choices().at(i)->editor(), choices.at(i));
    if (multiple)
        clickButton(composer->multipleChoiceButton()->imageLabel());
    QVERIFY(composer->singleChoiceButton()->isSelected() != multiple);
    QSignalSpy posted(composer, &CreatePollWidget::postPoll);
    clickButton(composer->postButton());
    QCOMPARE(posted.size(), 1);
    QCOMPARE(posted.first().at(0).toString(), QString("channel-a"));
    const PollData poll = posted.first().at(1).value<PollData>();
    QCOMPARE(poll.getQuestion(), question);
    QCOMPARE(poll.getOptions().keys(), ids);
    QCOMPARE(poll.getPollType(), multiple ? PollData::Checkbox : PollData::Radio);
    QCOMPARE(poll.getChannelId(), QString("channel-a"));
    QVERIFY(poll.getViewResults());
}

void TestPollScreens::incompletePollKeepsTheComposerOpen()
{
    CreatePollWidget* composer = CreatePollWidget::getInstance();
    composer->start("channel-b");
    QTRY_VERIFY(composer->isVisible());
    QSignalSpy posted(composer, &CreatePollWidget::postPoll);
    QTest::keyClicks(composer->choices().first()->editor(), "a choice");
    clickButton(composer->postButton());
    QCOMPARE(posted.size(), 0);
    QVERIFY(composer->isVisible());
    QVERIFY(composer->errorLabel()->isVisible());
    QCOMPARE(composer->errorLabel()->text(), QString("Write a question and at least one choice"));
    QCOMPARE(composer->choices().first()->getText(), QString("a choice"));

    // Typing hides the error; removing every choice is refused the same way.
    QTest::keyClicks(composer->questionEditor(), "Why?");
    QVERIFY(composer->errorLabel()->isHidden());
    clickButton(composer->choices().first()->removeButton());
    QCOMPARE(composer->choices().size(), 1); // deleted after its own click returns
    QTRY_COMPARE(composer->choices().size(), 0);
    clickButton(composer->postButton());
    QCOMPARE(posted.size(), 0);
    QVERIFY(composer->isVisible());
    QCOMPARE(composer->questionEditor()->toPlainText(), QString("Why?"));
}

void TestPollScreens::composerPostsForItsChannelAndResets()
{
    CreatePollWidget* composer = CreatePollWidget::getInstance();
    composer->start("channel-c");
    QTest::keyClicks(composer->questionEditor(), "Q");
    QTest::keyClicks(composer->choices().first()->editor(), "A");
    clickButton(composer->multipleChoiceButton()->imageLabel());
    clickButton(composer->viewResultsBox()->imageLabel());
    QVERIFY(!composer->viewResultsBox()->isChecked());
    QSignalSpy posted(composer, &CreatePollWidget::postPoll);
    clickButton(composer->postButton());
    QCOMPARE(posted.size(), 1);
    QVERIFY(!posted.first().at(1).value<PollData>().getViewResults());
    QTRY_VERIFY(composer->isHidden());

    composer->start("channel-d");
    QCOMPARE(composer->getChatId(), QString("channel-d"));
    QCOMPARE(composer->questionEditor()->toPlainText(), QString());
    QCOMPARE(composer->choices().size(), 1);
    QCOMPARE(composer->choices().first()->getText(), QString());
    QVERIFY(composer->singleChoiceButton()->isSelected());
    QVERIFY(!composer->multipleChoiceButton()->isSelected());
    QVERIFY(composer->viewResultsBox()->isChecked());
}

void TestPollScreens::buttonsReadOnTheirBubble_data()
{
    QTest::addColumn<bool>("byMe");
    QTest::addColumn<QColor>("text");
    // The author's bubble is green with white text; others' are light.
    QTest::newRow("own green bubble: white") << true << QColor(Qt::white);
    QTest::newRow("others' bubble: the kit's blue") << false << QColor("#1e88e5");
}

void TestPollScreens::buttonsReadOnTheirBubble()
{
    QFETCH(bool, byMe);
    QFETCH(QColor, text);
    QFile sheet(QStringLiteral(":/Style/QuorvelDefaultStyle.css"));
    QVERIFY(sheet.open(QIODevice::ReadOnly));
    mainWindow->setStyleSheet(QString::fromUtf8(sheet.readAll()));
    auto* widget = new PollWidget(mainWindow);
    widget->setPollData(pollOf("colour-poll", PollData::Radio, {"a", "b"}), byMe);
    widget->show();
    for (QWidget* button : {widget->voteButton(), widget->resultsButton()}) {
        button->ensurePolished();
        QCOMPARE(button->palette().color(button->foregroundRole()), text);
    }
    delete widget;
    mainWindow->setStyleSheet(QString());
}

void TestPollScreens::screenshotOfPollAndChart()
{
    QDir().mkpath(QUORVEL_BINARY_DIR "/screenshots");
    PollManager::getInstance()->saveUserVote("shot-poll", "2");
    QWidget bubble;
    bubble.setStyleSheet("QWidget#bubble{background:#effdde;}");
    bubble.setObjectName("bubble");
    QVBoxLayout* layout = new QVBoxLayout(&bubble);
    PollWidget* open = new PollWidget;
    open->setPollData(pollOf("open-poll", PollData::Radio, {"Soup", "Salad", "Pie"},
                             "What shall we have for lunch on Friday?"),
                      false);
    PollWidget* voted = new PollWidget;
    voted->setPollData(pollOf("shot-poll", PollData::Checkbox, {"Morning", "Noon", "Evening"},
                              "When can you come?"),
                       true);
    layout->addWidget(open);
    layout->addWidget(voted);
    bubble.resize(320, 420);
    bubble.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bubble));
    QVERIFY(bubble.grab().save(QUORVEL_BINARY_DIR "/screenshots/poll-in-message.png"));

    ChartWidget chart(nullptr);
    chart.setPollResult(resultOf("p", "What shall we have for lunch on Friday?", {4, 9, 2}));
    chart.resize(640, 480);
    chart.show();
    QVERIFY(QTest::qWaitForWindowExposed(&chart));
    QTest::qWait(1500); // the bars grow in with their animation
    QVERIFY(chart.grab().save(QUORVEL_BINARY_DIR "/screenshots/poll-chart.png"));

    // The composer as the program shows it: under the program's style sheet,
    // which colours its header behind the white close icon.
    QFile sheet(QStringLiteral(":/Style/QuorvelDefaultStyle.css"));
    QVERIFY(sheet.open(QIODevice::ReadOnly));
    mainWindow->setStyleSheet(QString::fromUtf8(sheet.readAll()));
    CreatePollWidget* composer = CreatePollWidget::getInstance();
    composer->start("channel-shot");
    QTest::keyClicks(composer->questionEditor(), "Where shall we meet?");
    QTest::keyClicks(composer->choices().first()->editor(), "Library");
    clickButton(composer->addChoiceButton());
    QTest::keyClicks(composer->choices().last()->editor(), "Park");
    QTest::qWait(600);
    QVERIFY(mainWindow->grab().save(QUORVEL_BINARY_DIR "/screenshots/poll-composer.png"));
    mainWindow->setStyleSheet(QString());
}

QTEST_MAIN(TestPollScreens)
#include "tst_pollscreens.moc"
