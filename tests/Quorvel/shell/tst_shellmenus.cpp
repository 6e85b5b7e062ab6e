// The main window's top bar and side menu, the settings screen with its
// background tiles, the content panel's background and the tray balloons,
// driven offscreen with the mouse.
#include "chat/chatwindow.h"
#include "inkbounds.h"
#include "model/globalconstants.h"
#include "model/notificationmessage.h"
#include "shell/contentpanel.h"
#include "shell/imageviewer.h"
#include "shell/menuitem.h"
#include "shell/menulist.h"
#include "shell/messengermainwindow.h"
#include "shell/setting.h"
#include "shell/sidemenu.h"
#include "shell/slidingmenu.h"
#include "shell/topmenu.h"
#include "shell/traynotifier.h"
#include "shell/userinfo.h"
#include "shell/userprofile.h"
#include "widgets/flatbutton.h"
#include "widgets/iconbutton.h"
#include "widgets/interfacescale.h"
#include "widgets/phonetext.h"
#include "widgets/popupmanager.h"
#include "widgets/popupwarning.h"

#include <QCheckBox>
#include <QGraphicsEffect>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStyleOptionButton>
#include <QTextDocument>
#include <QTranslator>
#include <QtTest>

namespace {

QList<Command> commandsOf(const QSignalSpy& spy)
{
    QList<Command> out;
    for (const QList<QVariant>& call : spy)
        out << call.at(0).value<Command>();
    return out;
}

MenuItem* menuRow(MessengerMainWindow& window, const QString& id)
{
    for (MenuItem* item : window.getSlidingMenu()->findChildren<MenuItem*>()) {
        if (item->getId() == id)
            return item;
    }
    return nullptr;
}

void clickButton(QWidget* button)
{
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, button->rect().center());
}

// A check box takes clicks on its box and its text only, wherever the
// layout stretched it.
void clickBox(QCheckBox* box)
{
    QStyleOptionButton option;
    option.initFrom(box);
    const QRect hit = box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box);
    QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, hit.center());
}

FlatButton* scaleButton(Setting* setting, const QString& text)
{
    for (FlatButton* button : setting->getScaleButtons()) {
        if (button->text() == text)
            return button;
    }
    return nullptr;
}

QStringList selectedScales(Setting* setting)
{
    QStringList out;
    for (FlatButton* button : setting->getScaleButtons()) {
        if (button->objectName() == QLatin1String("ScaleButtonSelected"))
            out << button->text();
    }
    return out;
}

NotificationMessage notification(const QString& chatId, MessageBase::MsgMinorType type,
                                 const QString& body, const QString& title = QStringLiteral("Eve"))
{
    Message m(Message::MsgMajorType_SimpleChat, chatId);
    m.setChatId(chatId);
    m.setMinorType(type);
    m.setMessageBody(body);
    NotificationMessage n;
    n.setMessage(m);
    n.setTitle(title);
    return n;
}

// A field's area within its frame lines.
QRect inside(const QWidget* field)
{
    return field->rect().adjusted(4, 4, -4, -4);
}

ChatWindow* chatWindow(const QString& id, QWidget* parent = nullptr)
{
    auto* window = new ChatWindow(parent);
    window->setChatId(id);
    return window;
}

} // namespace

class TestShellMenus : public QObject
{
    Q_OBJECT

    struct OpenWindow
    {
        MessengerMainWindow window;
        explicit OpenWindow(int width = 1000)
        {
            window.resize(width, 700);
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
        }
        void openMenu()
        {
            clickButton(window.getTopMenu()->getMenuButton());
            QVERIFY(window.getSlidingMenu()->isVisible());
        }
    };

private slots:
    // The Persian program's direction, which its catalogue sets at start.
    void initTestCase() { QApplication::setLayoutDirection(Qt::RightToLeft); }
    void init()
    {
        MainSettings defaults;
        GlobalConstants::setMainSettings(defaults);
    }
    void cleanup()
    {
        PopUpWarning::deleteInstance();
        PopupManager::deleteInstance();
    }

