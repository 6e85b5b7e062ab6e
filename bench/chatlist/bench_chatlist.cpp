// The chat list's rows, each figure beside a QListWidget doing the same work
// in the same run (Qt's own list: one item per chat with the chat's picture,
// name and last message, drawn by the list's delegate), right to left under
// the program's style sheet and Persian texts, as the program shows them:
// - 1,000 chats given to the shown list until every chat is held and the
//   list painted, the event loop running as it does after start-up (the
//   list widget holds its items at once, and is timed to its first paint);
// - a burst of 1,000 new messages queued as the core's answers come, each
//   routed to its row, which shows it and moves to the top, then one paint
//   (the list widget's item takes the text and moves to the top);
// - 5,000 chats against one: the list given until its first paint, the
//   difference being what the other 4,999 chats cost before the user sees
//   the list.
// Medians of several rounds, load average before and after.
//
//   bench_chatlist [rounds] [held|burst|first]   (a part alone: for profiling)
//   bench_chatlist shot FILE                     (a few rows of every look, saved)
//   bench_chatlist long-shot FILE                (1,000 rows after a burst, half way)
#include "benchhome.h"
#include "benchload.h"
#include "chat/chatwidget.h"
#include "shell/chattab.h"
#include "shell/stylesheetloader.h"
#include "widgets/avatarviewer.h"
#include "widgets/currentuser.h"
#include "widgets/fonts.h"
#include "widgets/interfacescale.h"

#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QListWidget>
#include <QScrollBar>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {
const qint64 kStart = 1600000000000LL;

