// The channel screens driven with mouse and keys: the follower's and the
// administrator's profiles with their people rows and the edit popup, the
// directory's category popup and channel list, and the create-channel form.
// Pictures go through the local service's file host; pictures of each
// screen are saved for looking at.
#include "screentestsupport.h"

#include "chat/chatwindow.h"
#include "chat/chatwindowtitle.h"
#include "model/channelmemberrole.h"
#include "model/channelmembersrequest.h"
#include "model/messagerequest.h"
#include "screens/channelabstractpopup.h"
#include "screens/channelabstractwidget.h"
#include "screens/channelcategorypopup.h"
#include "screens/channelcategorywidget.h"
#include "screens/channelmanagerwidget.h"
#include "screens/channelownerwidget.h"
#include "screens/channelprofileadmin.h"
#include "screens/channelprofilenormal.h"
#include "screens/createchannel.h"
#include "screens/editchannel.h"
#include "screens/profileheader.h"
#include "webapi/FileApi/uploadmanager.h"
#include "widgets/addressbook.h"
#include "widgets/avatarviewer.h"
#include "widgets/checkbox.h"
#include "widgets/contactselect.h"
#include "widgets/customlineedit.h"
#include "widgets/iconbutton.h"
#include "widgets/icontact.h"
#include "widgets/label.h"
#include "widgets/phonetext.h"
#include "widgets/popupmanager.h"
#include "widgets/titleshadow.h"
#include "widgets/waitingspinnerwidget.h"

#include <QLabel>
#include <QScreen>
#include <QTextDocument>

using namespace ScreenTest;

namespace {

ChannelInfo channelOf(const QString& id, ChannelRole::Role role, uint members = 12)
{
    ChannelInfo info;
    info.setId(id);
    info.setName(QStringLiteral("Channel ") + id);
    info.setDescription(QStringLiteral("About ") + id);
    info.setMembersCount(members);
    info.setMyRole(role);
    info.setReplyAllowed("1");
    info.setAvatarUrl("http://old/avatar");
    info.setAvatarThumbnailUrl("http://old/thumb");
    QImage picture(80, 80, QImage::Format_ARGB32);
    picture.fill(QColor(30, 120, 200));
    info.setAvThumbnail(picture);
    return info;
}

ChannelMemberProfile personOf(const QString& user, ChannelRole::Role role)
{
    ChannelMemberProfile profile;
    profile.setUserName(user);
    profile.setNickName(QStringLiteral("Nick ") + user);
    profile.setRole(role);
    return profile;
}

ChannelMembersReply
replyOf(const QString& channel, const QList<ChannelMemberProfile>& people,
        ChannelMembersRequest::ReqType type = ChannelMembersRequest::ReqType_All)
{
    ChannelMembersReply reply;
    ChannelMembersRequest request;
    request.setChannelId(channel);
    request.setReqType(type);
    reply.setReq(request);
    reply.setProfiles(people);
    return reply;
}

ChannelCategory categoryOf(const QString& id, const QString& name)
{
    ChannelCategory category;
    category.setCategoryID(id);
    category.setCategoryName(name);
    return category;
}

ChannelMemberProfile numbered(const QString& user, const QString& nick, ChannelRole::Role role)
{
    ChannelMemberProfile profile = personOf(user, role);
    profile.setNickName(nick);
    profile.setMemberId(user);
    return profile;
}

Contact contactOf(const QString& number, const QString& first)
{
    Contact contact(number, first, QString());
    contact.setIsMyContact(true);
    return contact;
}

QStringList shownIds(ContactSelect* picker)
{
    QStringList ids;
    for (IContact* row : picker->visibleRows())
        ids << row->getId();
    return ids;
}

void tick(ContactSelect* picker, const QString& id)
{
    AvatarViewer* avatar = picker->row(id)->getAvatar();
    QTest::mouseClick(avatar, Qt::LeftButton, Qt::NoModifier, avatar->rect().center());
}

ChannelMemberRole roleIn(const QVariant& payload)
{
    return payload.value<ChannelMemberRole>();
}

// Pixels of the window as shown on screen, inside the popup but clear of its
// rounded corners, that differ from what the popup draws itself.
int popupPixelsDrawnOver(QWidget* window, QWidget* popup)
{
    const QImage shown = window->screen()
                             ->grabWindow(window->winId())
                             .toImage()
                             .convertToFormat(QImage::Format_RGB32);
    const QImage own = popup->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QPoint at = popup->mapTo(window, QPoint());
    const QRect inner = popup->rect().adjusted(6, 6, -6, -6);
    int count = 0;
    for (int y = inner.top(); y <= inner.bottom(); ++y) {
        for (int x = inner.left(); x <= inner.right(); ++x) {
            if (shown.pixel(at + QPoint(x, y)) != own.pixel(x, y))
                ++count;
        }
    }
    return count;
}

QString membersText(uint count)
{
    return QString::number(count) +
           QCoreApplication::translate("ChannelProfileNormal", "_MembersCount");
}

} // namespace

class TestChannelScreens : public QObject
{
    Q_OBJECT

    QTranslator translator;
    QWidget* host = nullptr;
    LocalFiles files;

private slots:
    void initTestCase()
    {
        qRegisterMetaType<Command>("Command");
        qRegisterMetaType<ChannelCategory>("ChannelCategory");
        QVERIFY(setUpApplication(&translator));
        QVERIFY(files.start());
    }

    void init() { host = openHost(QSize(600, 700)); }
    void cleanup() { closeHost(host); }

    void followerPanelShowsTheChannel()
    {
        ChannelProfileNormal panel(host);
        ChannelInfo info = channelOf("hikers", ChannelRole::MEMBER);
        info.setName("<b>Hikers</b>");
        // A wide thumbnail, green on its left third.
        QImage wide(240, 80, QImage::Format_ARGB32);
        wide.fill(QColor(30, 120, 200));
        for (int x = 0; x < 80; ++x) {
            for (int y = 0; y < 80; ++y)
                wide.setPixelColor(x, y, Qt::green);
        }
        info.setAvThumbnail(wide);
        panel.setChannelInfo(info);
        panel.showProfile();
        QCOMPARE(panel.nameLabel()->text(), QStringLiteral("<b>Hikers</b>"));
        QCOMPARE(panel.nameLabel()->textFormat(), Qt::PlainText);
        QCOMPARE(panel.idLabel()->text(), QStringLiteral("@hikers"));
        QCOMPARE(panel.membersLabel()->text(), membersText(12));
        // The whole thumbnail squeezed into the circle: its green third
        // shows on the left, where a centred crop would show blue.
        const QImage avatar = panel.avatarLabel()->pixmap()->toImage();
        QCOMPARE(avatar.size(), QSize(100, 100));
        QCOMPARE(QColor(avatar.pixel(15, 50)), QColor(Qt::green));
        QCOMPARE(QColor(avatar.pixel(50, 50)), QColor(30, 120, 200));
        QTRY_COMPARE(panel.x(), 0);
        // The text column is lower than the avatar: the description starts
        // 10 pixels under the avatar's bottom.
        QCOMPARE(panel.descriptionHeading()->y(), 100 + 10 + 10);
        QVERIFY(saveShot(&panel, "screens-channel-follower.png"));

        Commands sent(&panel);
        click(panel.muteSwitch()->imageLabel());
        click(panel.muteSwitch()->imageLabel());
        QCOMPARE(sent.all(), QList<int>({CMD_ChannelUpdateMute, CMD_ChannelUpdateMute}));
        QCOMPARE(sent.payload(0).value<ChannelInfo>().getMute(), true);
        QCOMPARE(sent.payload(1).value<ChannelInfo>().getMute(), false);
    }

