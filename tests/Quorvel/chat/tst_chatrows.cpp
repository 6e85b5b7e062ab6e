// Chat-list rows drawn by one widget each: where the parts land in either
// direction, what a long name or summary shows and what a search still finds,
// the texts shown after updates, and an avatar read only once its row is seen.
#include "chat/chatwidget.h"
#include "chat/chatwindow.h"
#include "inkbounds.h"
#include "shell/chattab.h"
#include "shell/stylesheetloader.h"
#include "webapi/FileApi/staticfile.h"
#include "widgets/currentuser.h"
#include "widgets/fonts.h"
#include "widgets/interfacescale.h"

#include <QDir>
#include <QFileInfo>
#include <QtTest>

namespace {
const QChar ellipsis(0x2026);

ChatRecipient recipient(const QString& number, const QString& name, const QString& text, int unread,
                        bool muted = false)
{
    Contact contact;
    contact.setNumber(number);
    contact.setNickName(name);
    contact.setMute(muted);
    ChatRecipient r;
    r.setContact(contact);
    if (!text.isEmpty()) {
        Message m(MessageBase::MsgMajorType_SimpleChat, number, number, text);
        m.setMessageId(QStringLiteral("last_") + number);
        m.setSendTimeInGMT(QDateTime::currentMSecsSinceEpoch());
        m.setState(MessageBase::MsgState_Delivered);
        r.setLastMsg(m);
    }
    r.setUnreadCount(unread);
    return r;
}

// The program's look: the style sheet, its font, the list's direction.
struct Host
{
    explicit Host(Qt::LayoutDirection direction)
    {
        loadStyleSheet(&window);
        window.setLayoutDirection(direction);
        window.resize(340, 60);
        row = new ChatWidget(&window);
        row->setObjectName(QStringLiteral("ChatWidgetNormal"));
        row->setGeometry(window.rect());
    }
    void show()
    {
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.repaint();
    }
    QWidget window;
    ChatWidget* row;
};

int textWidth(const QString& text)
{
    return QFontMetrics(Fonts::getFont(baseFontSize)).horizontalAdvance(text);
}
} // namespace