    void menuWidthFollowsTheWindow_data()
    {
        QTest::addColumn<int>("windowWidth");
        QTest::addColumn<int>("menuWidth");
        QTest::newRow("800") << 800 << 300;
        QTest::newRow("1000") << 1000 << 300;
        QTest::newRow("1200") << 1200 << 360;
        QTest::newRow("1334") << 1334 << 400;
        QTest::newRow("1500") << 1500 << 400;
    }
    void menuWidthFollowsTheWindow()
    {
        QFETCH(int, windowWidth);
        QFETCH(int, menuWidth);
        OpenWindow w(windowWidth);
        w.openMenu();
        SlidingMenu* menu = w.window.getSlidingMenu();
        QCOMPARE(menu->getMenuWidth(), menuWidth);
        QCOMPARE(menu->geometry(), w.window.rect());
        // Right to left: the menu lands against the right edge.
        QTRY_COMPARE(menu->getSideMenu()->geometry(),
                     QRect(windowWidth - menuWidth, 0, menuWidth, 700));
        // Resizing while open keeps the bounds.
        w.window.resize(windowWidth + 400, 700);
        QCOMPARE(menu->getMenuWidth(), SlidingMenu::menuWidthFor(windowWidth + 400));
        QVERIFY(menu->getMenuWidth() >= 300 && menu->getMenuWidth() <= 400);
    }

    void menuRowsInOrder()
    {
        OpenWindow w;
        QStringList ids;
        QList<int> kinds;
        for (MenuItem* item : w.window.getSlidingMenu()->findChildren<MenuItem*>()) {
            ids << item->getId();
            kinds << item->getKind();
        }
        QCOMPARE(ids, QStringList({"Profile", "", "CreateGroup", "CreateNewChanel", "",
                                   "AddNewContact", "ChannelList", "", "Settings", "Logout"}));
        QCOMPARE(kinds, QList<int>({3, 1, 3, 3, 1, 3, 3, 1, 3, 3}));
    }

    void pressesInsideKeepTheMenuOpen()
    {
        OpenWindow w;
        w.openMenu();
        SlidingMenu* menu = w.window.getSlidingMenu();
        SideMenu* side = menu->getSideMenu();
        QTRY_COMPARE(side->x(), 1000 - 300);
        QWidget* inside[] = {side->getUserInfo(), side->getMenuList(), side->getVersionLabel()};
        for (QWidget* target : inside) {
            // Empty space of the list lies below its rows.
            const QPoint at(target->width() / 2, target->height() - 2);
            QTest::mousePress(target, Qt::LeftButton, Qt::NoModifier, at);
            QTest::mouseRelease(target, Qt::LeftButton, Qt::NoModifier, at);
            QTest::qWait(50);
            QVERIFY2(menu->isVisible(), qPrintable(target->metaObject()->className()));
        }
        // Beside the side menu: the overlay closes it.
        QTest::mousePress(menu, Qt::LeftButton, Qt::NoModifier, QPoint(100, 300));
        QTRY_VERIFY(!menu->isVisible());
        // The back button closes it as well.
        w.openMenu();
        QTRY_COMPARE(side->x(), 1000 - 300);
        clickButton(side->getBackButton());
        QTRY_VERIFY(!menu->isVisible());
    }

    void logoutAsksFirst()
    {
        OpenWindow w;
        QSignalSpy commands(&w.window, &MessengerMainWindow::command);
        w.openMenu();
        QTest::mousePress(menuRow(w.window, "Logout"), Qt::LeftButton);
        PopUpWarning* warning = PopUpWarning::getInstance();
        QTRY_VERIFY(warning->isVisible());
        QCOMPARE(warning->getApplicator(), QStringLiteral("Logout"));
        clickButton(warning->noButton());
        QVERIFY(commands.isEmpty());
        QVERIFY(w.window.getSlidingMenu()->isVisible());
        // No connection is left behind: a later yes for "Logout" sends nothing.
        emit warning->popUpresponse(PopUpWarning::yes, QStringLiteral("Logout"));
        QVERIFY(commands.isEmpty());

        QTest::mousePress(menuRow(w.window, "Logout"), Qt::LeftButton);
        QTRY_VERIFY(warning->isVisible());
        clickButton(warning->yesButton());
        QCOMPARE(commandsOf(commands), QList<Command>({CMD_Logout}));
    }

    void profileRowAsksForTheProfile()
    {
        OpenWindow w;
        QSignalSpy commands(&w.window, &MessengerMainWindow::command);
        w.openMenu();
        QTest::mousePress(menuRow(w.window, "Profile"), Qt::LeftButton);
        QCOMPARE(commandsOf(commands), QList<Command>({CMD_GetUserProfile, CMD_GetQuorvelId}));
        QTRY_VERIFY(!w.window.getSlidingMenu()->isVisible());
    }

