// The one failure rule: an action the person started that fails shows one
// toast saying what failed and why; background requests and retries do not.
#include "model/channellookup.h"
#include "shell/channellookupviewer.h"
#include "shell/enteractivationcode.h"
#include "shell/failuretoast.h"
#include "shell/messengermainwindow.h"
#include "shell/register.h"
#include "widgets/flatbutton.h"
#include "widgets/toastmessage.h"

#include <QLabel>
#include <QTranslator>
#include <QtTest>

namespace {
QString toastText()
{
    ToastMessage* toast = ToastMessage::getInstance();
    return toast->isVisible() ? toast->textLabel()->text() : QString();
}

FlatButton* buttonWithText(QWidget* parent, const QString& text)
{
    for (FlatButton* b : parent->findChildren<FlatButton*>()) {
        if (b->text() == text)
            return b;
    }
    return nullptr;
}
} // namespace

class TestFailureToast : public QObject
{
    Q_OBJECT

private:
    QTranslator english;
    MessengerMainWindow* window = nullptr;

    // Joins a channel as a person does: its preview's "Join" button.
    void joinThroughPreview()
    {
        ChannelLookupViewer* viewer = window->getChannelLookupViewer();
        viewer->setChannelLookup(ChannelLookup());
        viewer->show();
        FlatButton* join = buttonWithText(viewer, QStringLiteral("Join"));
        QVERIFY(join);
        QTest::mouseClick(join, Qt::LeftButton);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(english.load(QStringLiteral(":/Lng/quorvel_english.qm")));
        QCoreApplication::installTranslator(&english);
    }

    void init()
    {
        window = new MessengerMainWindow();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
    }

    void cleanup()
    {
        delete window;
        window = nullptr;
        ToastMessage::deleteInstance();
    }