class TestChatRows : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        initInterfaceMetrics();
        currentUserName = QStringLiteral("me");
    }

    void partsKeepTheirPlaces_data()
    {
        QTest::addColumn<Qt::LayoutDirection>("direction");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("unread");
        QTest::addColumn<bool>("muted");
        const QString longPersian =
            QString::fromUtf8("علی رضایی نژاد از دفتر مرکزی شرکت در تهران و اصفهان و شیراز");
        QTest::newRow("rtl, Persian name cut, unread")
            << Qt::RightToLeft << longPersian << 250 << false;
        QTest::newRow("rtl, short name, muted")
            << Qt::RightToLeft << QString::fromUtf8("سارا") << 7 << true;
        QTest::newRow("rtl, Latin name cut, none unread")
            << Qt::RightToLeft << QStringLiteral("A very long Latin name that cannot fit at all")
            << 0 << false;
        QTest::newRow("ltr, Persian name cut, unread")
            << Qt::LeftToRight << longPersian << 3 << false;
    }
    // The avatar at the leading side, the name and summary beside it clear of
    // the time and badge, a name too long for its place shortened with an
    // ellipsis, and the badge drawn in its colour where it is said to be.
    void partsKeepTheirPlaces()
    {
        QFETCH(Qt::LayoutDirection, direction);
        QFETCH(QString, name);
        QFETCH(int, unread);
        QFETCH(bool, muted);
        Host host(direction);
        host.row->setChatRecipient(recipient(
            QStringLiteral("989120000001"), name,
            QString::fromUtf8(
                "پیامی بلند که در سطر کوتاه جا نمی‌شود و باید "
                "کوتاه "
                "شود تا زمان و نشان دیده شوند"),
            unread, muted));
        host.show();
        ChatWidget* row = host.row;
        const ChatRowFace::Places at = [&] {
            ChatRowFace face;
            face.setAvatarSize(chatRowAvatarSize);
            face.setBadgeHeight(baseFontSize);
            face.setName(row->nameText());
            face.setTime(row->timeText());
            face.setPreview(row->lastMessageText(), row->previewShown());
            face.setBadge(unread, muted);
            return face.places(row->rect(), Fonts::getFont(baseFontSize), direction);
        }();
        QCOMPARE(row->avatarRect(), at.avatar);
        QVERIFY(row->rect().contains(at.avatar));
        const bool avatarRight = at.avatar.center().x() > row->width() / 2;
        QCOMPARE(avatarRight, direction == Qt::RightToLeft);

        // Every text place lies on the far side of the avatar with a gap, and
        // no two places overlap.
        for (const QRect& place : {at.name, at.time, at.preview}) {
            QVERIFY(row->rect().contains(place));
            if (avatarRight)
                QVERIFY(at.avatar.left() - place.right() > 10);
            else
                QVERIFY(place.left() - at.avatar.right() > 10);
        }
        // The name and summary keep a gap from the time and badge beside
        // them, on whichever side those are.
        const auto gap = [](const QRect& a, const QRect& b) {
            return qMax(b.left() - a.right(), a.left() - b.right()) - 1;
        };
        QVERIFY(gap(at.name, at.time) >= ChatRowFace::partGap);
        if (unread > 0)
            QVERIFY(gap(at.preview, at.badge) >= ChatRowFace::partGap);
        QVERIFY(!at.name.intersects(at.preview));
        QCOMPARE(at.badge.isEmpty(), unread == 0);

        // Shortened to the place, the whole text kept for searches.
        QCOMPARE(row->nameText(), name);
        const QString shownName = row->shownName();
        QVERIFY(textWidth(shownName) <= at.name.width());
        if (textWidth(name) > at.name.width()) {
            QVERIFY2(shownName.endsWith(ellipsis), qPrintable(shownName));
            QVERIFY(name.startsWith(shownName.left(shownName.size() - 2)));
        } else {
            QCOMPARE(shownName, name);
        }
        QVERIFY(row->shownPreview().endsWith(ellipsis));
        QVERIFY(textWidth(row->shownPreview()) <= at.preview.width());

        // The time at the trailing end of the name's line.
        const QImage picture = row->grab().toImage();
        QVERIFY(!InkBounds::darkerThan(picture, 160, at.time).isEmpty());
        QVERIFY(!InkBounds::darkerThan(picture, 160, at.name).isEmpty());
        if (unread > 0) {
            const QColor fill = picture.pixelColor(at.badge.left() + 2, at.badge.center().y());
            QCOMPARE(fill, muted ? QColor(0x80, 0x80, 0x80) : QColor(0x40, 0xa7, 0xe3));
            QCOMPARE(row->unreadBadgeText(), QString::number(unread));
        }
        QCOMPARE(row->accessibleName(), name);
        QVERIFY(row->accessibleDescription().contains(row->lastMessageText()));
    }

    // A search matches the whole name and summary, also the words the row
    // cuts off.
    void searchFindsWordsTheRowCutsOff()
    {
        ChatTab tab;
        tab.setLayoutDirection(Qt::RightToLeft);
        loadStyleSheet(&tab);
        tab.resize(300, 400);
        const QString name = QStringLiteral("Someone with a very long name ending in Zanjani");
        tab.setChatRecipients(
            {recipient(QStringLiteral("989120000001"), name,
                       QStringLiteral("a summary long enough to be cut before its last word, "
                                      "Tabriz"),
                       1),
             recipient(QStringLiteral("989120000002"), QStringLiteral("Other"),
                       QStringLiteral("hello"), 0)});
        tab.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tab));
        tab.repaint();
        ChatWidget* row = tab.row(QStringLiteral("989120000001"));
        QVERIFY(!row->shownName().contains(QStringLiteral("Zanjani")));
        QVERIFY(!row->shownPreview().contains(QStringLiteral("Tabriz")));
        for (const QString& word : {QStringLiteral("zanjani"), QStringLiteral("TABRIZ")}) {
            tab.filterChats(word);
            QVERIFY(!row->isHidden());
            QVERIFY(tab.row(QStringLiteral("989120000002"))->isHidden());
            QVERIFY(!tab.placeholderShown());
        }
        tab.filterChats(QStringLiteral("nothing like it"));
        QVERIFY(tab.placeholderShown());
    }

    // What a row shows is measured once and kept; a change shows at the
    // next paint, however many came in between.
    void aRowShowsItsLatestTexts()
    {
        Host host(Qt::RightToLeft);
        const QString number = QStringLiteral("989120000001");
        host.row->setChatRecipient(
            recipient(number, QStringLiteral("First name"), QStringLiteral("first words"), 1));
        host.show();
        QCOMPARE(host.row->shownName(), QStringLiteral("First name"));
        QCOMPARE(host.row->shownPreview(), QStringLiteral("first words"));
        for (int i = 0; i < 30; ++i) {
            Message m(MessageBase::MsgMajorType_SimpleChat, number, number,
                      QStringLiteral("words %1").arg(i));
            m.setMessageId(QStringLiteral("n%1").arg(i));
            m.setSendTimeInGMT(QDateTime::currentMSecsSinceEpoch() + i);
            host.row->processMessage(m);
        }
        Contact renamed = host.row->getChatRecipient().getContact();
        renamed.setNickName(QStringLiteral("Second name"));
        host.row->setContact(renamed);
        QTRY_COMPARE(host.row->shownPreview(), QStringLiteral("words 29"));
        QCOMPARE(host.row->shownName(), QStringLiteral("Second name"));
        QCOMPARE(host.row->unreadBadgeText(), QStringLiteral("31"));
        // A wider row shows more of a long name without being told again.
        renamed.setNickName(QStringLiteral("A name that is far too long for a narrow row to hold"));
        host.row->setContact(renamed);
        host.window.resize(200, 60);
        host.row->setGeometry(host.window.rect());
        host.window.repaint();
        const QString narrow = host.row->shownName();
        QVERIFY(narrow.endsWith(ellipsis));
        host.window.resize(600, 60);
        host.row->setGeometry(host.window.rect());
        host.window.repaint();
        QVERIFY(host.row->shownName().size() > narrow.size());
    }

    // A thousand rows read no picture until they are seen: a row's avatar is
    // read when it is first painted, or when its chat is opened without it.
    void avatarIsReadOnceTheRowIsSeen()
    {
        const QString url = QStringLiteral("https://files.invalid/avatar/peer.png");
        const QString file =
            StaticFile::generateFileName(url, QString(), StaticFile::AvatarThumbnails);
        QVERIFY(QDir().mkpath(QFileInfo(file).absolutePath()));
        QImage picture(80, 80, QImage::Format_ARGB32);
        picture.fill(QColor(200, 30, 30));
        QVERIFY(picture.save(file, "PNG"));

        ChatRecipient r = recipient(QStringLiteral("989120000001"), QStringLiteral("Peer"),
                                    QStringLiteral("hi"), 0);
        Contact contact = r.getContact();
        contact.setAvatarThumbnailUrl(url);
        r.setContact(contact);

        Host seen(Qt::RightToLeft);
        seen.row->setChatRecipient(r);
        QVERIFY(seen.row->getChatRecipient().getContact().getAvThumbnail().isNull());
        seen.show();
        QTRY_VERIFY(!seen.row->getChatRecipient().getContact().getAvThumbnail().isNull());
        seen.window.repaint();
        const QRect avatar = seen.row->avatarRect();
        QCOMPARE(seen.row->grab().toImage().pixelColor(avatar.center()), QColor(200, 30, 30));

        // Opened from elsewhere before it was ever painted.
        ChatWidget unseen;
        unseen.setChatRecipient(r);
        QVERIFY(unseen.getChatRecipient().getContact().getAvThumbnail().isNull());
        QVERIFY(unseen.getChatWindow());
        QTRY_VERIFY(!unseen.getChatRecipient().getContact().getAvThumbnail().isNull());
    }
};

QTEST_MAIN(TestChatRows)
#include "tst_chatrows.moc"
