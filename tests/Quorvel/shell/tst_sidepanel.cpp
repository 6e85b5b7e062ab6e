// The side panel's lists and the channel preview, driven with the mouse and
// the keyboard: order by latest activity, filtering, selection, badges, the
// tab buttons and the preview's Join and Return.
#include "Managers/Chat/chatrecipient.h"
#include "chat/chatwidget.h"
#include "chat/chatwindow.h"
#include "chat/chatwindowtitle.h"
#include "chat/grouptab.h"
#include "model/channelinfo.h"
#include "model/channellookup.h"
#include "screens/contactwidget.h"
#include "shell/channellookupviewer.h"
#include "shell/channeltab.h"
#include "shell/chattab.h"
#include "shell/contacttab.h"
#include "shell/contentpanel.h"
#include "shell/grouplookupviewer.h"
#include "shell/messengermainwindow.h"
#include "shell/sidepanel.h"
#include "shell/userlookupviewer.h"
#include "widgets/avatarviewer.h"
#include "widgets/biditext.h"
#include "widgets/flatbutton.h"
#include "widgets/iconbuttonunreadcount.h"
#include "widgets/interfacescale.h"
#include "widgets/phonetext.h"
#include "widgets/searchbar.h"

#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPointer>
#include <QScrollBar>
#include <QtTest>

namespace {
Message post(const QString& chatId, const QString& id, qint64 time,
             MessageBase::MsgMajorType type = MessageBase::MsgMajorType_ChannelChat)
{
    Message m(type, QStringLiteral("author"), chatId, QStringLiteral("text of ") + id);
    m.setMinorType(MessageBase::MsgMinorType_Text);
    m.setMessageId(id);
    m.setSendTimeInGMT(time);
    return m;
}
ChannelInfo channel(const QString& id, qint64 time, int unread = 0, bool mute = false)
{
    ChannelInfo c;
    c.setId(id);
    c.setName(QStringLiteral("Channel ") + id);
    c.setUnreadCount(unread);
    c.setMute(mute);
    c.setLastMessage(post(id, id + QStringLiteral("-last"), time));
    return c;
}
ChatRecipient recipient(int i, int unread = 0, bool mute = false)
{
    Contact contact;
    contact.setNumber(QStringLiteral("98912%1").arg(i, 7, 10, QLatin1Char('0')));
    contact.setNickName(QStringLiteral("Chat %1").arg(i));
    contact.setMute(mute);
    ChatRecipient r;
    r.setContact(contact);
    r.setUnreadCount(unread);
    return r;
}
void click(QWidget* widget)
{
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, widget->rect().center());
}
} // namespace