    // A channel without a picture shows the channel sign in either panel.
    void panelsWithoutAPictureShowTheChannelSign()
    {
        ChannelInfo info = channelOf("bare", ChannelRole::MEMBER);
        info.setAvThumbnail(QImage());
        const QImage sign =
            AvatarViewer::defaultAvatar(AvatarViewer::Channel, "bare", QSize(100, 100)).toImage();
        ChannelProfileNormal follower(host);
        follower.setChannelInfo(info);
        QCOMPARE(follower.avatarLabel()->pixmap()->toImage(), sign);
        info.setMyRole(ChannelRole::OWNER);
        ChannelProfileAdmin admin(host);
        admin.setChannelInfo(info);
        QCOMPARE(admin.avatarLabel()->pixmap()->toImage(), sign);
    }

    void followerLeavesOnlyTheAskingChannel()
    {
        ChannelProfileNormal first(host);
        ChannelProfileNormal second(host);
        first.setChannelInfo(channelOf("one", ChannelRole::MEMBER));
        second.setChannelInfo(channelOf("two", ChannelRole::VISITOR));
        first.showProfile();
        Commands fromFirst(&first);
        Commands fromSecond(&second);
        click(first.leaveLink());
        answerWarning(false);
        click(second.leaveLink());
        answerWarning(true);
        QCOMPARE(fromFirst.count(), 0);
        QCOMPARE(fromSecond.all(), QList<int>({CMD_ChannelLeave}));
        QCOMPARE(fromSecond.payload(0).toString(), QStringLiteral("two"));

        // Sliding out with a question open closes the question too.
        click(first.leaveLink());
        QVERIFY(PopUpWarning::getInstance()->isVisible());
        first.slideOut();
        QTRY_VERIFY(first.isHidden());
        QVERIFY(PopUpWarning::getInstance()->isHidden());
    }

    void peopleRows()
    {
        ChannelOwnerWidget owner(host);
        owner.resize(400, 60);
        owner.show();
        owner.setProfile(personOf("olga", ChannelRole::OWNER));
        QCOMPARE(owner.nameLabel()->text(), QStringLiteral("Nick olga"));
        QCOMPARE(owner.secondLine()->text(), QStringLiteral("olga"));
        const int avatarX = owner.avatarLabel()->x();
        QCOMPARE(owner.nameLabel()->geometry().right() + 1, avatarX - 10);
        QCOMPARE(owner.secondLine()->geometry().right() + 1, avatarX - 10);

        QImage wide(200, 100, QImage::Format_RGB32);
        wide.fill(Qt::darkGreen);
        owner.imageReady(wide);
        const QSize shown = owner.avatarLabel()->pixmap()->size();
        QCOMPARE(shown.width(), listAvatarSize);
        QCOMPARE(shown.height(), listAvatarSize / 2);

        for (bool mayDelete : {false, true}) {
            ChannelManagerWidget row(mayDelete, host);
            row.resize(400, 60);
            row.show();
            row.setProfile(personOf("adam", ChannelRole::ADMIN));
            QCOMPARE(row.deleteIcon()->isVisible(), mayDelete);
            QVERIFY(row.secondLine()->isHidden());
            QSignalSpy pressed(&row, &ChannelManagerWidget::deleteIconPressed);
            if (mayDelete) {
                click(row.deleteIcon());
                QCOMPARE(pressed.count(), 1);
                QCOMPARE(pressed.at(0).at(0).value<ChannelMemberProfile>().getUserName(),
                         QStringLiteral("adam"));
            }
        }

        // Without a nickname a row shows the number, as group rows do.
        ChannelMemberProfile plain = personOf("u-491700000050", ChannelRole::ADMIN);
        plain.setNickName(QString());
        plain.setMemberId("491700000050");
        ChannelManagerWidget unnamed(false, host);
        unnamed.resize(400, 60);
        unnamed.show();
        unnamed.setProfile(plain);
        QCOMPARE(unnamed.nameLabel()->text(), QStringLiteral("491700000050"));
    }

    void adminPanelPeople()
    {
        ChannelProfileAdmin panel(host);
        Commands sent(&panel);
        panel.setChannelInfo(channelOf("news", ChannelRole::OWNER));
        QCOMPARE(sent.all(), QList<int>({CMD_ChannelGetMembers}));
        const auto request = sent.payload(0).value<ChannelMembersRequest>();
        QCOMPARE(request.getChannelId(), QStringLiteral("news"));
        QCOMPARE(request.getOffset(), 0);
        QCOMPARE(request.getCount(), 1);
        QCOMPARE(int(request.getReqType()), 1);

        // Opened before any answer: asked again (with its followers).
        panel.showProfile();
        QCOMPARE(sent.countOf(CMD_ChannelGetMembers), 3);
        QCOMPARE(int(sent.payload(1).value<ChannelMembersRequest>().getReqType()), 1);
        panel.setMembersProfile(replyOf("other", {personOf("x", ChannelRole::ADMIN)}));
        QVERIFY(panel.managerRows().isEmpty());
        const int before = panel.scrollContent()->height();
        panel.setMembersProfile(replyOf(
            "news", {personOf("olga", ChannelRole::OWNER), personOf("adam", ChannelRole::ADMIN),
                     personOf("bea", ChannelRole::ADMIN), personOf("max", ChannelRole::MEMBER)}));
        QVERIFY(panel.membersLoaded());
        QCOMPARE(panel.ownerRow()->secondLine()->text(), QStringLiteral("olga"));
        QCOMPARE(panel.managerRows().size(), 2);
        QCOMPARE(panel.scrollContent()->height(), before + 2 * listRowHeight);
        for (ChannelManagerWidget* row : panel.managerRows())
            QVERIFY(row->deleteIcon()->isVisibleTo(&panel));
        // The answer of that second question adds nobody twice.
        panel.setMembersProfile(replyOf("news", {personOf("adam", ChannelRole::ADMIN)}));
        QCOMPARE(panel.managerRows().size(), 2);
        QTRY_COMPARE(panel.x(), 0);
        QVERIFY(saveShot(&panel, "screens-channel-admin.png"));

        // The channel changed (an edit): shown as it is now, not asked again.
        sent.clear();
        ChannelInfo edited = channelOf("news", ChannelRole::OWNER, 40);
        edited.setName("News today");
        panel.setChannelInfo(edited);
        QCOMPARE(sent.count(), 0);
        QCOMPARE(panel.nameLabel()->text(), QStringLiteral("News today"));
        QCOMPARE(panel.membersLabel()->text(),
                 QString::number(40) +
                     QCoreApplication::translate("ChannelProfileAdmin", "_MembersCount"));
        QCOMPARE(panel.managerRows().size(), 2);

        // Another channel: its own people, asked for once.
        panel.setChannelInfo(channelOf("sport", ChannelRole::ADMIN));
        QCOMPARE(sent.all(), QList<int>({CMD_ChannelGetMembers}));
        QVERIFY(panel.managerRows().isEmpty());
        QVERIFY(!panel.membersLoaded());
        panel.setMembersProfile(replyOf("sport", {personOf("adam", ChannelRole::ADMIN)}));
        QVERIFY(!panel.managerRows().first()->deleteIcon()->isVisibleTo(&panel));
    }