    void menuRowsOpenTheirScreens_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("screen");
        QTest::newRow("add contact") << "AddNewContact"
                                     << "AddNewContact";
        QTest::newRow("new group") << "CreateGroup"
                                   << "CreateGroup";
        QTest::newRow("new channel") << "CreateNewChanel"
                                     << "CreateChannel";
        QTest::newRow("channel list") << "ChannelList"
                                      << "ChannelCategoryPopUp";
        QTest::newRow("settings") << "Settings"
                                  << "Setting";
    }
    void menuRowsOpenTheirScreens()
    {
        QFETCH(QString, id);
        QFETCH(QString, screen);
        OpenWindow w;
        w.openMenu();
        QSignalSpy commands(&w.window, &MessengerMainWindow::command);
        QTest::mousePress(menuRow(w.window, id), Qt::LeftButton);
        QWidget* shown = nullptr;
        for (QWidget* child : w.window.findChildren<QWidget*>()) {
            if (child->metaObject()->className() == screen && child->isVisible())
                shown = child;
        }
        QVERIFY2(shown, qPrintable(screen));
        QTRY_VERIFY(!w.window.getSlidingMenu()->isVisible());
        if (id == QLatin1String("ChannelList"))
            QCOMPARE(commandsOf(commands), QList<Command>({CMD_ChannelCategories}));
    }

    void settingsOpenedTwiceSaveOncePerClose()
    {
        OpenWindow w;
        QSignalSpy commands(&w.window, &MessengerMainWindow::command);
        Setting* setting = w.window.getSetting();
        for (int round = 1; round <= 2; ++round) {
            w.openMenu();
            QTest::mousePress(menuRow(w.window, "Settings"), Qt::LeftButton);
            QTRY_VERIFY(setting->isVisible());
            clickButton(setting->closeButton());
            QVERIFY(!setting->isVisible());
            QCOMPARE(commandsOf(commands).count(CMD_SaveMainSettings), round);
            QTRY_VERIFY(!w.window.getSlidingMenu()->isVisible());
        }
    }

    // The profile page's fields run right to left with the window: hints in
    // Persian and the user's own text both start at the right edge.
    void profileFieldsStartAtTheRight()
    {
        QTranslator persian;
        QVERIFY(persian.load(QStringLiteral(":/Lng/quorvel_persian.qm")));
        QCoreApplication::installTranslator(&persian);
        QWidget window;
        window.setLayoutDirection(Qt::RightToLeft);
        auto* page = new UserProfile(&window);
        QCoreApplication::removeTranslator(&persian);
        window.resize(page->size());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QList<QLineEdit*> fields = page->findChildren<QLineEdit*>();
        QCOMPARE(fields.size(), 3);
        for (QLineEdit* field : fields) {
            QVERIFY(field->text().isEmpty());
            QVERIFY(field->placeholderText().isRightToLeft());
            const QRect hint = InkBounds::darkerThan(field->grab().toImage(), 230, inside(field));
            QVERIFY2(hint.left() > field->width() / 2, qPrintable(field->placeholderText()));
        }
        QLineEdit* name = fields.first();
        name->setText(QStringLiteral("Nika"));
        const QRect typed = InkBounds::darkerThan(name->grab().toImage(), 230, inside(name));
        QVERIFY(typed.left() > name->width() / 2);
    }

    void profileAnswerFillsHeaderAndSettingsAsPlainText()
    {
        OpenWindow w;
        Contact self;
        self.setNumber(QStringLiteral("989121234567"));
        self.setNickName(QStringLiteral("<b>Nika</b>"));
        self.setMemberID(QStringLiteral("<i>m1</i>"));
        w.window.commandResponse(CMD_GetUserProfile, QVariant::fromValue(self));
        UserInfo* header = w.window.getSlidingMenu()->getSideMenu()->getUserInfo();
        Setting* setting = w.window.getSetting();
        const QList<QPair<QLabel*, QString>> shown{
            {header->nameLabel(), self.getNickName()},
            {header->secondLineLabel(), self.getMemberID()},
            {setting->nicknameLabel(), self.getNickName()},
            {setting->numberLabel(), PhoneText::number(self.getNumber())}};
        for (const auto& pair : shown) {
            QCOMPARE(pair.first->text(), pair.second);
            QCOMPARE(pair.first->textFormat(), Qt::PlainText);
        }
        // No thumbnail address: the logo stays in the header.
        QVERIFY(!header->avatarLabel()->pixmap()->isNull());
    }

    void settingsRoundTrip()
    {
        MainSettings stored;
        stored.setNotificationPreviewEnabled(true);
        stored.setNotificationsEnabled(false);
        stored.setAutoDownloadImages(true);
        stored.setAutoDownloadVideos(false);
        stored.setAutoDownloadFiles(true);
        stored.setSendKey(MainSettings::ShiftEnter);
        stored.setInterfaceScaleFactor(150);
        Setting setting;
        const QString third = setting.getTiles().at(2)->getId();
        stored.setChatBackgroundPath(third);
        GlobalConstants::setMainSettings(stored);
        setting.resize(900, 900);
        setting.show();
        QVERIFY(QTest::qWaitForWindowExposed(&setting));
        setting.loadSettings();

        QVERIFY(setting.previewBox()->isChecked());
        QVERIFY(setting.notificationsOffBox()->isChecked());
        QVERIFY(setting.photoBox()->isChecked());
        QVERIFY(!setting.videoBox()->isChecked());
        QVERIFY(setting.fileBox()->isChecked());
        QVERIFY(setting.shiftEnterRadio()->isChecked());
        QVERIFY(!setting.enterRadio()->isChecked());
        QVERIFY(!setting.autoScaleBox()->isChecked());
        QCOMPARE(selectedScales(&setting), QStringList({"150%"}));
        QList<bool> marked;
        for (ImageViewer* tile : setting.getTiles())
            marked << tile->isSelected();
        QCOMPARE(marked.indexOf(true), 2);
        QCOMPARE(marked.count(true), 1);

        QSignalSpy commands(&setting, &Setting::command);
        QSignalSpy backgrounds(&setting, &Setting::backgroundChanged);
        clickBox(setting.notificationsOffBox());
        clickBox(setting.videoBox());
        clickButton(setting.enterRadio());
        QVERIFY(!setting.shiftEnterRadio()->isChecked());
        clickButton(setting.getTiles().at(0));
        QCOMPARE(backgrounds.takeFirst().at(0).toString(), QStringLiteral("Default"));
        QVERIFY(!setting.getTiles().at(2)->isSelected());
        setting.hide();

        QCOMPARE(commands.size(), 1);
        QCOMPARE(commands.at(0).at(0).value<Command>(), CMD_SaveMainSettings);
        const MainSettings sent = commands.at(0).at(1).value<MainSettings>();
        const MainSettings kept = GlobalConstants::getMainSettings();
        QVERIFY(sent == kept);
        QVERIFY(kept.getNotificationsEnabled());
        QVERIFY(kept.getAutoDownloadVideos());
        QCOMPARE(kept.getSendKey(), MainSettings::Enter);
        QCOMPARE(kept.getInterfaceScaleFactor(), 150);
        QCOMPARE(kept.getChatBackgroundPath(), QStringLiteral(":/Images/img_default_chat_bg.png"));
    }

    void unchosenBackgroundStaysStored()
    {
        MainSettings stored;
        stored.setChatBackgroundPath(QStringLiteral("https://host/static_file/x.jpg?"));
        GlobalConstants::setMainSettings(stored);
        Setting setting;
        setting.show();
        setting.loadSettings();
        setting.hide();
        QCOMPARE(GlobalConstants::getMainSettings().getChatBackgroundPath(),
                 QStringLiteral("https://host/static_file/x.jpg?"));
    }

    void scaleChoice_data()
    {
        QTest::addColumn<int>("stored");
        QTest::addColumn<QString>("clicked");
        QTest::addColumn<bool>("asks");
        QTest::addColumn<bool>("answerYes");
        QTest::addColumn<QStringList>("highlighted");
        QTest::addColumn<bool>("autoChecked");
        QTest::addColumn<int>("saved"); // -1: nothing saved by the answer
        const QStringList dpi{QString::number(dpiScalePercent()) + "%"};
        const QStringList dpiShown = QStringList({"100%", "125%", "150%", "175%", "200%"})
                                         .filter(QRegularExpression("^" + dpi.first() + "$"));
        QTest::newRow("scale in force: nothing")
            << 100 << "100%" << false << false << QStringList{"100%"} << false << -1;
        QTest::newRow("other scale, no")
            << 100 << "150%" << true << false << QStringList{"100%"} << false << -1;
        QTest::newRow("other scale, yes")
            << 100 << "150%" << true << true << QStringList{"150%"} << false << 150;
        QTest::newRow("automatic in force, no")
            << 0 << "100%" << true << false << dpiShown << true << -1;
        QTest::newRow("automatic box, yes")
            << 125 << "auto" << true << true << dpiShown << true << 0;
    }
    void scaleChoice()
    {
        QFETCH(int, stored);
        QFETCH(QString, clicked);
        QFETCH(bool, asks);
        QFETCH(bool, answerYes);
        QFETCH(QStringList, highlighted);
        QFETCH(bool, autoChecked);
        QFETCH(int, saved);
        MainSettings settings;
        settings.setInterfaceScaleFactor(stored);
        GlobalConstants::setMainSettings(settings);
        Setting setting;
        int restarts = 0;
        setting.setRestartAction([&restarts]() { ++restarts; });
        setting.resize(900, 900);
        setting.show();
        QVERIFY(QTest::qWaitForWindowExposed(&setting));
        setting.loadSettings();
        QSignalSpy commands(&setting, &Setting::command);

        if (clicked == QLatin1String("auto"))
            clickBox(setting.autoScaleBox());
        else
            clickButton(scaleButton(&setting, clicked));
        PopUpWarning* warning = PopUpWarning::getInstance();
        QCOMPARE(warning->isVisible(), asks);
        if (asks) {
            QCOMPARE(warning->getApplicator(), QStringLiteral("AutoScate"));
            clickButton(answerYes ? warning->yesButton() : warning->noButton());
        }
        QCOMPARE(selectedScales(&setting), highlighted);
        QCOMPARE(setting.autoScaleBox()->isChecked(), autoChecked);
        if (saved < 0) {
            QVERIFY(commands.isEmpty());
            QTest::qWait(200);
            QCOMPARE(restarts, 0);
        } else {
            QCOMPARE(commands.size(), 1);
            QCOMPARE(commands.at(0).at(1).value<MainSettings>().getInterfaceScaleFactor(), saved);
            QTRY_COMPARE(restarts, 1);
        }
    }

    // The scale question dims the settings screen it belongs to, no more, and
    // sits in its middle. The main window's layer has ended its fade by then
    // and draws without its opacity effect: with the effect on, the question's
    // backdrop left a stale dimmed strip beside the screen on a real display.
    void scaleQuestionCoversTheSettingsScreen()
    {
        OpenWindow w(1152);
        w.openMenu();
        QTest::mousePress(menuRow(w.window, "Settings"), Qt::LeftButton);
        Setting* setting = w.window.getSetting();
        QTRY_VERIFY(setting->isVisible());
        QTRY_VERIFY(!w.window.getSlidingMenu()->isVisible());
        QGraphicsEffect* fade = PopupManager::existingInstance()->graphicsEffect();
        QVERIFY(fade);
        QTRY_VERIFY(!fade->isEnabled());
        const QString other =
            selectedScales(setting).contains(QStringLiteral("150%")) ? "125%" : "150%";
        clickButton(scaleButton(setting, other));
        PopUpWarning* warning = PopUpWarning::getInstance();
        QVERIFY(warning->isVisible());
        QWidget* backdrop = warning->parentWidget();
        QVERIFY(backdrop && backdrop->isVisible());
        QCOMPARE(backdrop->parentWidget(), setting);
        QCOMPARE(backdrop->geometry(), setting->rect());
        QVERIFY((warning->geometry().center() - setting->rect().center()).manhattanLength() <= 2);
        clickButton(warning->noButton());
        QVERIFY(!backdrop->isVisible());
        // The next screen hosted by the layer fades in again.
        clickButton(setting->closeButton());
        w.openMenu();
        QTest::mousePress(menuRow(w.window, "Settings"), Qt::LeftButton);
        QVERIFY(fade->isEnabled());
        QTRY_VERIFY(!fade->isEnabled());
    }

    void tileClicks()
    {
        ImageViewer tile(nullptr, true, false);
        tile.setId(QStringLiteral("pic"));
        tile.setFixedSize(120, 120);
        tile.setImageSize(QSize(60, 30));
        tile.setImagePath(QStringLiteral(":/Images/img_default_chat_bg.png"));
        // The image size set beforehand governs, not the tile's.
        QVERIFY(tile.pixmap()->width() <= 60 && tile.pixmap()->height() <= 30);
        tile.show();
        QSignalSpy chosen(&tile, &ImageViewer::imageSelected);
        clickButton(&tile);
        QVERIFY(tile.isSelected());
        QVERIFY(tile.checkMark()->isVisible());
        QCOMPARE(tile.checkMark()->geometry().bottomRight(), tile.rect().bottomRight());
        QTest::mouseClick(&tile, Qt::RightButton);
        clickButton(&tile);
        QCOMPARE(chosen.size(), 2);
        QCOMPARE(chosen.at(0).at(0).toString(), QStringLiteral("pic"));
        QCOMPARE(chosen.at(1).at(0).toString(), QString());
        QVERIFY(!tile.checkMark()->isVisible());
        // A tile that cannot be chosen ignores clicks.
        ImageViewer fixed(nullptr, false, false);
        fixed.show();
        QSignalSpy none(&fixed, &ImageViewer::imageSelected);
        clickButton(&fixed);
        QVERIFY(none.isEmpty());
    }

    void backgroundCoversThePanel_data()
    {
        QTest::addColumn<QSize>("panel");
        QTest::addColumn<QSize>("shown");
        QTest::newRow("taller panel") << QSize(500, 600) << QSize(1200, 600);
        QTest::newRow("wider panel") << QSize(900, 300) << QSize(900, 450);
    }
    void backgroundCoversThePanel()
    {
        QFETCH(QSize, panel);
        QFETCH(QSize, shown);
        ContentPanel content;
        content.setMinimumWidth(0);
        content.resize(panel);
        content.show();
        QImage image(1000, 500, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        content.imageReady(image);
        QCOMPARE(content.getBackgroundLabel()->pixmap()->size(), shown);
        // "Default" replaces the picture at once, without a download.
        content.backgroundChanged(QStringLiteral("Default"));
        QCOMPARE(content.getBackground().size(),
                 QPixmap(QStringLiteral(":/Images/img_default_chat_bg.png")).size());
    }

    void placeholderCentredUntilAChatOpens()
    {
        ContentPanel content;
        content.resize(600, 400);
        content.show();
        QLabel* note = content.getPlaceholder();
        QVERIFY(note->isVisible());
        const auto centredAt = [note](int x, int y) {
            const QPointF c = QRectF(note->geometry()).center();
            return qAbs(c.x() - x) <= 1 && qAbs(c.y() - y) <= 1;
        };
        QVERIFY(centredAt(300, 200));
        content.resize(800, 500);
        QVERIFY(centredAt(400, 250));
        auto* chat = chatWindow(QStringLiteral("g1"), &content);
        content.setContentWidget(chat);
        QVERIFY(!note->isVisible());
        content.closeChatById(QStringLiteral("other"));
        QCOMPARE(content.currentWidget(), chat);
        content.closeChatById(QStringLiteral("g1"));
        QVERIFY(!content.currentWidget());
        QVERIFY(note->isVisible());
    }

    void barFadeReversesWithoutAJump()
    {
        TopMenu bar(QSize(800, 40));
        QCOMPARE(bar.darkness(), 1.0);
        bar.connected();
        QTRY_VERIFY(bar.darkness() < 0.7);
        const qreal before = bar.darkness();
        bar.disconnected();
        QVERIFY(qAbs(bar.darkness() - before) < 0.1);
        QTRY_COMPARE(bar.darkness(), 1.0);
    }

    void balloonRule_data()
    {
        QTest::addColumn<QString>("openChat");
        QTest::addColumn<bool>("active");
        QTest::addColumn<bool>("balloon");
        QTest::newRow("its chat open in front") << "5" << true << false;
        QTest::newRow("another chat open") << "6" << true << true;
        QTest::newRow("no chat open") << "" << true << true;
        QTest::newRow("window in the background") << "5" << false << true;
    }
    void balloonRule()
    {
        QFETCH(QString, openChat);
        QFETCH(bool, active);
        QFETCH(bool, balloon);
        OpenWindow w;
        if (!openChat.isEmpty())
            w.window.getContentPanel()->setContentWidget(chatWindow(openChat));
        QWidget other;
        if (active) {
            QApplication::setActiveWindow(&w.window);
            QTRY_VERIFY(w.window.isActiveWindow());
        } else {
            other.show();
            QApplication::setActiveWindow(&other);
            QTRY_VERIFY(!w.window.isActiveWindow());
        }
        QSignalSpy shown(w.window.getTrayNotifier(), &TrayNotifier::balloonShown);
        w.window.commandResponse(
            CMD_Notification,
            QVariant::fromValue(notification("5", MessageBase::MsgMinorType_Text, "hello")));
        QCOMPARE(shown.size(), balloon ? 1 : 0);
        // After a forced update no balloon at all.
        w.window.commandResponse(CMD_ForceUpdate, QVariant());
        w.window.commandResponse(
            CMD_Notification,
            QVariant::fromValue(notification("7", MessageBase::MsgMinorType_Text, "hello")));
        QCOMPARE(shown.size(), balloon ? 1 : 0);
    }

    void balloonIsPlainText()
    {
        QWidget window;
        TrayNotifier tray(&window);
        QSignalSpy shown(&tray, &TrayNotifier::balloonShown);
        const QString title = QStringLiteral("<b>Eve</b> &amp;");
        const QString body = QStringLiteral("<i>hi</i>  &  <a href='x'>y</a>\n<img src=q>");
        tray.showNotification(notification("5", MessageBase::MsgMinorType_Text, body, title));
        QCOMPARE(shown.size(), 1);
        const QString shownTitle = shown.at(0).at(0).toString();
        const QString shownText = shown.at(0).at(1).toString();
        for (const QString& text : {shownTitle, shownText}) {
            QVERIFY2(!Qt::mightBeRichText(text), qPrintable(text));
            QVERIFY(!text.contains(QRegularExpression("<[A-Za-z/!?]")));
            QVERIFY(!text.contains(QRegularExpression("&[A-Za-z#]")));
        }
        // Every character the sender wrote is still there.
        QCOMPARE(QString(shownTitle).remove(QChar(0x2060)), title);
        QCOMPARE(QString(shownText).remove(QChar(0x2060)), body.simplified());
    }

    void previewText_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("body");
        QTest::addColumn<int>("fileType");
        QTest::addColumn<bool>("previews");
        QTest::addColumn<QString>("text");
        QTest::newRow("text") << int(MessageBase::MsgMinorType_Text) << "hi" << 0 << true << "hi";
        QTest::newRow("previews off")
            << int(MessageBase::MsgMinorType_Text) << "hi" << 0 << false << "";
        QTest::newRow("sticker") << int(MessageBase::MsgMinorType_Sticker) << "" << 0 << true
                                 << "_sticker";
        QTest::newRow("file caption") << int(MessageBase::MsgMinorType_File) << "abc"
                                      << int(FileMessage::MsgFileType_Image) << true << "abc";
        QTest::newRow("image") << int(MessageBase::MsgMinorType_File) << ""
                               << int(FileMessage::MsgFileType_Image) << true << "_image";
        QTest::newRow("voice") << int(MessageBase::MsgMinorType_File) << ""
                               << int(FileMessage::MsgFileType_PushToTalk) << true << "_pushToTalk";
        QTest::newRow("location") << int(MessageBase::MsgMinorType_Location) << "" << 0 << true
                                  << "_location";
        QTest::newRow("poll") << int(MessageBase::MsgMinorType_Poll) << "" << 0 << true << "_poll";
        QTest::newRow("seen") << int(MessageBase::MsgMinorType_Seen) << "x" << 0 << true << "";
    }
    void previewText()
    {
        QFETCH(int, type);
        QFETCH(QString, body);
        QFETCH(int, fileType);
        QFETCH(bool, previews);
        QFETCH(QString, text);
        NotificationMessage n =
            notification("5", MessageBase::MsgMinorType(type), body, QStringLiteral("t"));
        if (fileType) {
            FileMessage file;
            file.setFileType(FileMessage::MsgFileType(fileType));
            n.getMessageRef()->setFileMessage(file);
        }
        QCOMPARE(TrayNotifier::previewText(n, previews), text);
    }
};

QTEST_MAIN(TestShellMenus)
#include "tst_shellmenus.moc"