class TestSidePanel : public QObject
{
    Q_OBJECT

private slots:
    // A long list holds every chat at once and makes the rows in view only,
    // the others as they are scrolled to; the badge counts every chat from
    // the start, a message for a chat without a row moves and counts it, and
    // any use of the list finds every chat in list order.
    void longListsMakeRowsAsTheyComeIntoView_data()
    {
        QTest::addColumn<bool>("waitForIdle");
        QTest::newRow("left idle") << true;
        QTest::newRow("used at once") << false;
    }
    void longListsMakeRowsAsTheyComeIntoView()
    {
        QFETCH(bool, waitForIdle);
        SidePanel panel;
        panel.resize(360, 600);
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        ChatTab* tab = panel.getChatTab();
        click(panel.getChatButton());
        QVERIFY(tab->isVisible());
        // A chat already listed keeps its row and takes the new values.
        panel.addChatRecipient(recipient(5));
        QList<ChatRecipient> chats;
        QStringList ids;
        int unread = 0;
        for (int i = 0; i < 400; ++i) {
            chats << recipient(i, i % 3, i % 10 == 0);
            ids << chats.last().getContact().getNumber();
            unread += i % 10 == 0 ? 0 : i % 3;
        }
        // The rows already there stay below the new ones.
        const QString kept = recipient(5).getContact().getNumber();
        ids.move(5, ids.size() - 1);
        panel.setChatRecipients(chats);
        const int builtAtOnce = tab->findChildren<ChatWidget*>().size();
        QVERIFY2(builtAtOnce < 100, qPrintable(QString::number(builtAtOnce)));
        QVERIFY(tab->findChildren<ChatWidget*>().size() > 1);
        QCOMPARE(tab->getUnreadCount(), unread);
        QCOMPARE(panel.getChatButton()->getUnreadCount(), unread);
        if (waitForIdle) {
            // Idle time makes no rows nobody sees; scrolling to the end makes
            // the rows there, each at its place.
            QTest::qWait(200);
            QVERIFY(tab->findChildren<ChatWidget*>().size() < 100);
            tab->verticalScrollBar()->setValue(tab->verticalScrollBar()->maximum());
            QApplication::processEvents();
            QVERIFY(tab->findChildren<ChatWidget*>().size() < 200);
            const QPoint lastRow(tab->viewport()->width() / 2, tab->viewport()->height() - 5);
            auto* bottom = qobject_cast<ChatWidget*>(
                tab->widget()->childAt(tab->widget()->mapFrom(tab->viewport(), lastRow)));
            QVERIFY(bottom);
            QCOMPARE(bottom->getId(), ids.last());
            QVERIFY(bottom->isVisible());
        } else {
            // A message for a chat near the end, before its row was built.
            const QString late = recipient(391).getContact().getNumber();
            panel.processMessage(post(late, "m391", 5000, MessageBase::MsgMajorType_SimpleChat));
            ids.move(ids.indexOf(late), 0);
            unread += 1;
            // Its row, made as it comes to the top, shows what it took.
            QApplication::processEvents();
            const QPoint firstRow(tab->viewport()->width() / 2, 5);
            auto* top = qobject_cast<ChatWidget*>(
                tab->widget()->childAt(tab->widget()->mapFrom(tab->viewport(), firstRow)));
            QVERIFY(top);
            QCOMPARE(top->getId(), late);
            QCOMPARE(top->lastMessageText(), QStringLiteral("text of m391"));
            QCOMPARE(top->unreadBadgeText(), QString::number(391 % 3 + 1));
        }
        QCOMPARE(tab->rowIds(), ids);
        QCOMPARE(tab->getUnreadCount(), unread);
        QCOMPARE(tab->row(kept)->getChatRecipient().getUnreadCount(), 5 % 3);
        // A second list before the first was done: the first is finished,
        // then the second goes on top.
        panel.setChatRecipients({recipient(1000), recipient(1001)});
        panel.setChatRecipients({recipient(1002)});
        QCOMPARE(tab->rowIds().mid(0, 3), QStringList({recipient(1002).getContact().getNumber(),
                                                       recipient(1000).getContact().getNumber(),
                                                       recipient(1001).getContact().getNumber()}));
    }

    // A list that is not shown builds no rows until it is.
    void hiddenListWaitsUntilShown()
    {
        SidePanel panel;
        panel.resize(360, 600);
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        ContactTab* tab = panel.getContactTab();
        QVERIFY(!tab->isVisible());
        QHash<QString, Contact> contacts;
        QStringList names;
        for (int i = 0; i < 300; ++i) {
            const Contact contact = recipient(i).getContact();
            contacts.insert(contact.getNumber(), contact);
            names << contact.getNickName();
        }
        names.sort(Qt::CaseInsensitive);
        panel.setContactList(contacts);
        QTest::qWait(50);
        QVERIFY(tab->findChildren<ContactWidget*>().isEmpty());
        click(panel.getContactButton());
        QVERIFY(tab->isVisible());
        QVERIFY(!tab->findChildren<ContactWidget*>().isEmpty());
        QTRY_COMPARE_WITH_TIMEOUT(tab->findChildren<ContactWidget*>().size(), 300, 30000);
        QCOMPARE(tab->rowNames(), names);
    }

