// The screens of the main window on a real core in this process, against the
// local service on loopback HTTPS (no chat server: everything here goes
// through the web service). Each form is driven with mouse and keys; its
// commands reach the core, the core's answers come back through the main
// window's dispatch, and what the service keeps afterwards is checked.
#include "screentestsupport.h"

#include "Managers/XMPP/xmppmanager.h"
#include "Managers/manager.h"
#include "Managers/quorveldesktopcore.h"
#include "chat/chatwidget.h"
#include "chat/chatwindow.h"
#include "chat/chatwindowtitle.h"
#include "foundation/serviceconfig.h"
#include "localservice.h"
#include "screens/addnewcontact.h"
#include "screens/channelabstractpopup.h"
#include "screens/channelabstractwidget.h"
#include "screens/channelcategorypopup.h"
#include "screens/channelcategorywidget.h"
#include "screens/channelownerwidget.h"
#include "screens/channelprofileadmin.h"
#include "screens/createchannel.h"
#include "servicestore.h"
#include "shell/channeltab.h"
#include "shell/contacttab.h"
#include "shell/contentpanel.h"
#include "shell/messengermainwindow.h"
#include "shell/sidepanel.h"
#include "webapi/GeneralApi/procedurehandler.h"
#include "webapi/GeneralApi/settingstorage.h"
#include "widgets/checkbox.h"
#include "widgets/iconbuttonunreadcount.h"

#include <QJsonArray>
#include <QLabel>

using namespace ScreenTest;

namespace {

const QString kUser = QStringLiteral("989120000001");
const QString kOwner = QStringLiteral("989120000009");

} // namespace

class TestScreensOnCore : public QObject
{
    Q_OBJECT

    QTranslator translator;
    FakeWebService web;
    ServiceStore store;
    std::unique_ptr<LocalService> service;
    std::unique_ptr<QuorvelDesktopCore> core;
    std::unique_ptr<MessengerMainWindow> window;

    QJsonObject channel(const QString& id) const { return store.object("channels", id); }

private slots:
    void initTestCase()
    {
        QCoreApplication::setOrganizationName("Quorvel");
        QCoreApplication::setApplicationName("Quorvel Desktop");
        QuorvelDesktopCore::registerMetaTypes();
        QVERIFY(setUpApplication(&translator));
        QVERIFY(!TestCertificates::trustSharedCa().isEmpty());
        QVERIFY(ServiceConfig::installExtraCaCertificates());
        QVERIFY(web.start());
        QVERIFY(store.open());
        service.reset(new LocalService(&web, &store));
        service->installProcedures();
        AccountPolicy& policy = service->policy();
        policy.usernameFor = [](const QString& phone) { return phone; };
        policy.codeFor = [](const QString&) { return QStringLiteral("12345"); };
        // Nothing listens there: the chat server stays out of reach.
        policy.chatServers = [](const QString& user) {
            return QJsonArray{QJsonObject{{"Hostname", "localhost"},
                                          {"ServerAddress", "127.0.0.1"},
                                          {"PortNo", "1"},
                                          {"Username", user},
                                          {"Password", "x"},
                                          {"Application", "chat"}}};
        };
        qputenv("QUORVEL_WEB_BASE_URL", web.baseUrl().toUtf8());
        qputenv("QUORVEL_FILE_HOST_URL", web.baseUrl().toUtf8());

        // A channel of another user in the directory's "News" category.
        QVERIFY(store.setValue("channels", "daily",
                               QJsonObject{{"ChannelID", "daily"},
                                           {"Name", "Daily news"},
                                           {"Description", "Every morning"},
                                           {"AvatarURL", ""},
                                           {"AvatarThumbnailURL", ""},
                                           {"CreationDate", "1700000000"},
                                           {"ReplyAllowed", "0"},
                                           {"CategoryId", "1"},
                                           {"OwnerUsername", kOwner},
                                           {"Members", QJsonObject{{kOwner, "OWNER"}}}}));

        core.reset(new QuorvelDesktopCore());
        QSignalSpy results(core->getWebApi()->getProcedureHandler(), &ProcedureHandler::result);
        core->startRegisteration(kUser);
        QTRY_COMPARE_WITH_TIMEOUT(results.size(), 1, 20000);
        QCOMPARE(results.last().at(1).toInt(), 200);
        core->startActivation("12345");
        QTRY_COMPARE_WITH_TIMEOUT(results.size(), 2, 20000);
        QCOMPARE(results.last().at(1).toInt(), 200);
        QSignalSpy loaded(core.get(), &QuorvelDesktopCore::loadingFinished);
        core->startLoading();
        QVERIFY(loaded.wait(20000));

        window.reset(new MessengerMainWindow);
        window->resize(1100, 760);
        window->show();
        Manager* manager = core->getManager();
        connect(window.get(), &MessengerMainWindow::command, manager, &Manager::command);
        connect(manager, &Manager::commandResponse, window.get(),
                &MessengerMainWindow::commandResponse);
        core->onInitialize();
    }

    void cleanupTestCase()
    {
        window.reset();
        if (core)
            core->aboutToQuit();
        core.reset();
        QuorvelDesktopCore::deleteGuiServices();
        SettingStorage::deleteInstance();
        PopupManager::deleteInstance();
    }

