// The group screens driven with mouse and keys: member rows, the name
// editor, the group profile and the create-group form. Pictures go through
// the local service's file host; pictures of each screen are saved.
#include "screentestsupport.h"

#include "chat/chatmember.h"
#include "model/groupaddmemberpair.h"
#include "model/groupchangerolerequest.h"
#include "screens/creategroup.h"
#include "screens/editgroup.h"
#include "screens/groupprofile.h"
#include "webapi/FileApi/uploadfile.h"
#include "webapi/FileApi/uploadmanager.h"
#include "widgets/checkbox.h"
#include "widgets/label.h"
#include "widgets/popupmanager.h"

#include <QLabel>
#include <QMenu>

using namespace ScreenTest;

namespace {

GroupMember member(const QString& user, GroupRole::Role role, bool addedByMe = false)
{
    GroupMember m;
    m.setUserName(user);
    m.setRole(role);
    m.setAddedByMe(addedByMe);
    m.setLastActivity(int(QDateTime::currentSecsSinceEpoch() - 3600));
    Profile profile;
    profile.setMemberID(user);
    profile.setNickName(QStringLiteral("Nick ") + user);
    m.setProfile(profile);
    return m;
}

GroupInfo group(GroupRole::Role myRole, bool removed = false)
{
    GroupInfo info;
    info.setJid(QStringLiteral("room-1@groups.local"));
    info.setName(QStringLiteral("Hikers"));
    info.setMyRole(myRole);
    info.setRemoved(removed);
    return info;
}

GroupInfoMembers withMembers(const QList<GroupMember>& list)
{
    GroupInfoMembers all;
    all.setInfo(group(GroupRole::OWNER));
    for (const GroupMember& m : list)
        all.insertMember(m);
    return all;
}

QStringList ids(const QList<ChatMember*>& rows)
{
    QStringList list;
    for (const ChatMember* row : rows)
        list << row->getMemberId();
    list.sort();
    return list;
}

} // namespace

class TestGroupScreens : public QObject
{
    Q_OBJECT

    QTranslator translator;
    QWidget* host = nullptr;
    LocalFiles files;

private slots:
    void initTestCase()
    {
        qRegisterMetaType<Command>("Command");
        QVERIFY(setUpApplication(&translator));
        QVERIFY(files.start());
    }

    void init() { host = openHost(QSize(600, 700)); }
    void cleanup() { closeHost(host); }

    void memberRowDeletion_data()
    {
        QTest::addColumn<bool>("deletable");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<bool>("removed");
        QTest::newRow("not deletable") << false << true << false;
        QTest::newRow("deletable, no") << true << false << false;
        QTest::newRow("deletable, yes") << true << true << true;
    }

    void memberRowDeletion()
    {
        QFETCH(bool, deletable);
        QFETCH(bool, yes);
        QFETCH(bool, removed);
        ChatMember row(host);
        row.setMemberId("bob");
        row.setName("<i>Bob</i>");
        row.setLastSeen(uint(QDateTime::currentSecsSinceEpoch()));
        row.setDeletable(deletable);
        row.resize(400, 60);
        row.show();
        QCOMPARE(row.nameLabel()->textFormat(), Qt::PlainText);
        QVERIFY(!row.timeLabel()->text().isEmpty());

        QEvent enter(QEvent::Enter);
        QApplication::sendEvent(&row, &enter);
        QCOMPARE(row.deleteText()->isVisible(), deletable);
        QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(5, 5),
                                    row.mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(&row, &menuEvent);
        QCOMPARE(row.contextMenu()->actions().size(), deletable ? 2 : 1);
        row.contextMenu()->hide();
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(&row, &leave);
        QVERIFY(row.deleteText()->isHidden());
        if (!deletable)
            return;

        QSignalSpy deleted(&row, &ChatMember::chatMemberDelete);
        QApplication::sendEvent(&row, &enter);
        QTest::mousePress(row.deleteText(), Qt::LeftButton);
        QVERIFY(PopUpWarning::getInstance()->isVisible());
        answerWarning(yes);
        QCOMPARE(deleted.count(), removed ? 1 : 0);
        if (removed)
            QCOMPARE(deleted.at(0).at(0).toString(), QStringLiteral("bob"));
        // Another screen's question does not reach the row any more.
        PopUpWarning::showWarning("other", "DeleteClicked", true, 0);
        answerWarning(true);
        QCOMPARE(deleted.count(), removed ? 1 : 0);
    }