    void channelListKeepsNewestFirst()
    {
        SidePanel panel;
        panel.resize(360, 600);
        panel.show();
        ChannelTab* tab = panel.getChannelTab();
        panel.setChannels({channel("a", 3000), channel("b", 2000), channel("c", 1000)});
        QCOMPARE(tab->rowIds(), QStringList({"a", "b", "c"}));

        // Added again: same place, new contents.
        ChannelInfo renamed = channel("b", 2000);
        renamed.setName(QStringLiteral("Renamed"));
        panel.addChannel(renamed);
        QCOMPARE(tab->rowIds(), QStringList({"a", "b", "c"}));
        QCOMPARE(tab->row("b")->getChannelInfo().getName(), QStringLiteral("Renamed"));

        // A new post in the third row puts it on top; others keep their order.
        panel.processMessage(post("c", "c1", 4000));
        QCOMPARE(tab->rowIds(), QStringList({"c", "a", "b"}));
        panel.processMessage(post("nobody", "x", 9000));
        QCOMPARE(tab->rowIds(), QStringList({"c", "a", "b"}));

        // A last message changed by the core moves the row to its place in time.
        panel.setChannelLastMessage(post("b", "b1", 5000));
        QCOMPARE(tab->rowIds(), QStringList({"b", "c", "a"}));
        // The same message sent again with an earlier time moves it down past
        // every later row, and the row is listed once.
        panel.setChannelLastMessage(post("b", "b1", 2500));
        QCOMPARE(tab->rowIds(), QStringList({"c", "a", "b"}));
        panel.setChannelLastMessage(post("a", "a-last", 10));
        QCOMPARE(tab->rowIds(), QStringList({"c", "b", "a"}));
        // An older message than the row's own changes nothing.
        panel.setChannelLastMessage(post("a", "old", 5));
        QCOMPARE(tab->row("a")->lastMessageText(), QStringLiteral("text of a-last"));
    }

    void channelFilterSelectionAndRemoval()
    {
        SidePanel panel;
        panel.resize(360, 600);
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        ChannelTab* tab = panel.getChannelTab();
        panel.setChannels({channel("news", 3), channel("sport", 2), channel("art", 1)});
        click(panel.getChannelButton());

        QLineEdit* search = panel.getSearchBar()->getInput();
        QTest::keyClicks(search, "zz");
        QVERIFY(tab->placeholderShown());
        for (const QString& id : tab->rowIds())
            QVERIFY(tab->row(id)->isHidden());
        search->clear();
        QVERIFY(!tab->placeholderShown());
        QTest::keyClicks(search, "SPO");
        QVERIFY(!tab->placeholderShown());
        QVERIFY(tab->row("news")->isHidden());
        QVERIFY(!tab->row("sport")->isHidden());
        search->clear();
        for (const QString& id : tab->rowIds())
            QVERIFY(!tab->row(id)->isHidden());

        QSignalSpy shown(&panel, &SidePanel::showChatWindow);
        click(tab->row("sport"));
        QCOMPARE(shown.count(), 1);
        QCOMPARE(shown.at(0).at(0).value<ChatWindow*>()->getChatId(), QStringLiteral("sport"));
        QCOMPARE(tab->selectedRow(), tab->row("sport"));
        QCOMPARE(tab->row("sport")->objectName(), QStringLiteral("ChatWidgetSelected"));
        click(tab->row("art"));
        QCOMPARE(tab->row("sport")->objectName(), QStringLiteral("ChatWidgetNormal"));

        // Removing the selected channel leaves nothing selected; showing the
        // list again then opens no conversation.
        panel.removeChannel("art");
        QCOMPARE(tab->rowIds(), QStringList({"news", "sport"}));
        QVERIFY(!tab->selectedRow());
        shown.clear();
        panel.buttonChatClicked();
        panel.buttonChannelClicked();
        QVERIFY(!shown.isEmpty());
        QCOMPARE(shown.last().at(0).value<ChatWindow*>(), static_cast<ChatWindow*>(nullptr));
    }