    // What the person reads for each refusal of joining a channel.
    void refusedJoinIsTold_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("text");
        const QString join = QStringLiteral("Joining the channel failed: ");
        QTest::newRow("403") << 403 << join + "you are not allowed to do this";
        QTest::newRow("404") << 404 << join + "it no longer exists";
        QTest::newRow("no answer") << 100
                                   << join + "the service did not answer; check the "
                                             "connection";
        QTest::newRow("500") << 500 << join + "the service could not do it now; try again later";
        QTest::newRow("sign-out has its own notice") << 311 << QString();
        QTest::newRow("update has its own notice") << 315 << QString();
    }

    void refusedJoinIsTold()
    {
        QFETCH(int, code);
        QFETCH(QString, text);
        QSignalSpy shown(window->getFailureToast(), &FailureToast::failureShown);
        joinThroughPreview();
        window->getFailureToast()->procedureResult(PROC_JoinChannel, code);
        QCOMPARE(toastText(), text);
        QCOMPARE(shown.count(), text.isEmpty() ? 0 : 1);
    }

    // Only the first answer to an action speaks: a background request of the
    // same procedure, a retry that fails again or a success leave no toast.
    void onlyThePersonsActionIsTold()
    {
        FailureToast* failures = window->getFailureToast();
        QSignalSpy shown(failures, &FailureToast::failureShown);
        failures->procedureResult(PROC_JoinChannel, 403);
        failures->procedureResult(PROC_ChannelData, 500);
        failures->procedureResult(PROC_SyncGet, 100);
        QCOMPARE(shown.count(), 0);

        joinThroughPreview();
        failures->procedureResult(PROC_JoinChannel, 200);
        failures->procedureResult(PROC_JoinChannel, 403);
        QCOMPARE(shown.count(), 0);

        joinThroughPreview();
        failures->procedureResult(PROC_JoinChannel, 100);
        failures->procedureResult(PROC_JoinChannel, 100);
        QCOMPARE(shown.count(), 1);
    }

    // A manager's refused answer is matched to the action the same way, and
    // the action is told once even when its procedure also reports.
    void refusedAnswerIsToldOnce()
    {
        FailureToast* failures = window->getFailureToast();
        QSignalSpy shown(failures, &FailureToast::failureShown);
        failures->refused(CMD_GroupAddMember, 403);
        QCOMPARE(shown.count(), 0);

        emit window->command(CMD_GroupAddMember, QVariant());
        failures->refused(CMD_GroupAddMember, 403);
        failures->procedureResult(PROC_GroupAddMember, 403);
        QCOMPARE(shown.count(), 1);
        QCOMPARE(toastText(),
                 QStringLiteral("Adding the member failed: you are not allowed to do this"));

        emit window->command(CMD_GroupAddMember, QVariant());
        failures->succeeded(CMD_GroupAddMember);
        failures->procedureResult(PROC_GroupAddMember, 500);
        QCOMPARE(shown.count(), 1);
    }

    // The sign-up window: a refused voice-call request shows a toast over it
    // and leaves the code page's error line alone; an accepted one says that
    // the call is coming.
    // Each member action of a group is told by the answer of the procedure
    // that carries it, and only by that one.
    void groupMemberActionsAreToldByTheirOwnAnswer_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<int>("procedure");
        QTest::addColumn<int>("otherProcedure");
        QTest::addColumn<QString>("text");
        const QString why = QStringLiteral(" failed: you are not allowed to do this");
        QTest::newRow("add member") << int(CMD_GroupAddMember) << int(PROC_GroupAddMember)
                                    << int(PROC_GroupChangeRole) << "Adding the member" + why;
        QTest::newRow("add new member as manager")
            << int(CMD_GroupAddAdmin) << int(PROC_GroupAddMember) << int(PROC_GroupChangeRole)
            << "Adding the member" + why;
        QTest::newRow("make member manager")
            << int(CMD_GroupChangeRole) << int(PROC_GroupChangeRole) << int(PROC_GroupAddMember)
            << "Changing the role" + why;
        QTest::newRow("remove member") << int(CMD_GroupRemoveMember) << int(PROC_GroupRemoveMember)
                                       << int(PROC_GroupAddMember) << "Removing the member" + why;
    }

    void groupMemberActionsAreToldByTheirOwnAnswer()
    {
        QFETCH(int, command);
        QFETCH(int, procedure);
        QFETCH(int, otherProcedure);
        QFETCH(QString, text);
        FailureToast* failures = window->getFailureToast();
        QSignalSpy shown(failures, &FailureToast::failureShown);
        emit window->command(Command(command), QVariant());
        failures->procedureResult(Procedure(otherProcedure), 403);
        QCOMPARE(shown.count(), 0);
        failures->procedureResult(Procedure(procedure), 403);
        QCOMPARE(shown.count(), 1);
        QCOMPARE(toastText(), text);
    }

    void voiceCallRequestIsTold()
    {
        delete window;
        window = nullptr;
        Register reg;
        reg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&reg));
        reg.introNextClicked();
        reg.activationCodePage()->show();
        QSignalSpy shown(reg.getFailureToast(), &FailureToast::failureShown);
        QSignalSpy asked(&reg, &Register::startIVRRequest);
        emit reg.activationCodePage()->ivrRequest();
        QCOMPARE(asked.count(), 1);
        reg.apiResult(PROC_IVRRequest, 404);
        QCOMPARE(shown.count(), 1);
        QCOMPARE(toastText(), QStringLiteral("The voice call request failed: it no longer exists"));
        QVERIFY(!reg.activationCodePage()->findChild<QLabel*>("ErrorMess")->isVisible());

        emit reg.activationCodePage()->ivrRequest();
        reg.apiResult(PROC_IVRRequest, 200);
        QCOMPARE(shown.count(), 1);
        QCOMPARE(toastText(), QStringLiteral("You will get a call with the code shortly"));
    }
};

QTEST_MAIN(TestFailureToast)
#include "tst_failuretoast.moc"