    void nameEditor_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("submit");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("placeholder only") << ""
                                          << "" << true << QStringList();
        QTest::newRow("unchanged") << "Hikers"
                                   << "" << true << QStringList({"Hikers"});
        QTest::newRow("typed") << "Hikers"
                               << " 2" << true << QStringList({"Hikers 2"});
        QTest::newRow("cancel") << "Hikers"
                                << " 2" << false << QStringList();
    }

    void nameEditor()
    {
        QFETCH(QString, start);
        QFETCH(QString, typed);
        QFETCH(bool, submit);
        QFETCH(QStringList, names);
        EditGroup editor(host);
        editor.show();
        editor.setName(start);
        QSignalSpy changed(&editor, &EditGroup::NameChanged);
        if (!typed.isEmpty()) {
            QTest::mouseClick(editor.nameField(), Qt::LeftButton);
            QTest::keyClick(editor.nameField(), Qt::Key_End);
            QTest::keyClicks(editor.nameField(), typed);
        }
        click(submit ? editor.submitButton() : editor.cancelButton());
        QStringList got;
        for (const QList<QVariant>& call : changed)
            got << call.at(0).toString();
        QCOMPARE(got, names);
        QVERIFY(editor.isHidden());
    }

    void profileListsMembersOnce()
    {
        GroupProfile profile(host);
        profile.setGroupInfo(group(GroupRole::ADMIN));
        Commands sent(&profile);
        profile.showProfile();
        QCOMPARE(sent.all(), QList<int>({CMD_GroupInfoMembers}));
        QCOMPARE(sent.payload(0).toString(), QStringLiteral("room-1@groups.local"));

        // Someone without a nickname or a known last activity.
        GroupMember bare = member("u2", GroupRole::MEMBER);
        bare.setProfile(Profile());
        bare.setLastActivity(0);
        profile.setGroupInfoMembers(
            withMembers({member("m1", GroupRole::ADMIN), member("u1", GroupRole::MEMBER), bare,
                         member("own", GroupRole::OWNER)}));
        // The owner heads the managers, and nobody may remove it.
        QCOMPARE(ids(profile.managerRows()), QStringList({"m1", "own"}));
        QCOMPARE(profile.managerRows().first()->getMemberId(), QStringLiteral("own"));
        QVERIFY(!profile.managerRows().first()->isDeletable());
        QVERIFY(profile.managerRows().last()->isDeletable());
        QCOMPARE(ids(profile.memberRows()), QStringList({"u1", "u2"}));
        for (ChatMember* row : profile.memberRows()) {
            const bool named = row->getMemberId() == QLatin1String("u1");
            QCOMPARE(row->nameLabel()->text(),
                     named ? QStringLiteral("Nick u1") : QStringLiteral("u2"));
            QCOMPARE(row->timeLabel()->text().isEmpty(), !named);
        }
        // A second answer adds only people not listed yet.
        GroupMember renamed = member("u1", GroupRole::MEMBER);
        Profile p = renamed.getProfile();
        p.setNickName("Changed");
        renamed.setProfile(p);
        profile.setGroupInfoMembers(withMembers({renamed, member("u3", GroupRole::MEMBER)}));
        QCOMPARE(ids(profile.memberRows()), QStringList({"u1", "u2", "u3"}));
        for (ChatMember* row : profile.memberRows())
            QVERIFY(row->nameLabel()->text() != QLatin1String("Changed"));
        QTRY_COMPARE(profile.x(), 0);
        QVERIFY(saveShot(&profile, "screens-groupprofile.png"));

        // Removing a manager: the command goes out and the row goes at once.
        sent.clear();
        ChatMember* manager = profile.managerRows().last();
        QTest::mousePress(manager->deleteText(), Qt::LeftButton);
        answerWarning(true);
        QCOMPARE(sent.all(), QList<int>({CMD_GroupRemoveMember}));
        const auto request = sent.payload(0).value<GroupChangeRoleRequest>();
        QCOMPARE(request.getUserName(), QStringLiteral("m1"));
        QCOMPARE(request.getJid(), QStringLiteral("room-1@groups.local"));
        QCOMPARE(ids(profile.managerRows()), QStringList({"own"}));
        QCOMPARE(profile.memberRows().size(), 3);
    }

    void profileOfRemovedGroupAsksNothing()
    {
        GroupProfile profile(host);
        profile.setGroupInfo(group(GroupRole::MEMBER, true));
        Commands sent(&profile);
        profile.showProfile();
        QCOMPARE(sent.count(), 0);
        QVERIFY(profile.isVisible());
    }

    void profileRightsByRole_data()
    {
        QTest::addColumn<int>("role");
        QTest::addColumn<bool>("managerLink");
        QTest::addColumn<bool>("deletesAll");
        QTest::newRow("owner") << int(GroupRole::OWNER) << true << true;
        QTest::newRow("manager") << int(GroupRole::ADMIN) << true << true;
        QTest::newRow("member") << int(GroupRole::MEMBER) << false << false;
    }

    void profileRightsByRole()
    {
        QFETCH(int, role);
        QFETCH(bool, managerLink);
        QFETCH(bool, deletesAll);
        GroupProfile profile(host);
        profile.setGroupInfo(group(GroupRole::Role(role)));
        profile.showProfile();
        QCOMPARE(profile.addManagerLink()->isVisible(), managerLink);
        profile.setGroupInfoMembers(withMembers(
            {member("mine", GroupRole::MEMBER, true), member("other", GroupRole::MEMBER)}));
        for (ChatMember* row : profile.memberRows())
            QCOMPARE(row->isDeletable(), deletesAll || row->getMemberId() == "mine");
    }

    void profileQuestionsAndSwitches()
    {
        GroupProfile profile(host);
        profile.setGroupInfo(group(GroupRole::MEMBER));
        profile.showProfile();
        Commands sent(&profile);
        click(profile.deleteHistoryLink());
        answerWarning(false);
        click(profile.leaveLink());
        answerWarning(true);
        click(profile.deleteHistoryLink());
        answerWarning(true);
        QCOMPARE(sent.all(), QList<int>({CMD_GroupLeave, CMD_GroupRemoveHistory}));

        sent.clear();
        click(profile.notificationSwitch()->imageLabel());
        click(profile.notificationSwitch()->imageLabel());
        QCOMPARE(sent.all(), QList<int>({CMD_GroupUpdateGetNotif, CMD_GroupUpdateGetNotif}));
        QCOMPARE(sent.payload(0).value<GroupInfo>().getMute(), true);
        QCOMPARE(sent.payload(1).value<GroupInfo>().getMute(), false);

        sent.clear();
        click(profile.editLink());
        QVERIFY(profile.nameEditor()->isVisible());
        QVERIFY(saveShot(host, "screens-groupnameeditor.png"));
        QTest::mouseClick(profile.nameEditor()->nameField(), Qt::LeftButton);
        QTest::keyClick(profile.nameEditor()->nameField(), Qt::Key_End);
        QTest::keyClicks(profile.nameEditor()->nameField(), "!");
        click(profile.nameEditor()->submitButton());
        QCOMPARE(sent.all(), QList<int>({CMD_GroupChangeData}));
        QCOMPARE(sent.payload(0).value<GroupInfo>().getName(), QStringLiteral("Hikers!"));
        QCOMPARE(profile.nameLabel()->text(), QStringLiteral("Hikers"));

        sent.clear();
        profile.selectedAdmin({"98911", "98912"});
        QCOMPARE(sent.all(), QList<int>({CMD_GroupAddAdmin}));
        QCOMPARE(sent.payload(0).value<GroupAddMemberPair>().getNumbers(),
                 QStringList({"98911", "98912"}));
    }

    void profileUploadsTheLatestPicture()
    {
        GroupProfile profile(host);
        profile.setGroupInfo(group(GroupRole::OWNER));
        Commands sent(&profile);
        profile.changePicture(files.picture("first.png", 120, 90, Qt::red));
        UploadFile* first = profile.currentUploader();
        const QString second = files.picture("second.png", 120, 90, Qt::blue);
        profile.changePicture(second);
        // The first upload reporting late changes nothing.
        if (first)
            emit first->UploadDone(files.path("first.png"), "id", "late-url", "late-thumb");
        QTRY_COMPARE_WITH_TIMEOUT(sent.count(), 1, 30000);
        QCOMPARE(sent.at(0), CMD_GroupChangeData);
        const GroupInfo changed = sent.payload(0).value<GroupInfo>();
        QVERIFY(!changed.getAvUrl().isEmpty());
        QVERIFY(changed.getAvUrl() != QLatin1String("late-url"));
        // What the file host keeps under that address is the second picture.
        QVERIFY(!changed.getAvThUrl().isEmpty());
        QCOMPARE(profile.currentUploader() != first, true);
    }

    void createGroupSteps()
    {
        CreateGroup form(host);
        form.resetForm();
        form.show();
        QSignalSpy created(&form, &CreateGroup::sendCreateGroupCommand);
        QCOMPARE(form.size(), QSize(300, 200));
        click(form.nextButton());
        QCOMPARE(form.nameField()->objectName(), QStringLiteral("Error"));
        QVERIFY(form.stepOne()->isVisible());
        QVERIFY(saveShot(&form, "screens-creategroup-error.png"));
        type(form.nameField(), "   ");
        click(form.nextButton());
        QVERIFY(form.stepTwo()->isVisible());
        QCOMPARE(form.size(), QSize(450, 450));
        QVERIFY(saveShot(&form, "screens-creategroup-confirm.png"));
        click(form.backButton());
        QVERIFY(form.stepOne()->isVisible());
        click(form.nextButton());
        click(form.createButton());
        QCOMPARE(created.count(), 1);
        const GroupInfoMembers sentGroup = created.at(0).at(0).value<GroupInfoMembers>();
        QCOMPARE(sentGroup.getInfo().getName(), QStringLiteral("   "));
        QCOMPARE(sentGroup.getInfo().getAvUrl(), QString());
        QVERIFY(sentGroup.getMembers().isEmpty());
        QVERIFY(form.isHidden());
    }

    void createGroupPicture()
    {
        CreateGroup form(host);
        form.resetForm();
        form.show();
        QSignalSpy created(&form, &CreateGroup::sendCreateGroupCommand);
        const QString path = files.picture("group.png", 120, 90, Qt::green);
        form.choosePicture(path);
        // Another screen's upload through the same queue is not the form's.
        emit UploadManager::getInstance()->uploadDone(files.path("other.png"), "x", "u", "t");
        QCOMPARE(form.pictureUrl(), QString());
        QTRY_VERIFY_WITH_TIMEOUT(!form.pictureUrl().isEmpty(), 30000);
        QVERIFY(!form.pictureThumbnailUrl().isEmpty());
        type(form.nameField(), "Climbers");
        click(form.nextButton());
        click(form.createButton());
        QCOMPARE(created.at(0).at(0).value<GroupInfoMembers>().getInfo().getAvUrl(),
                 form.pictureUrl());

        // The next group starts without the picture.
        form.resetForm();
        QCOMPARE(form.pictureUrl(), QString());
        type(form.nameField(), "Second");
        click(form.nextButton());
        click(form.createButton());
        QCOMPARE(created.at(1).at(0).value<GroupInfoMembers>().getInfo().getAvThUrl(), QString());
    }

    void createGroupResetDropsPendingUpload()
    {
        CreateGroup form(host);
        form.resetForm();
        form.show();
        const QString path = files.picture("pending.png", 120, 90, Qt::yellow);
        form.choosePicture(path);
        form.resetForm();
        QCOMPARE(form.pendingPicture(), QString());
        // Whether the queue had started it or not, its end never reaches
        // the form: the next group is created without a picture.
        emit UploadManager::getInstance()->uploadDone(path, "id", "late", "late-thumb");
        QCOMPARE(form.pictureUrl(), QString());
        type(form.nameField(), "Plain");
        click(form.nextButton());
        QSignalSpy created(&form, &CreateGroup::sendCreateGroupCommand);
        click(form.createButton());
        QCOMPARE(created.at(0).at(0).value<GroupInfoMembers>().getInfo().getAvUrl(), QString());
    }
};

QTEST_MAIN(TestGroupScreens)
#include "tst_groupscreens.moc"