    void badgesCountUnmutedUnread()
    {
        SidePanel panel;
        panel.setChannels({channel("loud", 2, 2), channel("muted", 1, 3, true)});
        QCOMPARE(panel.getChannelTab()->getUnreadCount(), 2);
        QCOMPARE(panel.getChannelButton()->getUnreadCount(), 2);
        // A post counts as unread and refreshes the channel badge.
        panel.getChannelTab()->row("loud")->setUnreadCount(5);
        panel.processMessage(post("loud", "p", 9));
        QCOMPARE(panel.getChannelButton()->getUnreadCount(), 6);
        panel.removeChannel("loud");
        QCOMPARE(panel.getChannelButton()->getUnreadCount(), 0);
    }

    void tabButtonsAndSearch()
    {
        SidePanel panel;
        panel.resize(360, 600);
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        // The panel opens on the channel list.
        QCOMPARE(panel.getCurrentTab(), int(SidePanel::Channels));
        QVERIFY(panel.getChannelTab()->isVisible());
        for (QWidget* list :
             {static_cast<QWidget*>(panel.getChatTab()), static_cast<QWidget*>(panel.getGroupTab()),
              static_cast<QWidget*>(panel.getContactTab())})
            QVERIFY(!list->isVisible());
        QCOMPARE(panel.getChannelButton()->objectName(), QStringLiteral("TabButtonSelected"));
        QCOMPARE(panel.getChatButton()->objectName(), QStringLiteral("TabButtonUnSelected"));

        const QList<QPair<IconButtonUnreadCount*, QWidget*>> buttons{
            {panel.getChatButton(), panel.getChatTab()},
            {panel.getGroupButton(), panel.getGroupTab()},
            {panel.getContactButton(), panel.getContactTab()},
            {panel.getChannelButton(), panel.getChannelTab()}};
        for (const auto& entry : buttons) {
            click(entry.first);
            QVERIFY(entry.second->isVisible());
            QCOMPARE(entry.first->objectName(), QStringLiteral("TabButtonSelected"));
            for (const auto& other : buttons) {
                if (other.first != entry.first) {
                    QVERIFY(!other.second->isVisible());
                    QCOMPARE(other.first->objectName(), QStringLiteral("TabButtonUnSelected"));
                }
            }
        }

        // Searching the chat list, then a click on the chat button keeps the
        // search; switching lists clears it and leaves both lists unfiltered.
        ChatRecipient recipient;
        Contact c;
        c.setNumber("98");
        c.setNickName("Abby");
        recipient.setContact(c);
        panel.addChatRecipient(recipient);
        Contact d = c;
        d.setNumber("99");
        d.setNickName("Zed");
        recipient.setContact(d);
        panel.addChatRecipient(recipient);
        click(panel.getChatButton());
        QLineEdit* search = panel.getSearchBar()->getInput();
        QTest::keyClicks(search, "ab");
        QVERIFY(panel.getChatTab()->row("99")->isHidden());
        click(panel.getChatButton());
        QCOMPARE(search->text(), QStringLiteral("ab"));
        click(panel.getChannelButton());
        QVERIFY(search->text().isEmpty());
        QVERIFY(!panel.getChatTab()->row("99")->isHidden());

        // Joining a channel while the contacts are shown brings up the
        // channel list with the joined channel selected.
        panel.setChannels({channel("x", 1), channel("y", 2)});
        click(panel.getContactButton());
        QSignalSpy hidden(&panel, &SidePanel::hideContactDetails);
        panel.channelJoined("y");
        QCOMPARE(panel.getCurrentTab(), int(SidePanel::Channels));
        QVERIFY(panel.getChannelTab()->isVisible());
        QCOMPARE(panel.getChannelTab()->selectedRow(), panel.getChannelTab()->row("y"));
        QVERIFY(!hidden.isEmpty());
    }

