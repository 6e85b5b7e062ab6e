// The main window fed with answer values: each dispatched answer reaches its
// list, and after a forced update or a sign-out nothing is taken any more.
#include "Managers/Chat/chatrecipient.h"
#include "chat/chatwidget.h"
#include "model/message.h"
#include "model/uisetting.h"
#include "shell/answerdispatch.h"
#include "shell/chattab.h"
#include "shell/contacttab.h"
#include "shell/currentuser.h"
#include "shell/messengermainwindow.h"
#include "shell/sidepanel.h"
#include "shell/userprofile.h"

#include <QLineEdit>
#include <QtTest>

namespace {
Contact contact(const QString& number, const QString& name)
{
    Contact c;
    c.setNumber(number);
    c.setNickName(name);
    return c;
}
ChatRecipient chat(const QString& number, const QString& name)
{
    ChatRecipient r;
    r.setContact(contact(number, name));
    return r;
}
} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void answersReachTheirLists()
    {
        MessengerMainWindow window;
        SidePanel* panel = window.getSidePanel();
        QHash<QString, Contact> all{
            {"1", contact("1", "bob")}, {"2", contact("2", "Alice")}, {"3", contact("3", "carol")}};
        window.commandResponse(CMD_GetContacts, QVariant::fromValue(all));
        QCOMPARE(panel->getContactTab()->rowNames(), QStringList({"Alice", "bob", "carol"}));
        // A rename that sorts later moves the row down as well.
        window.commandResponse(CMD_UpdateContact, QVariant::fromValue(contact("2", "zed")));
        QCOMPARE(panel->getContactTab()->rowNames(), QStringList({"bob", "carol", "zed"}));
        window.commandResponse(CMD_DeleteContact, QVariant::fromValue(contact("1", "bob")));
        QCOMPARE(panel->getContactTab()->rowNames(), QStringList({"carol", "zed"}));

        window.commandResponse(CMD_GetChatRecipients,
                               QVariant::fromValue(QList<ChatRecipient>{
                                   chat("1", "a"), chat("2", "b"), chat("3", "c")}));
        QCOMPARE(panel->getChatTab()->rowIds(), QStringList({"1", "2", "3"}));
        window.commandResponse(CMD_ChatRecipientAdded, QVariant::fromValue(chat("4", "d")));
        QCOMPARE(panel->getChatTab()->rowIds(), QStringList({"4", "1", "2", "3"}));
        Message message(Message::MsgMajorType_SimpleChat, QStringLiteral("3"));
        message.setChatId(QStringLiteral("3"));
        window.commandResponse(CMD_MessageAdded, QVariant::fromValue(message));
        // Newest first, and each row once.
        QCOMPARE(panel->getChatTab()->rowIds(), QStringList({"3", "4", "1", "2"}));
        window.commandResponse(CMD_DeleteChat, QVariant(QStringLiteral("4")));
        QCOMPARE(panel->getChatTab()->rowIds(), QStringList({"3", "1", "2"}));

        window.commandResponse(CMD_GetQuorvelId, QVariant(QStringLiteral("me")));
        QCOMPARE(window.getUserProfile()->idField()->text(), QStringLiteral("me"));
        QVERIFY(window.getUserProfile()->idField()->isEnabled());
    }

    void answersStopAfter_data()
    {
        QTest::addColumn<int>("stop");
        QTest::newRow("forced update") << int(CMD_ForceUpdate);
        QTest::newRow("signed out") << int(CMD_Logout);
    }
    void answersStopAfter()
    {
        QFETCH(int, stop);
        MessengerMainWindow window;
        window.commandResponse(Command(stop), QVariant());
        QVERIFY(!window.isAcceptingAnswers());
        window.commandResponse(CMD_ChatRecipientAdded, QVariant::fromValue(chat("9", "x")));
        QVERIFY(window.getSidePanel()->getChatTab()->rowIds().isEmpty());
    }

    void ignoredAnswersHaveNoRow()
    {
        for (Command c :
             {CMD_UserProfile, CMD_SetProfile, CMD_ErrorCode, CMD_SaveMainSettings, CMD_LikeSend})
            QVERIFY(!AnswerDispatch::table().contains(int(c)));
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