double msSince(const QElapsedTimer& timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

QString number(int i)
{
    return QStringLiteral("98912%1").arg(i, 7, 10, QLatin1Char('0'));
}

QString nameOf(int i)
{
    return QString::fromUtf8("مخاطب شماره %1").arg(i);
}

Message messageFor(int chat, int i)
{
    Message m(MessageBase::MsgMajorType_SimpleChat, number(chat), number(chat),
              QString::fromUtf8("سلام، این پیام شماره %1 است با کمی متن در آن").arg(i));
    m.setMessageId(QStringLiteral("id_%1_%2").arg(chat).arg(i));
    m.setSendTimeInGMT(kStart + qint64(i) * 60000);
    m.setState(MessageBase::MsgState_Delivered);
    return m;
}

QList<ChatRecipient> recipients(int count)
{
    QList<ChatRecipient> list;
    for (int i = 0; i < count; ++i) {
        ChatRecipient r;
        Contact c;
        c.setNumber(number(i));
        c.setNickName(nameOf(i));
        r.setContact(c);
        r.setLastMsg(messageFor(i, i));
        r.setUnreadCount(i % 3);
        list << r;
    }
    return list;
}

// Runs the event loop until done() holds.
void spinUntil(const std::function<bool()>& done)
{
    while (!done())
        QApplication::processEvents(QEventLoop::AllEvents, 5);
}

// A top-level host as the program's side panel: right to left, the program's
// style sheet, the list filling it.
template <typename List> struct Host
{
    Host()
    {
        loadStyleSheet(&window);
        window.setLayoutDirection(Qt::RightToLeft);
        window.resize(400, 800);
        list = new List(&window);
        list->setGeometry(window.rect());
        window.show();
        QApplication::processEvents();
    }
    QWidget window;
    List* list;
};

// One item per chat, as a row shows it: the picture, the name above the
// last message.
void fillListWidget(QListWidget* widget, const QList<ChatRecipient>& list,
                    QHash<QString, QListWidgetItem*>* items = nullptr)
{
    for (const ChatRecipient& r : list) {
        const QPixmap avatar =
            AvatarViewer::defaultAvatar(AvatarViewer::Person, r.getContact().getNumber(),
                                        QSize(chatRowAvatarSize, chatRowAvatarSize));
        auto* item =
            new QListWidgetItem(QIcon(avatar), r.getContact().getNickName() + QLatin1Char('\n') +
                                                   r.getLastMsg().getMessageBody());
        item->setSizeHint(QSize(0, chatRowHeight));
        item->setData(Qt::UserRole, r.getContact().getNickName());
        widget->addItem(item);
        if (items)
            items->insert(r.getContact().getNumber(), item);
    }
}

void setUpListWidget(QListWidget* list)
{
    list->setIconSize(QSize(chatRowAvatarSize, chatRowAvatarSize));
    list->setUniformItemSizes(true);
    list->setTextElideMode(Qt::ElideRight);
}

// ---- the whole list held ----

double tabHolds(const QList<ChatRecipient>& list)
{
    Host<ChatTab> host;
    QElapsedTimer timer;
    timer.start();
    host.list->setChatRecipients(list);
    spinUntil([&] { return host.list->rowIds().size() >= list.size(); });
    QApplication::processEvents();
    host.window.repaint();
    return msSince(timer);
}

// ---- the first paint of a list of n ----

double tabFirstPaint(const QList<ChatRecipient>& list)
{
    Host<ChatTab> host;
    QElapsedTimer timer;
    timer.start();
    host.list->setChatRecipients(list);
    host.window.repaint();
    return msSince(timer);
}

// The list widget's items laid out and painted, as soon as they are in.
double listWidgetFirstPaint(const QList<ChatRecipient>& list)
{
    Host<QListWidget> host;
    setUpListWidget(host.list);
    QElapsedTimer timer;
    timer.start();
    fillListWidget(host.list, list);
    host.list->doItemsLayout();
    host.window.repaint();
    return msSince(timer);
}

// ---- a burst of updates ----

// The burst's messages queued at once, as the core's answers reach the
// window from its own thread, each taken by take(); then one paint.
double timeBurst(QWidget* window, QObject* list, int chats, int updates,
                 const std::function<void(const Message&)>& take)
{
    QElapsedTimer timer;
    timer.start();
    int handled = 0;
    for (int i = 0; i < updates; ++i) {
        const Message m = messageFor((i * 7919) % chats, chats + i);
        QMetaObject::invokeMethod(
            list,
            [&take, &handled, m] {
                take(m);
                ++handled;
            },
            Qt::QueuedConnection);
    }
    spinUntil([&] { return handled == updates; });
    QApplication::processEvents();
    window->repaint();
    return msSince(timer);
}

double tabBurst(const QList<ChatRecipient>& list, int updates)
{
    Host<ChatTab> host;
    host.list->setChatRecipients(list);
    host.list->rowIds(); // every row built
    QApplication::processEvents();
    return timeBurst(&host.window, host.list, list.size(), updates,
                     [&host](const Message& m) { host.list->processMessage(m); });
}

double listWidgetBurst(const QList<ChatRecipient>& list, int updates)
{
    Host<QListWidget> host;
    setUpListWidget(host.list);
    QHash<QString, QListWidgetItem*> items;
    fillListWidget(host.list, list, &items);
    QApplication::processEvents();
    return timeBurst(&host.window, host.list, list.size(), updates, [&](const Message& m) {
        QListWidgetItem* item = items.value(m.getChatId());
        item->setText(item->data(Qt::UserRole).toString() + QLatin1Char('\n') + m.getMessageBody());
        host.list->insertItem(0, host.list->takeItem(host.list->row(item)));
    });
}

// A few rows of every look: unread, many unread, muted, selected, without a
// message, names and messages too long for the row.
bool saveShot(const QString& file)
{
    Host<ChatTab> host;
    host.window.resize(340, 520);
    host.list->setGeometry(host.window.rect());
    const QDateTime now = QDateTime::currentDateTime();
    struct Look
    {
        QString name;
        QString text;
        int unread;
        bool muted;
        qint64 ago;
    };
    const QList<Look> looks{
        {QString::fromUtf8("سارا"), QString::fromUtf8("سلام، خوبی؟"), 3, false, 1},
        {QString::fromUtf8("علی رضایی نژاد از دفتر مرکزی شرکت در تهران"),
         QString::fromUtf8("این یک پیام بسیار طولانی است که باید در انتهای سطر کوتاه شود تا "
                           "زمان و نشان دیده شوند"),
         250, false, 2},
        {QString::fromUtf8("گروه خانواده (بی‌صدا)"), QString::fromUtf8("عکس"), 7,
         true, 3},
        {QStringLiteral("Nika Rezaei"), QStringLiteral("See you at 5, ok?"), 0, false, 4},
        {QStringLiteral("A very long Latin name that cannot fit in the row at all"),
         QStringLiteral("mixed متن and text"), 12, false, 60 * 24 * 3},
        {QString::fromUtf8("بدون پیام"), QString(), 0, false, 0},
    };
    QList<ChatRecipient> list;
    for (int i = 0; i < looks.size(); ++i) {
        const Look& look = looks.at(i);
        ChatRecipient r;
        Contact c;
        c.setNumber(number(i));
        c.setNickName(look.name);
        c.setMute(look.muted);
        r.setContact(c);
        if (!look.text.isEmpty()) {
            Message m = messageFor(i, i);
            m.setMessageBody(look.text);
            m.setSendTimeInGMT(now.addSecs(-look.ago * 60).toMSecsSinceEpoch());
            r.setLastMsg(m);
        }
        r.setUnreadCount(look.unread);
        list << r;
    }
    host.list->setChatRecipients(list);
    host.list->rowIds();
    host.list->row(number(3))->select();
    QApplication::processEvents();
    return host.window.grab().save(file);
}

// A long list scrolled half way, after a burst of messages moved rows about.
bool saveLongShot(const QString& file)
{
    Host<ChatTab> host;
    host.window.resize(340, 520);
    host.list->setGeometry(host.window.rect());
    const QList<ChatRecipient> list = recipients(1000);
    host.list->setChatRecipients(list);
    for (int i = 0; i < 300; ++i)
        host.list->processMessage(messageFor((i * 7919) % list.size(), list.size() + i));
    QApplication::processEvents();
    host.list->verticalScrollBar()->setValue(host.list->verticalScrollBar()->maximum() / 2);
    QApplication::processEvents();
    return host.window.grab().save(file);
}

void printRow(const char* what, double rows, double baseline)
{
    std::printf("%-50s %10.1f %10.1f %8.2f\n", what, rows, baseline,
                baseline > 0 ? rows / baseline : 0.0);
}
} // namespace