    void channelPreviewJoinsOrReturns()
    {
        MessengerMainWindow window;
        window.resize(1000, 700);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QSignalSpy sent(&window, &MessengerMainWindow::command);
        ChannelLookup lookup;
        lookup.setId("big_news");
        lookup.setName("<b>Big</b> news");
        lookup.setMembersCount(1520);
        lookup.setDescription("<i>daily</i>");
        window.commandResponse(CMD_ChannelLookup, QVariant::fromValue(lookup));
        ChannelLookupViewer* viewer = window.getChannelLookupViewer();
        QTRY_VERIFY(viewer->isVisible());
        QVERIFY(viewer->width() >= 300 && viewer->height() >= 300);
        // Its own background over the dimmed window.
        QVERIFY(viewer->testAttribute(Qt::WA_StyledBackground));
        // Names and descriptions from the service show as written.
        QCOMPARE(viewer->nameLabel()->text(), QStringLiteral("<b>Big</b> news"));
        QCOMPARE(viewer->descriptionLabel()->text(), QStringLiteral("<i>daily</i>"));
        for (QLabel* label : {viewer->nameLabel(), viewer->descriptionLabel(), viewer->idLabel()})
            QCOMPARE(label->textFormat(), Qt::PlainText);
        QCOMPARE(viewer->idLabel()->text(), QStringLiteral("@big_news"));
        QCOMPARE(viewer->membersLabel()->text(),
                 QStringLiteral("1520 ") +
                     QCoreApplication::translate("ChannelLookupViewer", "_Members"));

        click(viewer->joinButton());
        QCOMPARE(sent.count(), 1);
        QCOMPARE(sent.at(0).at(0).toInt(), int(CMD_ChannelJoin));
        QCOMPARE(sent.at(0).at(1).toString(), QStringLiteral("big_news"));
        QTRY_VERIFY(!viewer->isVisible());

        // A second look-up replaces everything; Return only closes.
        ChannelLookup other;
        other.setId("small");
        other.setName("Small");
        other.setMembersCount(3);
        window.commandResponse(CMD_ChannelLookup, QVariant::fromValue(other));
        QTRY_VERIFY(viewer->isVisible());
        QCOMPARE(viewer->nameLabel()->text(), QStringLiteral("Small"));
        QCOMPARE(viewer->idLabel()->text(), QStringLiteral("@small"));
        QVERIFY(viewer->descriptionLabel()->text().isEmpty());
        QVERIFY(viewer->membersLabel()->text().startsWith("3 "));
        click(viewer->returnButton());
        QTRY_VERIFY(!viewer->isVisible());
        QCOMPARE(sent.count(), 1);
    }