    void adminPanelDeleteLeaveAndDemote_data()
    {
        QTest::addColumn<int>("role");
        QTest::addColumn<QString>("linkKey");
        QTest::addColumn<int>("sent");
        QTest::newRow("owner deletes")
            << int(ChannelRole::OWNER) << "_DeleteChannel" << int(CMD_ChannelDelete);
        QTest::newRow("administrator leaves")
            << int(ChannelRole::ADMIN) << "_LeaveChannel" << int(CMD_ChannelLeave);
    }

    void adminPanelDeleteLeaveAndDemote()
    {
        QFETCH(int, role);
        QFETCH(QString, linkKey);
        QFETCH(int, sent);
        ChannelProfileAdmin panel(host);
        panel.setChannelInfo(channelOf("news", ChannelRole::Role(role)));
        panel.showProfile();
        const char* context =
            role == ChannelRole::OWNER ? "ChannelProfileAdmin" : "ChannelProfileNormal";
        QCOMPARE(panel.deleteLink()->text(),
                 QCoreApplication::translate(context, linkKey.toUtf8().constData()));
        Commands commands(&panel);
        click(panel.deleteLink());
        answerWarning(false);
        QCOMPARE(commands.count(), 0);
        click(panel.deleteLink());
        answerWarning(true);
        QCOMPARE(commands.all(), QList<int>({sent}));
        QCOMPARE(commands.payload(0).toString(), QStringLiteral("news"));
        QVERIFY(panel.isHidden());

        if (role != ChannelRole::OWNER)
            return;
        commands.clear();
        panel.setMembersProfile(replyOf("news", {personOf("adam", ChannelRole::ADMIN)}));
        panel.showProfile();
        commands.clear();
        click(panel.managerRows().first()->deleteIcon());
        answerWarning(true);
        QCOMPARE(commands.all(), QList<int>({CMD_ChannelChangeMemberRole}));
        const auto change = commands.payload(0).value<ChannelMemberRole>();
        QCOMPARE(change.getMemberId(), QStringLiteral("adam"));
        QCOMPARE(change.getRole(), ChannelRole::MEMBER);
        QCOMPARE(change.getChannelId(), QStringLiteral("news"));

        // The channel coming again after the change brings its people anew.
        panel.setChannelInfo(channelOf("news", ChannelRole::OWNER));
        QCOMPARE(commands.all(), QList<int>({CMD_ChannelChangeMemberRole, CMD_ChannelGetMembers,
                                             CMD_ChannelGetMembers}));
        QVERIFY(panel.managerRows().isEmpty());
        panel.setChannelInfo(channelOf("news", ChannelRole::OWNER));
        QCOMPARE(commands.count(), 3);
    }

    // The header's shadow falls on the panel, and the picker over the panel
    // is drawn whole: nothing of the panel shows through it, where its
    // header's shadow runs under the picker's counter included.
    void pickerOverThePanelIsDrawnWhole()
    {
        // A steady text cursor in the search field: the window and the
        // picker are grabbed one after the other.
        const int flash = QApplication::cursorFlashTime();
        QApplication::setCursorFlashTime(0);
        AddressBook::getInstance()->setContacts(
            {{"111", contactOf("111", "Sara")}, {"222", contactOf("222", "Reza")}});
        // The picker's top rows over the header's shadow.
        host->resize(600, 630);
        ChannelProfileAdmin panel(host);
        panel.setChannelInfo(channelOf("news", ChannelRole::OWNER));
        panel.showProfile();
        QTRY_COMPARE(panel.x(), 0);
        auto* shadow = panel.findChild<QWidget*>(QStringLiteral("TitleShadow"));
        QVERIFY(shadow);
        QVERIFY(shadow->isVisible());
        QCOMPARE(shadow->geometry(),
                 QRect(0, ProfileHeader::height, panel.width(), TitleShadow::depth()));

        ContactSelect* picker = panel.contactPicker();
        click(panel.addMemberButton());
        QTRY_VERIFY(picker->isVisible());
        QVERIFY(picker->geometry().intersects(shadow->geometry()));
        QTRY_COMPARE(popupPixelsDrawnOver(host, picker), 0);
        tick(picker, "111");
        QCOMPARE(picker->counterText(), QStringLiteral("1"));
        QTRY_COMPARE(popupPixelsDrawnOver(host, picker), 0);
        host->repaint();
        QCOMPARE(popupPixelsDrawnOver(host, picker), 0);
        click(picker->ignoreButton());
        AddressBook::deleteInstance();
        QApplication::setCursorFlashTime(flash);
    }

