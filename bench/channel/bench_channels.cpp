// Channels at scale: 500 channels of 1,000 messages each (or the counts given
// as arguments). Loading the channel manager and building the sorted list
// open no message store; the figures are the loading time, the memory it
// takes and the file descriptors it holds, beside the same number of channel
// stores opened directly with LevelDB. Reading the newest page of every
// channel, which opens each store through the manager, is measured beside
// opening every store directly and reading the same page by hand (keys
// hashed and values decrypted as the store does).
//
// The stores are written once; each side then runs in a process of its own
// on a fresh copy of them, so that each pays its own first opening (the
// replay of every store's log) and neither reads what the other brought into
// memory. The sides take turns over three rounds; medians are printed.
#include "Managers/Channel/channelmanager.h"
#include "benchload.h"
#include "foundation/database.h"
#include "handreader.h"
#include "model/globalconstants.h"
#include "qleveldb.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <leveldb/db.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <unistd.h>

namespace {
const qint64 kStart = 1600000000000LL;
const int kPage = 20;
const int kRounds = 3;

QJsonObject channelObject(int i)
{
    return QJsonObject{{"ChannelID", QString("bench-channel-%1").arg(i)},
                       {"Name", QString("Channel %1").arg(i)},
                       {"Followed", "1"},
                       {"MyRole", "MEMBER"},
                       {"AvatarURL", ""},
                       {"AvatarThumbnailURL", ""},
                       {"Description", "a channel of the benchmark"},
                       {"MembersCount", "10"},
                       {"CreationDate", "1600000000"},
                       {"ReplyAllowed", "0"},
                       {"CategoryId", "1"}};
}

long residentKb()
{
    long pages = 0;
    long resident = 0;
    FILE* file = fopen("/proc/self/statm", "r");
    if (file) {
        if (fscanf(file, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        fclose(file);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

int openDescriptors()
{
    return QDir("/proc/self/fd").entryList(QDir::NoDotAndDotDot | QDir::AllEntries).size();
}

double msSince(const QElapsedTimer& timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

struct Cost
{
    double ms = 0;
    long kb = 0;
    int descriptors = 0;
};

// The time, the resident memory and the descriptors that work leaves behind.
Cost measure(const std::function<void()>& work)
{
    Cost cost;
    const long kb = residentKb();
    const int descriptors = openDescriptors();
    QElapsedTimer timer;
    timer.start();
    work();
    cost.ms = msSince(timer);
    cost.kb = residentKb() - kb;
    cost.descriptors = openDescriptors() - descriptors;
    return cost;
}

void fill(int channels, int messages)
{
    ChannelManager manager;
    manager.startLoading();
    QJsonArray list;
    for (int c = 0; c < channels; ++c)
        list << channelObject(c);
    manager.processReply(PROC_ChannelList,
                         QJsonObject{{"ChannelsCount", channels}, {"Channels", list}});
    for (int c = 0; c < channels; ++c) {
        const QString id = QString("bench-channel-%1").arg(c);
        for (int m = 0; m < messages; ++m) {
            Message message(MessageBase::MsgMajorType_ChannelChat, "owner", id,
                            QString("post %1 of channel %2 with a little text").arg(m).arg(c));
            message.setMessageId(QString("%1-%2").arg(id).arg(m));
            message.setSendTimeInGMT(kStart + qint64(c) * 7 + qint64(m) * 1000);
            message.setState(MessageBase::MsgState_Seen);
            manager.storeArrivedMessage(message);
        }
    }
}

Cost loadManager(std::unique_ptr<ChannelManager>* out, int* listed)
{
    return measure([&] {
        out->reset(new ChannelManager());
        (*out)->startLoading();
        *listed = (*out)->getChannelsSorted().size();
    });
}

QString channelId(int c)
{
    return QString("bench-channel-%1").arg(c);
}

QString storePath(int c)
{
    return DataBase::pathForName(Chat::storeName(channelId(c)));
}

Cost openDirectly(int channels, std::vector<std::unique_ptr<leveldb::DB>>* out)
{
    return measure([&] {
        for (int c = 0; c < channels; ++c) {
            leveldb::DB* db = nullptr;
            if (leveldb::DB::Open(QLevelDB::options(), storePath(c).toStdString(), &db).ok())
                out->emplace_back(db);
        }
    });
}

// Every store opened directly, its newest page read by hand.
Cost readEveryChannelByHand(int channels, int* read)
{
    return measure([&] {
        for (int c = 0; c < channels; ++c) {
            HandReader reader(storePath(c), QLevelDB::options());
            *read += reader.page(reader.newestCounter(), kPage).size();
        }
    });
}

Cost readEveryChannel(ChannelManager* manager, int channels, int* read)
{
    return measure([&] {
        for (int c = 0; c < channels; ++c) {
            MessageReply reply;
            manager->respondMessageRequest(
                MessageRequest(channelId(c), "", kPage, MessageBase::MsgMajorType_ChannelChat),
                &reply);
            *read += reply.getMsgs().size();
        }
    });
}

void print(const char* what, const Cost& cost)
{
    printf("%-44s %10.1f ms %10ld KiB %6d descriptors\n", what, cost.ms, cost.kb, cost.descriptors);
}

// ---- the child processes ----

void setUpData(const QString& dataHome)
{
    qputenv("XDG_DATA_HOME", dataHome.toUtf8());
    QCoreApplication::setOrganizationName("QuorvelBench");
    QCoreApplication::setApplicationName("Channels");
    QStandardPaths::setTestModeEnabled(false);
    GlobalConstants::setUserName("bench-user");
}

void printCost(const char* name, const Cost& cost)
{
    printf("%s %f %ld %d\n", name, cost.ms, cost.kb, cost.descriptors);
}

int childManager(int channels)
{
    std::unique_ptr<ChannelManager> manager;
    int listed = 0;
    const Cost loading = loadManager(&manager, &listed);
    int read = 0;
    const Cost pages = readEveryChannel(manager.get(), channels, &read);
    printCost("loading", loading);
    printCost("pages", pages);
    printf("listed %d\nread %d\n", listed, read);
    return 0;
}

int childDirect(int channels)
{
    std::vector<std::unique_ptr<leveldb::DB>> raw;
    const Cost direct = openDirectly(channels, &raw);
    const int opened = int(raw.size());
    raw.clear();
    printCost("direct", direct);
    printf("opened %d\n", opened);
    return 0;
}

int childPagesByHand(int channels)
{
    int read = 0;
    const Cost pages = readEveryChannelByHand(channels, &read);
    printCost("handPages", pages);
    printf("handRead %d\n", read);
    return 0;
}

// Runs this program in a role on the data folder and reads back its
// "name figures..." lines.
QHash<QString, QStringList> runChild(const QString& role, const QString& dataHome, int channels,
                                     int messages)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(),
                {role, dataHome, QString::number(channels), QString::number(messages)});
    child.waitForFinished(-1);
    QHash<QString, QStringList> lines;
    for (const QString& line : QString::fromUtf8(child.readAllStandardOutput()).split('\n')) {
        QStringList fields = line.split(' ', Qt::SkipEmptyParts);
        if (fields.size() >= 2)
            lines.insert(fields.takeFirst(), fields);
    }
    return lines;
}

bool copyFolder(const QString& from, const QString& to)
{
    return QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-a"), from, to}) == 0;
}

Cost costOf(const QStringList& fields)
{
    Cost cost;
    cost.ms = fields.value(0).toDouble();
    cost.kb = fields.value(1).toLong();
    cost.descriptors = fields.value(2).toInt();
    return cost;
}

Cost medianCost(std::vector<Cost> costs)
{
    if (costs.empty())
        return Cost();
    std::sort(costs.begin(), costs.end(), [](const Cost& a, const Cost& b) { return a.ms < b.ms; });
    return costs[costs.size() / 2];
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QString role = argc > 1 ? QString::fromUtf8(argv[1]) : QString();
    if (role.startsWith(QLatin1String("--")) && argc > 3) {
        setUpData(QString::fromUtf8(argv[2]));
        const int channels = atoi(argv[3]);
        const int messages = argc > 4 ? atoi(argv[4]) : 0;
        if (role == QLatin1String("--fill")) {
            fill(channels, messages);
            return 0;
        }
        if (role == QLatin1String("--manager"))
            return childManager(channels);
        if (role == QLatin1String("--direct"))
            return childDirect(channels);
        if (role == QLatin1String("--hand"))
            return childPagesByHand(channels);
        return 2;
    }

    printLoadAverage("start");
    const int channels = argc > 1 ? atoi(argv[1]) : 500;
    const int messages = argc > 2 ? atoi(argv[2]) : 1000;
    QTemporaryDir home;
    const QString written = home.path() + QStringLiteral("/written");
    QElapsedTimer timer;
    timer.start();
    runChild(QStringLiteral("--fill"), written, channels, messages);
    printf("%d channels x %d messages written in %.1f s\n", channels, messages,
           msSince(timer) / 1000);

    std::vector<Cost> loading, pages, direct, handPages;
    int listed = 0, read = 0, rawOpened = 0, handRead = 0;
    int copies = 0;
    const auto freshCopy = [&] {
        const QString copy = home.path() + QStringLiteral("/copy%1").arg(copies++);
        return copyFolder(written, copy) ? copy : QString();
    };
    for (int round = 0; round < kRounds; ++round) {
        // Each side on a copy of its own, the order turning every round.
        QStringList roles{QStringLiteral("--manager"), QStringLiteral("--direct"),
                          QStringLiteral("--hand")};
        std::rotate(roles.begin(), roles.begin() + round % roles.size(), roles.end());
        for (const QString& side : roles) {
            const QString copy = freshCopy();
            if (copy.isEmpty()) {
                printf("the stores could not be copied\n");
                return 1;
            }
            const QHash<QString, QStringList> figures = runChild(side, copy, channels, messages);
            if (side == QLatin1String("--manager")) {
                loading.push_back(costOf(figures.value("loading")));
                pages.push_back(costOf(figures.value("pages")));
                listed = figures.value("listed").value(0).toInt();
                read = figures.value("read").value(0).toInt();
            } else if (side == QLatin1String("--direct")) {
                direct.push_back(costOf(figures.value("direct")));
                rawOpened = figures.value("opened").value(0).toInt();
            } else {
                handPages.push_back(costOf(figures.value("handPages")));
                handRead = figures.value("handRead").value(0).toInt();
            }
            QDir(copy).removeRecursively();
        }
    }
    const Cost load = medianCost(loading);
    const Cost open = medianCost(direct);
    const Cost page = medianCost(pages);
    const Cost hand = medianCost(handPages);
    printf("each side in a process of its own on a fresh copy, medians of %d rounds\n", kRounds);
    print("loading and the sorted list (manager)", load);
    print("the same stores opened directly (LevelDB)", open);
    print("a page of 20 from every channel (manager)", page);
    print("the same pages read by hand (LevelDB)", hand);
    printf("channels listed %d, stores opened directly %d, messages read %d, by hand %d\n", listed,
           rawOpened, read, handRead);
    printf("loading / direct opening: time %.3f, descriptors %d vs %d\n",
           open.ms > 0 ? load.ms / open.ms : 0.0, load.descriptors, open.descriptors);
    printf("first pages / the same pages by hand: time %.2f\n",
           hand.ms > 0 ? page.ms / hand.ms : 0.0);
    printLoadAverage("end");
    const int expected = channels * qMin(messages, kPage);
    return listed == channels && read == expected && handRead == expected ? 0 : 1;
}