    // However long the channel's description, the preview shows its start
    // in a few lines that end in "…" when it goes on, and stays inside the
    // window with its buttons; a short one shows whole.
    void channelPreviewCutsALongDescription_data()
    {
        QTest::addColumn<QString>("description");
        QTest::addColumn<bool>("cut");
        const QString words = QStringLiteral("news of the day from near and far ");
        QTest::newRow("short") << QStringLiteral("daily news") << false;
        QTest::newRow("a few lines") << QStringLiteral("first\nsecond\nthird") << false;
        QTest::newRow("many words") << words.repeated(60) << true;
        QTest::newRow("one endless word") << QStringLiteral("x").repeated(3000) << true;
        QTest::newRow("many short lines") << QStringLiteral("line\n").repeated(40) << true;
        QTest::newRow("Persian words")
            << QString::fromUtf8("اخبار روز از نزدیک و دور ").repeated(80) << true;
        QTest::newRow("a control in a long text")
            << words.repeated(3) + QChar(0x202E) + QStringLiteral("gnp.exe ") + words.repeated(30)
            << true;
    }
    void channelPreviewCutsALongDescription()
    {
        QFETCH(QString, description);
        QFETCH(bool, cut);
        MessengerMainWindow window;
        window.resize(1000, 700);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        ChannelLookup lookup;
        lookup.setId("wordy");
        lookup.setName("Wordy");
        lookup.setMembersCount(5);
        lookup.setDescription(description);
        window.commandResponse(CMD_ChannelLookup, QVariant::fromValue(lookup));
        ChannelLookupViewer* viewer = window.getChannelLookupViewer();
        QTRY_VERIFY(viewer->isVisible());
        QLabel* label = viewer->descriptionLabel();
        const QString shown = label->text();
        const QStringList lines = shown.split(QLatin1Char('\n'));
        QVERIFY2(lines.size() <= 5, qPrintable(shown));
        for (const QString& line : lines)
            QVERIFY2(label->fontMetrics().horizontalAdvance(line) <= label->width(),
                     qPrintable(line));
        QCOMPARE(shown.endsWith(QChar(0x2026)), cut);
        // What is shown is the description's start, as written (the lines
        // may break inside a word too long for one).
        QString plain = BidiText::unconfinedControls(shown);
        if (cut)
            plain.chop(1);
        const QRegularExpression blanks(QStringLiteral("\\s"));
        QVERIFY2(QString(description).remove(blanks).startsWith(QString(plain).remove(blanks)),
                 qPrintable(plain));
        if (!cut)
            QCOMPARE(plain, description);
        // Nothing of the preview is outside the window.
        const QRect inWindow(viewer->mapTo(&window, QPoint(0, 0)), viewer->size());
        QVERIFY2(window.rect().contains(inWindow), qPrintable(QStringLiteral("%1,%2 %3x%4")
                                                                  .arg(inWindow.x())
                                                                  .arg(inWindow.y())
                                                                  .arg(inWindow.width())
                                                                  .arg(inWindow.height())));
        for (QWidget* button : {static_cast<QWidget*>(viewer->joinButton()),
                                static_cast<QWidget*>(viewer->returnButton())}) {
            QVERIFY(button->isVisible());
            QVERIFY(viewer->rect().contains(button->geometry()));
        }
    }