    // The owner's people, through the contact picker: new followers from the
    // address book, administrators from the followers and the address book,
    // and followers removed after a question.
    void adminPanelManagesPeopleThroughThePicker()
    {
        AddressBook* book = AddressBook::getInstance();
        book->setContacts({{"111", contactOf("111", "Sara")},
                           {"222", contactOf("222", "Reza")},
                           {"333", contactOf("333", "Nima")}});
        ChannelProfileAdmin panel(host);
        Commands sent(&panel);
        panel.setChannelInfo(channelOf("news", ChannelRole::OWNER));
        panel.showProfile();
        QTRY_COMPARE(panel.x(), 0);
        // Opening asks for the followers as well as for those who run it.
        bool followersAsked = false;
        for (int i = 0; i < sent.count(); ++i) {
            const auto request = sent.payload(i).value<ChannelMembersRequest>();
            followersAsked =
                followersAsked || request.getReqType() == ChannelMembersRequest::ReqType_Followers;
        }
        QVERIFY(followersAsked);
        // And for the channel as it now stands (its follower count).
        QCOMPARE(sent.countOf(CMD_ChannelData), 1);
        panel.setMembersProfile(replyOf("news", {numbered("999", "Olga", ChannelRole::OWNER),
                                                 numbered("333", "Nima", ChannelRole::ADMIN)}));
        panel.setMembersProfile(replyOf("news",
                                        {numbered("222", "reza", ChannelRole::MEMBER),
                                         numbered("444", "", ChannelRole::MEMBER),
                                         // A page that holds someone who runs the channel does
                                         // not make a follower of them.
                                         numbered("333", "Nima", ChannelRole::ADMIN)},
                                        ChannelMembersRequest::ReqType_Followers));
        QCOMPARE(panel.followerList().size(), 2);
        QVERIFY(panel.membersLoaded());
        ContactSelect* picker = panel.contactPicker();

        // Add Member: the address book without those already in the channel.
        sent.clear();
        click(panel.addMemberButton());
        QTRY_VERIFY(picker->isVisible());
        QCOMPARE(picker->titleText(),
                 QCoreApplication::translate("ChannelProfileAdmin", "_PickNewMembers"));
        QCOMPARE(shownIds(picker), QStringList({"111"}));
        QTest::qWait(400); // the layer's fade, for the picture
        QVERIFY(saveShot(host, "screens-channel-admin-picker.png"));
        tick(picker, "111");
        click(picker->inviteButton());
        QTRY_VERIFY(picker->isHidden());
        QCOMPARE(sent.all(), QList<int>({CMD_ChannelAddMember}));
        QCOMPARE(roleIn(sent.payload(0)).getMemberId(), QStringLiteral("111"));
        QCOMPARE(roleIn(sent.payload(0)).getChannelId(), QStringLiteral("news"));
        QCOMPARE(roleIn(sent.payload(0)).getRole(), ChannelRole::MEMBER);

        // Add administrator: followers are promoted, a contact who does not
        // follow yet is added as an administrator. A follower without a
        // nickname shows the number.
        sent.clear();
        click(panel.addManagerLink());
        QTRY_VERIFY(picker->isVisible());
        QCOMPARE(shownIds(picker), QStringList({"222", "444", "111"}));
        QCOMPARE(picker->row("444")->getContact().getNameOrNumber(), QStringLiteral("+444"));
        QStringList texts;
        for (QLabel* label : picker->row("444")->findChildren<QLabel*>()) {
            if (!qobject_cast<AvatarViewer*>(label))
                texts << label->text();
        }
        // Kept left to right, so the plus stays in front of the digits.
        QCOMPARE(texts, QStringList({PhoneText::number(QStringLiteral("444"))}));
        tick(picker, "222");
        tick(picker, "111");
        click(picker->inviteButton());
        QCOMPARE(sent.all(), QList<int>({CMD_ChannelChangeMemberRole, CMD_ChannelAddMember}));
        QCOMPARE(roleIn(sent.payload(0)).getMemberId(), QStringLiteral("222"));
        QCOMPARE(roleIn(sent.payload(0)).getRole(), ChannelRole::ADMIN);
        QCOMPARE(roleIn(sent.payload(1)).getMemberId(), QStringLiteral("111"));
        QCOMPARE(roleIn(sent.payload(1)).getRole(), ChannelRole::ADMIN);

        // Delete Member: only followers; nothing goes before the question is
        // answered yes.
        sent.clear();
        click(panel.deleteMemberButton());
        QTRY_VERIFY(picker->isVisible());
        QCOMPARE(shownIds(picker), QStringList({"222", "444"}));
        QCOMPARE(picker->inviteButton()->text(),
                 QCoreApplication::translate("ChannelProfileAdmin", "_Remove"));
        tick(picker, "444");
        click(picker->inviteButton());
        QTRY_VERIFY(PopUpWarning::getInstance()->isVisible());
        answerWarning(false);
        QCOMPARE(sent.count(), 0);
        click(panel.deleteMemberButton());
        QTRY_VERIFY(picker->isVisible());
        tick(picker, "444");
        click(picker->inviteButton());
        QTRY_VERIFY(PopUpWarning::getInstance()->isVisible());
        answerWarning(true);
        QCOMPARE(sent.all(), QList<int>({CMD_ChannelRemoveMember}));
        QCOMPARE(roleIn(sent.payload(0)).getMemberId(), QStringLiteral("444"));

        // The channel coming back after the changes brings its people anew,
        // followers included.
        sent.clear();
        panel.setChannelInfo(channelOf("news", ChannelRole::OWNER, 13));
        QCOMPARE(sent.countOf(CMD_ChannelGetMembers), 2);

        // An administrator adds and removes followers but makes no
        // administrators.
        panel.setChannelInfo(channelOf("sport", ChannelRole::ADMIN));
        QVERIFY(!panel.addManagerLink()->isVisibleTo(&panel));
        QVERIFY(panel.followerList().isEmpty());
        // With no follower the removal picker says so; the same picker opened
        // for new followers says what it says there.
        QCOMPARE(emptyPickerSays(panel.deleteMemberButton(), picker),
                 QCoreApplication::translate("ChannelProfileAdmin", "_NoFollowerToRemove"));
        book->setContacts({});
        QCOMPARE(emptyPickerSays(panel.addMemberButton(), picker),
                 QCoreApplication::translate("ContactSelect", "_NoContactToChoose"));
        AddressBook::deleteInstance();
    }