int main(int argc, char** argv)
{
    QTemporaryDir home;
    usePrivateHome(home);
    drawOffscreenUnlessTold();
    QApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    printLoadAverage("start");
    initInterfaceMetrics();
    app.setFont(Fonts::getFont(baseFontSize));
    currentUserName = QStringLiteral("me");
    const int rounds = argc > 1 ? qMax(1, QString::fromUtf8(argv[1]).toInt()) : 5;
    if (argc > 2 && QString::fromUtf8(argv[1]) == QLatin1String("shot"))
        return saveShot(QString::fromUtf8(argv[2])) ? 0 : 1;
    if (argc > 2 && QString::fromUtf8(argv[1]) == QLatin1String("long-shot"))
        return saveLongShot(QString::fromUtf8(argv[2])) ? 0 : 1;
    const QString part = argc > 2 ? QString::fromUtf8(argv[2]) : QString();
    if (part == QLatin1String("held"))
        return tabHolds(recipients(1000)) > 0 ? 0 : 1;
    if (part == QLatin1String("burst"))
        return tabBurst(recipients(1000), 1000) > 0 ? 0 : 1;
    if (part == QLatin1String("first"))
        return tabFirstPaint(recipients(5000)) > 0 ? 0 : 1;

    const QList<ChatRecipient> thousand = recipients(1000);
    const QList<ChatRecipient> many = recipients(5000);
    const QList<ChatRecipient> one = recipients(1);
    std::vector<double> holds, holdsBase, burst, burstBase, first5000, first1, first5000Base,
        first1Base;
    // The two sides take turns, so that neither has the machine to itself.
    for (int round = 0; round < rounds; ++round) {
        holds.push_back(tabHolds(thousand));
        holdsBase.push_back(listWidgetFirstPaint(thousand));
        burst.push_back(tabBurst(thousand, 1000));
        burstBase.push_back(listWidgetBurst(thousand, 1000));
        first5000.push_back(tabFirstPaint(many));
        first1.push_back(tabFirstPaint(one));
        first5000Base.push_back(listWidgetFirstPaint(many));
        first1Base.push_back(listWidgetFirstPaint(one));
    }
    std::printf("median of %d rounds (ms)%27s %10s %10s %8s\n", rounds, "", "rows", "list",
                "ratio");
    printRow("1,000 chats given until all held and painted", median(holds), median(holdsBase));
    printRow("burst of 1,000 updates to 1,000 rows", median(burst), median(burstBase));
    printRow("5,000 chats given until the first paint", median(first5000), median(first5000Base));
    printRow("one chat given until the first paint", median(first1), median(first1Base));
    printRow("5,000 chats above one", median(first5000) - median(first1),
             median(first5000Base) - median(first1Base));
    printLoadAverage("end");
    return 0;
}