    void directoryFollowsAChannel()
    {
        window->showChannelDirectory();
        ChannelCategoryPopUp* directory = window->getChannelDirectory();
        QVERIFY(directory->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(directory->tileCount() >= 3, 20000);
        ChannelCategoryWidget* news = nullptr;
        for (ChannelCategoryWidget* tile : directory->tiles()) {
            if (tile->getCategory().getCategoryID() == QLatin1String("1"))
                news = tile;
        }
        QVERIFY(news);
        QCOMPARE(news->nameLabel()->text(), QStringLiteral("News"));
        QVERIFY(saveShot(window.get(), "screens-core-directory.png"));

        click(news);
        ChannelAbstractPopUP* list = directory->channelList();
        QTRY_COMPARE_WITH_TIMEOUT(list->rowCount(), 1, 20000);
        auto* row = qobject_cast<ChannelAbstractWidget*>(list->rows().first());
        QVERIFY(row);
        QCOMPARE(row->nameLabel()->text(), QStringLiteral("Daily news"));
        QVERIFY(saveShot(window.get(), "screens-core-directory-news.png"));

        click(row->followButton());
        QVERIFY(directory->isHidden());
        QTRY_COMPARE_WITH_TIMEOUT(
            channel("daily").value("Members").toObject().value(kUser).toString(),
            QStringLiteral("MEMBER"), 20000);
    }

    void createChannelChecksTheIdWithTheService()
    {
        window->showCreateChannel();
        CreateChannel* form = window->getCreateChannel();
        QVERIFY(form->isVisible());
        type(form->descriptionField(), "Trees and forests");
        type(form->nameField(), "Trees");
        type(form->idField(), "daily");
        click(form->replySwitch()->imageLabel());
        click(form->submitButton());
        // The service knows that id: the form says so and stays open.
        QTRY_VERIFY_WITH_TIMEOUT(form->errorLabel()->isVisible(), 20000);
        QCOMPARE(form->errorLabel()->text(),
                 QCoreApplication::translate("CreateChannel", "Error: channel ID not valid"));
        QVERIFY(form->isEnabled());
        QVERIFY(saveShot(window.get(), "screens-core-createchannel-taken.png"));

        form->idField()->selectAll();
        QTest::keyClicks(form->idField(), "trees");
        click(form->submitButton());
        QTRY_VERIFY_WITH_TIMEOUT(form->isHidden(), 20000);
        QTRY_VERIFY_WITH_TIMEOUT(!channel("trees").isEmpty(), 20000);
        const QJsonObject created = channel("trees");
        QCOMPARE(created.value("Name").toString(), QStringLiteral("Trees"));
        QCOMPARE(created.value("Description").toString(), QStringLiteral("Trees and forests"));
        QCOMPARE(created.value("ReplyAllowed").toString(), QStringLiteral("1"));
        QCOMPARE(created.value("CategoryId").toString(), QStringLiteral("0"));
        QCOMPARE(created.value("OwnerUsername").toString(), kUser);
    }

    // The new channel's window: its administrators' panel lists the owner
    // the service names, the user itself.
    void ownChannelsPanelShowsItsOwner()
    {
        SidePanel* side = window->getSidePanel();
        click(side->getChannelButton());
        QTRY_VERIFY_WITH_TIMEOUT(side->getChannelTab()->row("trees"), 20000);
        ChatWidget* row = side->getChannelTab()->row("trees");
        QTRY_VERIFY(row->isVisible());
        click(row);
        ChatWindow* shown = nullptr;
        QTRY_VERIFY((shown = window->getContentPanel()->currentWidget()) &&
                    shown->getChatId() == QLatin1String("trees"));
        click(shown->title());
        ChannelProfileAdmin* panel = shown->adminPanel();
        QVERIFY(panel);
        QTRY_VERIFY(panel->isVisible());
        QTRY_COMPARE_WITH_TIMEOUT(panel->ownerRow()->secondLine()->text(), kUser, 20000);
        // No picture of the owner: the person sign stands in its place.
        const QPixmap* sign = panel->ownerRow()->avatarLabel()->pixmap();
        QVERIFY(sign && !sign->isNull());
        QTest::qWait(400); // the slide
        QVERIFY(saveShot(window.get(), "screens-core-channeladmin.png"));
        panel->backButtonPressed();
        QTRY_VERIFY(panel->isHidden());
    }

    void addedContactIsListed()
    {
        window->showAddContact();
        AddNewContact* form = window->getAddNewContact();
        QVERIFY(form->isVisible());
        type(form->firstNameField(), "Sara");
        type(form->lastNameField(), "Moradi");
        type(form->mobileField(), "09120000007");
        QVERIFY(saveShot(window.get(), "screens-core-addcontact.png"));
        click(form->createButton());
        QVERIFY(form->isHidden());
        ContactTab* contacts = window->getSidePanel()->getContactTab();
        QTRY_VERIFY_WITH_TIMEOUT(contacts->row("989120000007") != nullptr, 20000);
    }
};

QTEST_MAIN(TestScreensOnCore)
#include "tst_screensoncore.moc"