    void adminPanelButtonWidths_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("button");
        QTest::newRow("500") << 500 << 200;
        QTest::newRow("300") << 300 << 120;
    }

    void adminPanelButtonWidths()
    {
        QFETCH(int, width);
        QFETCH(int, button);
        ChannelProfileAdmin panel(host);
        panel.setChannelInfo(channelOf("news", ChannelRole::OWNER));
        panel.resize(width, 600);
        panel.show();
        QCOMPARE(panel.addMemberButton()->width(), button);
        QCOMPARE(panel.deleteMemberButton()->width(), button);
    }

    void editPopupChecksAndSends()
    {
        ChannelProfileAdmin panel(host);
        panel.setChannelInfo(channelOf("news", ChannelRole::OWNER));
        panel.showProfile();
        QTRY_COMPARE(panel.x(), 0);
        click(panel.editLink());
        EditChannel* editor = panel.editPopup();
        QVERIFY(editor->isVisible());
        QVERIFY(saveShot(&panel, "screens-channel-edit.png"));
        Commands sent(&panel);

        // Name emptied: the name is checked first.
        editor->nameField()->selectAll();
        QTest::keyClick(editor->nameField(), Qt::Key_Delete);
        editor->descriptionField()->selectAll();
        QTest::keyClick(editor->descriptionField(), Qt::Key_Delete);
        click(editor->submitButton());
        QCOMPARE(sent.count(), 0);
        QCOMPARE(editor->errorLine()->text(),
                 QCoreApplication::translate("EditChannel", "_EnterChannelName"));
        QVERIFY(!editor->spinner()->isSpinning());
        type(editor->nameField(), "Daily");
        QVERIFY(editor->errorLine()->isHidden());
        click(editor->submitButton());
        QCOMPARE(editor->errorLine()->text(),
                 QCoreApplication::translate("EditChannel", "_EnterChannelDescription"));
        type(editor->descriptionField(), "Every day");
        click(editor->replySwitch()->imageLabel());
        click(editor->submitButton());
        QCOMPARE(sent.all(), QList<int>({CMD_ChannelEdit}));
        const ChannelInfo edited = sent.payload(0).value<ChannelInfo>();
        QCOMPARE(edited.getName(), QStringLiteral("Daily"));
        QCOMPARE(edited.getDescription(), QStringLiteral("Every day"));
        QCOMPARE(edited.getReplyAllowed(), QStringLiteral("0"));
        QCOMPARE(edited.getAvatarUrl(), QStringLiteral("http://old/avatar"));
        QVERIFY(editor->isHidden());
    }

    void editPopupUploadsAPictureOnce()
    {
        ChannelProfileAdmin panel(host);
        panel.setChannelInfo(channelOf("news", ChannelRole::OWNER));
        panel.showProfile();
        click(panel.editLink());
        EditChannel* editor = panel.editPopup();
        Commands sent(&panel);
        editor->choosePicture(files.picture("tall.png", 90, 300, QColor(200, 80, 40)));
        QCOMPARE(QImage(QStandardPaths::standardLocations(QStandardPaths::AppDataLocation).first() +
                        "/Thumbnail.jpg")
                     .size(),
                 QSize(156, 156));
        click(editor->submitButton());
        QVERIFY(editor->spinner()->isSpinning());
        QTRY_COMPARE_WITH_TIMEOUT(sent.count(), 1, 30000);
        const ChannelInfo edited = sent.payload(0).value<ChannelInfo>();
        QVERIFY(edited.getAvatarUrl() != QLatin1String("http://old/avatar"));
        QVERIFY(!edited.getAvatarThumbnailUrl().isEmpty());
        QVERIFY(!editor->spinner()->isSpinning());
        QVERIFY(editor->isHidden());

        // The picture was used: the next edit sends without uploading it.
        click(panel.editLink());
        QCOMPARE(editor->chosenPicture(), QString());
        click(editor->submitButton());
        QCOMPARE(sent.count(), 2);
        QVERIFY(editor->isHidden());
    }

    void directoryCategories()
    {
        ChannelCategoryPopUp popup(0, host);
        popup.resize(host->size());
        popup.show();
        Commands sent(&popup);
        popup.requestCategories();
        QCOMPARE(sent.all(), QList<int>({CMD_ChannelCategories}));
        QHash<QString, ChannelCategory> all;
        all.insert("1", categoryOf("1", "News"));
        all.insert("2", categoryOf("2", "Sport"));
        popup.setCategories(all);
        QCOMPARE(popup.tileCount(), 2);
        all.insert("3", categoryOf("3", "Music"));
        popup.setCategories(all);
        QCOMPARE(popup.tileCount(), 2);
        sent.clear();
        popup.requestCategories();
        QCOMPARE(sent.count(), 0);
        QVERIFY(saveShot(host, "screens-directory-categories.png"));

        // Choosing: a category without sub-categories is taken as soon as
        // the service says it has none.
        ChannelCategoryPopUp select(1, host);
        select.setCategories(all);
        select.show();
        Commands fromSelect(&select);
        QSignalSpy chosen(&select, &ChannelCategoryPopUp::channelCatSelected);
        click(select.tiles().first());
        QCOMPARE(fromSelect.all(), QList<int>({CMD_BrowseChannelCategory}));
        QCOMPARE(chosen.count(), 0);
        select.setBrowseCategoryResult(BrowseCategoryResult());
        QCOMPARE(chosen.count(), 1);
        QCOMPARE(chosen.at(0).at(0).value<ChannelCategory>().getCategoryID(), QStringLiteral("1"));
        QVERIFY(select.isHidden());
    }

    // The create form's category choice reaches the sub-categories the
    // directory shows: a category that has some opens them, with a first row
    // that takes the category itself; what was learned is not asked again
    // while the choice stays open, and a stray answer chooses nothing.
    void categoryChoiceReachesSubCategories()
    {
        CreateChannel form(host);
        form.resize(host->size());
        form.show();
        Commands sent(&form);
        QSignalSpy chosen(form.categoryPopup(), &ChannelCategoryPopUp::channelCatSelected);
        click(form.categoryChooser());
        QHash<QString, ChannelCategory> all;
        all.insert("1", categoryOf("1", "News"));
        all.insert("2", categoryOf("2", "Sport"));
        form.setCategories(all);
        ChannelCategoryPopUp* popup = form.categoryPopup();
        ChannelAbstractPopUP* list = popup->channelList();
        ChannelCategory football = categoryOf("4", "Football");
        football.setParentCategoryID("2");
        ChannelCategory chess = categoryOf("5", "Chess");
        chess.setParentCategoryID("2");
        BrowseCategoryResult sport;
        sport.setCategories(QList<ChannelCategory>{football, chess});
        sport.setInfos({channelOf("scores", ChannelRole::NONE)});

        click(popup->tiles().at(1));
        QCOMPARE(sent.all(), QList<int>({CMD_ChannelCategories, CMD_BrowseChannelCategory}));
        QCOMPARE(sent.payload(1).toString(), QStringLiteral("2"));
        QVERIFY(list->isVisible());
        QVERIFY(list->spinner()->isSpinning());
        popup->setBrowseCategoryResult(sport);
        QVERIFY(!list->spinner()->isSpinning());
        QCOMPARE(chosen.count(), 0);
        // The choice row, then the two sub-categories; no channel rows.
        QCOMPARE(list->rowCount(), 3);
        QVERIFY(list->choiceButton() && list->choiceButton()->isVisible());
        QCOMPARE(list->choiceButton()->text(),
                 ChannelCategoryPopUp::tr("_ChooseCategory").arg("Sport"));
        QVERIFY(!list->findChild<ChannelAbstractWidget*>());
        QVERIFY(saveShot(&form, "screens-createchannel-subcategories.png"));

        // Back, Sport again: its level shows without a question.
        click(list->getBackButton());
        QVERIFY(list->isHidden());
        click(popup->tiles().at(1));
        QCOMPARE(sent.count(), 2);
        QVERIFY(list->isVisible());
        QCOMPARE(list->subCategoryCount(), 2);

        // A sub-category with none under it is taken once that is known.
        ChannelCategoryWidget* footballTile = nullptr;
        for (ChannelCategoryWidget* tile : list->findChildren<ChannelCategoryWidget*>())
            if (tile->isVisible() && tile->getCategory().getCategoryID() == QLatin1String("4"))
                footballTile = tile;
        QVERIFY(footballTile);
        click(footballTile);
        QCOMPARE(sent.all().last(), int(CMD_BrowseChannelCategory));
        QCOMPARE(sent.payload(sent.count() - 1).toString(), QStringLiteral("4"));
        QCOMPARE(chosen.count(), 0);
        popup->setBrowseCategoryResult(BrowseCategoryResult());
        QCOMPARE(chosen.count(), 1);
        QVERIFY(popup->isHidden());
        QVERIFY(list->isHidden());
        QCOMPARE(form.categoryText()->text(), QStringLiteral("Football"));

        // The category with sub-categories itself, through its choice row.
        click(form.categoryChooser());
        QVERIFY(popup->isVisible());
        click(popup->tiles().at(1));
        QCOMPARE(sent.all().last(), int(CMD_BrowseChannelCategory));
        popup->setBrowseCategoryResult(sport);
        QVERIFY(list->choiceButton());
        click(list->choiceButton());
        QCOMPARE(chosen.count(), 2);
        QVERIFY(popup->isHidden());
        QCOMPARE(form.categoryText()->text(), QStringLiteral("Sport"));

        // Back before the answer: the late answer chooses nothing, and the
        // next click on that category takes it at once.
        click(form.categoryChooser());
        click(popup->tiles().at(0));
        QCOMPARE(sent.payload(sent.count() - 1).toString(), QStringLiteral("1"));
        click(list->getBackButton());
        popup->setBrowseCategoryResult(BrowseCategoryResult());
        QCOMPARE(chosen.count(), 2);
        QVERIFY(popup->isVisible());
        const int asked = sent.count();
        click(popup->tiles().at(0));
        QCOMPARE(sent.count(), asked);
        QCOMPARE(chosen.count(), 3);
        QCOMPARE(form.categoryText()->text(), QStringLiteral("News"));

        // The channel goes into the sub-category chosen.
        click(form.categoryChooser());
        click(popup->tiles().at(1));
        popup->setBrowseCategoryResult(sport);
        for (ChannelCategoryWidget* tile : list->findChildren<ChannelCategoryWidget*>())
            if (tile->isVisible() && tile->getCategory().getCategoryID() == QLatin1String("5"))
                click(tile);
        popup->setBrowseCategoryResult(BrowseCategoryResult());
        QCOMPARE(form.categoryText()->text(), QStringLiteral("Chess"));
        type(form.descriptionField(), "Moves");
        type(form.nameField(), "Openings");
        type(form.idField(), "openings");
        click(form.submitButton());
        form.channelIdAvailability(ChannelIdAvailability("openings", true));
        QCOMPARE(sent.all().last(), int(CMD_ChannelCreate));
        QCOMPARE(sent.payload(sent.count() - 1).value<ChannelInfo>().getCategoryId(),
                 QStringLiteral("5"));
    }

    void directoryBrowsing()
    {
        ChannelCategoryPopUp popup(0, host);
        popup.resize(host->size());
        popup.show();
        QHash<QString, ChannelCategory> all;
        all.insert("1", categoryOf("1", "News"));
        popup.setCategories(all);
        Commands sent(&popup);
        ChannelCategoryWidget* news = popup.tiles().first();
        click(news);
        QCOMPARE(sent.all(), QList<int>({CMD_BrowseChannelCategory}));
        QCOMPARE(sent.payload(0).toString(), QStringLiteral("1"));
        ChannelAbstractPopUP* list = popup.channelList();
        QVERIFY(list->isVisible());
        QCOMPARE(list->getTitle()->text(), QStringLiteral("News"));

        BrowseCategoryResult result;
        result.setCategories(QList<ChannelCategory>{categoryOf("11", "Local news")});
        ChannelInfo a = channelOf("daily", ChannelRole::NONE);
        a.setCategoryId("1");
        result.setInfos({a, channelOf("weekly", ChannelRole::NONE)});
        popup.setBrowseCategoryResult(result);
        QCOMPARE(list->rowCount(), 3);
        QVERIFY(!list->spinner()->isSpinning());
        QVERIFY(saveShot(host, "screens-directory-channels.png"));

        // Back and the same category again: the rows stay, nothing is asked.
        click(list->getBackButton());
        QVERIFY(list->isHidden());
        click(news);
        QCOMPARE(sent.count(), 1);
        QCOMPARE(list->rowCount(), 3);

        // A sub-category's tile browses it; the tile is not deleted in its
        // own click.
        auto* sub = qobject_cast<ChannelCategoryWidget*>(list->rows().first());
        QVERIFY(sub);
        QPointer<ChannelCategoryWidget> subTile(sub);
        click(sub);
        QCOMPARE(sent.count(), 2);
        QCOMPARE(sent.payload(1).toString(), QStringLiteral("11"));
        QCOMPARE(list->getTitle()->text(), QStringLiteral("Local news"));
        QCOMPARE(list->rowCount(), 0);
        QTRY_VERIFY(subTile.isNull());

        // Going back to News before the answer for Local news arrives: that
        // answer's rows are not shown under News.
        click(list->getBackButton());
        click(news);
        QCOMPARE(sent.count(), 3);
        BrowseCategoryResult local;
        local.setInfos({channelOf("street", ChannelRole::NONE)});
        popup.setBrowseCategoryResult(local);
        QCOMPARE(list->rowCount(), 0);
        popup.setBrowseCategoryResult(result);
        QCOMPARE(list->rowCount(), 3);

        // Opened again later, the directory asks afresh: a channel made in
        // the meantime is listed.
        popup.hide();
        popup.show();
        click(news);
        QCOMPARE(sent.count(), 4);
        QCOMPARE(sent.payload(3).toString(), QStringLiteral("1"));
        QCOMPARE(list->rowCount(), 0);
        result.setInfos(
            {a, channelOf("weekly", ChannelRole::NONE), channelOf("fresh", ChannelRole::NONE)});
        popup.setBrowseCategoryResult(result);
        QCOMPARE(list->rowCount(), 4);
    }

    // The directory shown over the whole window, its one category "News" opened.
    void openNewsCategory(ChannelCategoryPopUp& popup)
    {
        popup.resize(host->size());
        popup.show();
        QHash<QString, ChannelCategory> all;
        all.insert("1", categoryOf("1", "News"));
        popup.setCategories(all);
        click(popup.tiles().first());
    }

    void directoryFollowAndVisit()
    {
        ChannelCategoryPopUp popup(0, host);
        openNewsCategory(popup);
        BrowseCategoryResult result;
        result.setInfos({channelOf("daily", ChannelRole::NONE)});
        popup.setBrowseCategoryResult(result);
        auto* row = qobject_cast<ChannelAbstractWidget*>(popup.channelList()->rows().first());
        QVERIFY(row);
        QVERIFY(row->visitButton()->isHidden());
        Commands sent(&popup);
        click(row->followButton());
        QCOMPARE(sent.all(), QList<int>({CMD_ChannelJoin}));
        QCOMPARE(sent.payload(0).toString(), QStringLiteral("daily"));
        QVERIFY(popup.isHidden());
        QVERIFY(popup.channelList()->isHidden());

        sent.clear();
        popup.show();
        popup.visitChannel(channelOf("daily", ChannelRole::NONE));
        QCOMPARE(sent.all(), QList<int>({CMD_ChannelData, CMD_GetChannelMessages}));
        const auto request = sent.payload(1).value<MessageRequest>();
        QCOMPARE(request.getChatId(), QStringLiteral("daily"));
        QCOMPARE(request.getNumber(), 20);
        QCOMPARE(int(request.getChatType()), 3);
        QVERIFY(request.getMessageId().isEmpty());
    }

    // A row's button says what its click does: "Follow" for a channel the
    // user does not follow, "Visit" (the click opens it) for one it does,
    // and changes as the user follows or leaves while the list is shown.
    void directoryRowsSayWhatTheirClickDoes()
    {
        ChannelCategoryPopUp popup(0, host);
        openNewsCategory(popup);
        ChannelInfo followed = channelOf("daily", ChannelRole::NONE);
        followed.setFollowed("1");
        ChannelInfo stranger = channelOf("weekly", ChannelRole::NONE);
        stranger.setFollowed("0");
        BrowseCategoryResult result;
        result.setInfos({followed, stranger});
        popup.setBrowseCategoryResult(result);
        const QString follow =
            QCoreApplication::translate("ChannelAbstractWidget", "_FollowString");
        const QString visit = QCoreApplication::translate("ChannelAbstractWidget", "_VisitString");
        QVERIFY(follow != visit);
        const auto label = [&popup](int row) {
            return qobject_cast<ChannelAbstractWidget*>(popup.channelList()->rows().at(row))
                ->followButton()
                ->text();
        };
        QCOMPARE(label(0), visit);
        QCOMPARE(label(1), follow);
        QVERIFY(saveShot(host, "screens-directory-followed-row.png"));

        popup.setFollowed("weekly", true);
        popup.setFollowed("daily", false);
        popup.setFollowed("elsewhere", true);
        QCOMPARE(label(0), follow);
        QCOMPARE(label(1), visit);
        // The longer or shorter text keeps clear of the name and description.
        for (QWidget* widget : popup.channelList()->rows()) {
            auto* row = qobject_cast<ChannelAbstractWidget*>(widget);
            const int buttonEnd = row->followButton()->geometry().right();
            QVERIFY(buttonEnd < row->nameLabel()->x());
            QVERIFY(buttonEnd < row->descriptionLabel()->x());
        }

        // Clicking a followed channel's row opens it through the join, as before.
        Commands sent(&popup);
        click(qobject_cast<ChannelAbstractWidget*>(popup.channelList()->rows().at(1))
                  ->followButton());
        QCOMPARE(sent.all(), QList<int>({CMD_ChannelJoin}));
        QCOMPARE(sent.payload(0).toString(), QStringLiteral("weekly"));
    }

    void createChannelWithoutPicture()
    {
        CreateChannel form(host);
        form.show();
        Commands sent(&form);
        type(form.descriptionField(), "All about trees");
        type(form.nameField(), "Trees");
        type(form.idField(), "trees");
        click(form.submitButton());
        QCOMPARE(sent.all(), QList<int>({CMD_ChannelCheckId}));
        QCOMPARE(sent.payload(0).toString(), QStringLiteral("trees"));
        QVERIFY(form.spinner()->isSpinning());
        QVERIFY(!form.isEnabled());
        QVERIFY(saveShot(&form, "screens-createchannel-checking.png"));

        form.channelIdAvailability(ChannelIdAvailability("other", true));
        QCOMPARE(sent.count(), 1);
        form.channelIdAvailability(ChannelIdAvailability("trees", false));
        QCOMPARE(form.errorLabel()->text(),
                 QCoreApplication::translate("CreateChannel", "Error: channel ID not valid"));
        QVERIFY(form.isEnabled());
        QVERIFY(form.isVisible());

        // Typing in the id field keeps the error; the name field hides it.
        type(form.idField(), "2");
        QVERIFY(form.errorLabel()->isVisible());
        type(form.nameField(), "s");
        QVERIFY(form.errorLabel()->isHidden());
        click(form.submitButton());
        form.channelIdAvailability(ChannelIdAvailability("trees2", true));
        QCOMPARE(sent.all(),
                 QList<int>({CMD_ChannelCheckId, CMD_ChannelCheckId, CMD_ChannelCreate}));
        const ChannelInfo created = sent.payload(2).value<ChannelInfo>();
        QCOMPARE(created.getId(), QStringLiteral("trees2"));
        QCOMPARE(created.getName(), QStringLiteral("Treess"));
        QCOMPARE(created.getDescription(), QStringLiteral("All about trees"));
        QCOMPARE(created.getReplyAllowed(), QStringLiteral("0"));
        QCOMPARE(created.getCategoryId(), QStringLiteral("0"));
        QCOMPARE(created.getAvatarUrl(), QString());
        QVERIFY(form.isHidden());
        QVERIFY(form.isEnabled());
    }

    // The form offers the directory's categories; the chosen one goes with
    // the channel, and the next channel starts from an empty form: no
    // category, no words, no id and no reply switch left from the last one.
    void createChannelInACategory()
    {
        CreateChannel form(host);
        form.resize(host->size());
        form.show();
        Commands sent(&form);
        QVERIFY(form.categoryChooser()->isVisible());
        click(form.categoryChooser());
        QCOMPARE(sent.all(), QList<int>({CMD_ChannelCategories}));
        QHash<QString, ChannelCategory> all;
        all.insert("1", categoryOf("1", "News"));
        all.insert("2", categoryOf("2", "Sport"));
        form.setCategories(all);
        QVERIFY(form.categoryPopup()->isVisible());
        QVERIFY(saveShot(&form, "screens-createchannel-categories.png"));
        click(form.categoryPopup()->tiles().at(1));
        // Sport holds no sub-category.
        form.categoryPopup()->setBrowseCategoryResult(BrowseCategoryResult());
        QVERIFY(form.categoryPopup()->isHidden());
        QCOMPARE(form.categoryText()->text(), QStringLiteral("Sport"));
        type(form.descriptionField(), "Scores");
        type(form.nameField(), "Goals");
        type(form.idField(), "goals");
        click(form.replySwitch()->imageLabel());
        click(form.submitButton());
        form.channelIdAvailability(ChannelIdAvailability("goals", true));
        QCOMPARE(sent.all(), QList<int>({CMD_ChannelCategories, CMD_BrowseChannelCategory,
                                         CMD_ChannelCheckId, CMD_ChannelCreate}));
        QCOMPARE(sent.payload(3).value<ChannelInfo>().getCategoryId(), QStringLiteral("2"));
        QCOMPARE(sent.payload(3).value<ChannelInfo>().getReplyAllowed(), QStringLiteral("1"));

        form.show();
        QCOMPARE(form.categoryText()->text(),
                 QCoreApplication::translate("CreateChannel", "_ChannelCategoryContain"));
        for (CustomLineEdit* field : {form.descriptionField(), form.nameField(), form.idField()})
            QVERIFY2(field->isEmptyText(), qPrintable(field->text()));
        QVERIFY(!form.replySwitch()->isChecked());
        type(form.descriptionField(), "Words");
        type(form.nameField(), "Plain");
        type(form.idField(), "plain");
        click(form.submitButton());
        QCOMPARE(sent.count(), 5);
        QCOMPARE(sent.payload(4).toString(), QStringLiteral("plain"));
        form.channelIdAvailability(ChannelIdAvailability("plain", true));
        QCOMPARE(sent.count(), 6);
        const ChannelInfo plain = sent.payload(5).value<ChannelInfo>();
        QCOMPARE(plain.getId(), QStringLiteral("plain"));
        QCOMPARE(plain.getName(), QStringLiteral("Plain"));
        QCOMPARE(plain.getDescription(), QStringLiteral("Words"));
        QCOMPARE(plain.getCategoryId(), QStringLiteral("0"));
        QCOMPARE(plain.getReplyAllowed(), QStringLiteral("0"));
    }

    // Whatever order the categories come in, the directory lists the top
    // level by id; a sub-category waits under its parent.
    void directoryInIdOrderWithSubCategoriesUnderTheirParent()
    {
        ChannelCategoryPopUp popup(0, host);
        popup.resize(host->size());
        QHash<QString, ChannelCategory> all;
        for (const auto& entry :
             {qMakePair(QString("10"), QString("Music")), qMakePair(QString("2"), QString("Sport")),
              qMakePair(QString("1"), QString("News")),
              qMakePair(QString("3"), QString("Science"))})
            all.insert(entry.first, categoryOf(entry.first, entry.second));
        ChannelCategory football = categoryOf("4", "Football");
        football.setParentCategoryID("2");
        all.insert("4", football);
        popup.setCategories(all);
        QStringList names;
        for (ChannelCategoryWidget* tile : popup.tiles())
            names << tile->getCategory().getCategoryName();
        QCOMPARE(names, QStringList({"News", "Sport", "Science", "Music"}));
    }

    // A long description ends in an ellipsis inside the row, clear of the
    // buttons, the whole of it in the tooltip, where markup is text too.
    void directoryRowKeepsALongDescriptionInside()
    {
        ChannelCategoryPopUp popup(0, host);
        openNewsCategory(popup);
        ChannelInfo wordy = channelOf("wordy", ChannelRole::NONE);
        const QString words = QString("a very long description of this channel ").repeated(8) +
                              QStringLiteral("<b>loud</b> <img src=\"x.png\"> & more");
        wordy.setDescription(words);
        BrowseCategoryResult result;
        result.setInfos({wordy});
        popup.setBrowseCategoryResult(result);
        auto* row = qobject_cast<ChannelAbstractWidget*>(popup.channelList()->rows().first());
        QVERIFY(row);
        QTRY_VERIFY(row->width() > 0);
        QLabel* description = row->descriptionLabel();
        QVERIFY(description->text().endsWith(QChar(0x2026)));
        QVERIFY(description->geometry().left() >= row->followButton()->geometry().right());
        QVERIFY(description->geometry().right() < row->width());
        QTextDocument tip;
        tip.setHtml(description->toolTip());
        QCOMPARE(tip.toPlainText(), words);
        QVERIFY(Qt::mightBeRichText(description->toolTip()));
        QVERIFY(saveShot(host, "screens-directory-long-description.png"));
    }

    void createChannelCheckTimesOut()
    {
        CreateChannel form(host);
        form.setCheckTimeout(300);
        form.show();
        type(form.descriptionField(), "d");
        type(form.nameField(), "n");
        type(form.idField(), "silent");
        click(form.submitButton());
        QVERIFY(!form.isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(form.errorLabel()->isVisible(), 10000);
        QCOMPARE(form.errorLabel()->text(),
                 QCoreApplication::translate("CreateChannel", "ـNetWorkError"));
        QVERIFY(form.isEnabled());
        QVERIFY(!form.spinner()->isSpinning());
        // A late answer after giving up creates nothing.
        Commands sent(&form);
        form.channelIdAvailability(ChannelIdAvailability("silent", true));
        QCOMPARE(sent.count(), 0);
    }

    void createChannelInputErrors_data()
    {
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("error");
        QTest::newRow("nothing") << ""
                                 << ""
                                 << "x"
                                 << "_EnterChannelName";
        QTest::newRow("no description") << ""
                                        << "n"
                                        << "x"
                                        << "_EnterChannelDescription";
        QTest::newRow("no id") << "d"
                               << "n"
                               << ""
                               << "Error: Enter channel ID";
    }

    void createChannelInputErrors()
    {
        QFETCH(QString, description);
        QFETCH(QString, name);
        QFETCH(QString, id);
        QFETCH(QString, error);
        CreateChannel form(host);
        form.show();
        Commands sent(&form);
        if (!description.isEmpty())
            type(form.descriptionField(), description);
        if (!name.isEmpty())
            type(form.nameField(), name);
        if (!id.isEmpty())
            type(form.idField(), id);
        click(form.submitButton());
        QCOMPARE(sent.count(), 0);
        QCOMPARE(form.errorLabel()->text(),
                 QCoreApplication::translate("CreateChannel", error.toUtf8().constData()));
        // The whole text can be read.
        QTRY_VERIFY(form.errorLabel()->width() >= form.errorLabel()->sizeHint().width());
        QVERIFY(form.isEnabled());
    }

    void chatWindowPanelsByRole()
    {
        ChatWindow follower(host);
        follower.setChatId("daily");
        follower.resize(500, 600);
        follower.show();
        follower.setChannelProfile(channelOf("daily", ChannelRole::MEMBER));
        follower.setChannelProfile(channelOf("daily", ChannelRole::MEMBER));
        QVERIFY(follower.followerPanel());
        QVERIFY(!follower.adminPanel());
        QVERIFY(follower.pollButton()->isHidden());
        QCOMPARE(follower.findChildren<ChannelProfileNormal*>().size(), 1);
        Commands sent(&follower);
        click(follower.title());
        QVERIFY(follower.followerPanel()->isVisible());
        QCOMPARE(follower.followerPanel()->size(), follower.size());
        follower.resize(520, 610);
        QCOMPARE(follower.followerPanel()->size(), QSize(520, 610));
        // The panel's commands travel the window's way.
        click(follower.followerPanel()->muteSwitch()->imageLabel());
        QCOMPARE(sent.all(), QList<int>({CMD_ChannelUpdateMute}));
        click(follower.title());
        QTRY_VERIFY(follower.followerPanel()->isHidden());

        ChatWindow owner(host);
        owner.setChatId("news");
        owner.resize(500, 600);
        owner.show();
        Commands fromOwner(&owner);
        owner.setChannelProfile(channelOf("news", ChannelRole::OWNER));
        QVERIFY(owner.adminPanel());
        QVERIFY(!owner.followerPanel());
        QCOMPARE(fromOwner.all(), QList<int>({CMD_ChannelGetMembers}));
        owner.setChannelMembersReply(replyOf("news", {personOf("adam", ChannelRole::ADMIN)}));
        QCOMPARE(owner.adminPanel()->managerRows().size(), 1);
        // A hidden panel is not resized with the window.
        const QSize hiddenSize = owner.adminPanel()->size();
        owner.resize(700, 650);
        QCOMPARE(owner.adminPanel()->size(), hiddenSize);
    }

    // The follower's strip says what a click does and sends the change;
    // the next click undoes it.
    void followerStripMutesAndUnmutes()
    {
        ChatWindow window(host);
        window.setChatId("daily");
        window.resize(500, 600);
        window.show();
        window.setChannelProfile(channelOf("daily", ChannelRole::MEMBER));
        window.updateMuteButton(false);
        Commands sent(&window);
        const QString mute = QCoreApplication::translate("ChatWindow", "Mute");
        const QString unmute = QCoreApplication::translate("ChatWindow", "Unmute");
        QCOMPARE(window.strip()->text(), mute);
        click(window.strip());
        QCOMPARE(window.strip()->text(), unmute);
        click(window.strip());
        QCOMPARE(window.strip()->text(), mute);
        QCOMPARE(sent.all(), QList<int>({CMD_ChannelUpdateMute, CMD_ChannelUpdateMute}));
        QCOMPARE(sent.payload(0).value<ChannelInfo>().getMute(), true);
        QCOMPARE(sent.payload(0).value<ChannelInfo>().getId(), QStringLiteral("daily"));
        QCOMPARE(sent.payload(1).value<ChannelInfo>().getMute(), false);
    }

    // A role change reaching an open window swaps the panels at once.
    void roleChangeSwapsThePanels()
    {
        ChatWindow window(host);
        window.setChatId("daily");
        window.resize(500, 600);
        window.show();
        window.setChannelProfile(channelOf("daily", ChannelRole::MEMBER));
        window.updateMuteButton(false);
        QVERIFY(window.followerPanel());
        QVERIFY(window.strip()->isVisible());
        window.setChannelProfile(channelOf("daily", ChannelRole::ADMIN));
        QVERIFY(window.adminPanel());
        QVERIFY(!window.followerPanel());
        QVERIFY(window.strip()->isHidden());
        QVERIFY(window.pollButton()->isVisible());
        click(window.title());
        QTRY_VERIFY(window.adminPanel()->isVisible());
        QTRY_COMPARE(window.findChildren<ChannelProfileNormal*>().size(), 0);

        window.setChannelProfile(channelOf("daily", ChannelRole::MEMBER));
        window.updateMuteButton(true);
        QVERIFY(!window.adminPanel());
        QVERIFY(window.followerPanel());
        QVERIFY(window.pollButton()->isHidden());
        QVERIFY(window.strip()->isVisible());
    }

    void createChannelWithPicture()
    {
        CreateChannel form(host);
        form.show();
        Commands sent(&form);
        form.choosePicture(files.picture("logo.png", 300, 200, QColor(200, 80, 40)));
        type(form.descriptionField(), "d");
        type(form.nameField(), "Logo");
        type(form.idField(), "logo");
        click(form.submitButton());
        QCOMPARE(sent.count(), 0);
        QTRY_COMPARE_WITH_TIMEOUT(sent.count(), 1, 30000);
        QCOMPARE(sent.at(0), CMD_ChannelCheckId);
        form.channelIdAvailability(ChannelIdAvailability("logo", true));
        const ChannelInfo created = sent.payload(1).value<ChannelInfo>();
        QVERIFY(!created.getAvatarUrl().isEmpty());
        QVERIFY(!created.getAvatarThumbnailUrl().isEmpty());

        // The next channel has no picture.
        form.show();
        type(form.descriptionField(), "d");
        type(form.nameField(), "Plain");
        type(form.idField(), "plain");
        click(form.submitButton());
        form.channelIdAvailability(ChannelIdAvailability("plain", true));
        QCOMPARE(sent.count(), 4);
        QCOMPARE(sent.payload(3).value<ChannelInfo>().getAvatarUrl(), QString());
    }
};

QTEST_MAIN(TestChannelScreens)
#include "tst_channelscreens.moc"