    // The group and user previews: filled by the look-up answers and shown
    // over the window on a background of their own; the user's Send message
    // opens the chat with that person, the group's offers only Return.
    void groupAndUserPreviews_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("avatarSide");
        QTest::addColumn<QStringList>("buttons");
        const auto text = [](const char* context, const char* key) {
            return QCoreApplication::translate(context, key);
        };
        QTest::newRow("group") << "group" << 80
                               << QStringList{text("GroupLookupViewer", "_Return"),
                                              text("GroupLookupViewer", "_Join")};
        QTest::newRow("user") << "user" << 100
                              << QStringList{text("UserLookupViewer", "_SendMsg"),
                                             text("UserLookupViewer", "_Return")};
    }
    void groupAndUserPreviews()
    {
        QFETCH(QString, kind);
        QFETCH(int, avatarSide);
        QFETCH(QStringList, buttons);
        MessengerMainWindow window;
        window.resize(1000, 700);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QSignalSpy sent(&window, &MessengerMainWindow::command);
        LookupPreview* preview = kind == "group"
                                     ? static_cast<LookupPreview*>(window.getGroupLookupViewer())
                                     : window.getUserLookupViewer();
        QCOMPARE(preview->parentWidget(), &window);
        QVERIFY(preview->isHidden());
        QVERIFY(preview->testAttribute(Qt::WA_StyledBackground));

        const QSize side = scaleSize(QSize(avatarSide, avatarSide));
        QCOMPARE(preview->avatarViewer()->getAvatarSize(), side);
        QCOMPARE(preview->avatarViewer()->geometry().size(), side);
        QCOMPARE(QStringList({preview->firstButton()->text(), preview->secondButton()->text()}),
                 buttons);
        // Top to bottom: the avatar and three centred lines, then the buttons.
        QLayout* layout = preview->layout();
        QCOMPARE(layout->count(), 6);
        QCOMPARE(layout->itemAt(0)->widget(), preview->avatarViewer());
        for (int i = 0; i < 3; ++i) {
            QLabel* label = preview->textLabels().at(i);
            QCOMPARE(layout->itemAt(i + 1)->widget(), label);
            QCOMPARE(layout->itemAt(i + 1)->alignment(), Qt::AlignHCenter);
            QCOMPARE(label->textFormat(), Qt::PlainText);
        }
        QCOMPARE(layout->itemAt(0)->alignment(), Qt::AlignHCenter);
        QCOMPARE(layout->itemAt(4)->widget(), preview->firstButton());
        QCOMPARE(layout->itemAt(5)->widget(), preview->secondButton());

        auto lines = [preview] {
            QStringList shown;
            for (QLabel* label : preview->textLabels())
                shown << label->text();
            return shown;
        };
        if (kind == "group") {
            GroupLookup group;
            group.setJid("readers");
            group.setName("<b>Readers</b>");
            group.setMembersCount(7);
            group.setDescription("books");
            window.commandResponse(CMD_GroupLookup, QVariant::fromValue(group));
            QTRY_VERIFY(preview->isVisible());
            QCOMPARE(lines(), QStringList({"<b>Readers</b>",
                                           "7 " + QCoreApplication::translate("GroupLookupViewer",
                                                                              "_Members"),
                                           "books"}));
            // No command joins a group through a link: Return only.
            QVERIFY(window.getGroupLookupViewer()->joinButton()->isHidden());
            click(window.getGroupLookupViewer()->returnButton());
            QTRY_VERIFY(!preview->isVisible());
            QVERIFY(sent.isEmpty());
            return;
        }
        const QString number = QStringLiteral("989120000088");
        UserLookup user;
        user.setUserID(number);
        user.setUsername("reader88");
        user.setMotto("<i>hello</i>");
        window.commandResponse(CMD_UserLookup, QVariant::fromValue(user));
        QTRY_VERIFY(preview->isVisible());
        // Without a nickname the number names the person.
        QCOMPARE(lines(), QStringList({number, "@reader88", "<i>hello</i>"}));
        click(window.getUserLookupViewer()->returnButton());
        QTRY_VERIFY(!preview->isVisible());
        QVERIFY(!window.getSidePanel()->containsChat(number));

        window.commandResponse(CMD_UserLookup, QVariant::fromValue(user));
        QTRY_VERIFY(preview->isVisible());
        click(window.getUserLookupViewer()->sendMessageButton());
        QTRY_VERIFY(!preview->isVisible());
        QVERIFY(window.getSidePanel()->containsChat(number));
        QTRY_VERIFY(window.getContentPanel()->currentWidget() &&
                    window.getContentPanel()->currentWidget()->getChatId() == number);
    }

    // A chat with someone outside the address book: the row and the open
    // chat's title show the number until the profile arrives, then the
    // nickname as plain text.
    void strangersChatNamedByNumberThenNickname()
    {
        MessengerMainWindow window;
        window.resize(1000, 700);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QString number = QStringLiteral("989120000077");
        Contact stranger;
        stranger.setNumber(number);
        ChatRecipient recipient;
        recipient.setContact(stranger);
        recipient.setUnreadCount(1);
        click(window.getSidePanel()->getChatButton());
        window.commandResponse(CMD_ChatRecipientAdded, QVariant::fromValue(recipient));
        QTRY_VERIFY(window.getSidePanel()->getChatTab()->row(number));
        ChatWidget* row = window.getSidePanel()->getChatTab()->row(number);
        QCOMPARE(row->nameText(), PhoneText::number(number));
        click(row);
        QPointer<ChatWindow> chat = row->getChatWindow();
        QVERIFY(chat);
        QCOMPARE(chat->title()->titleText(), PhoneText::number(number));

        stranger.setMemberID(number);
        stranger.setNickName(QStringLiteral("<b>Nima</b> \u0646\u06cc\u0645\u0627"));
        recipient.setContact(stranger);
        window.commandResponse(CMD_ChatRecipientAdded, QVariant::fromValue(recipient));
        QCOMPARE(window.getSidePanel()->getChatTab()->row(number), row);
        QCOMPARE(row->nameText(), stranger.getNickName());
        QCOMPARE(chat->title()->titleText(), stranger.getNickName());
    }
};

QTEST_MAIN(TestSidePanel)
#include "tst_sidepanel.moc"
