// Channels at scale: 500 channels of 1,000 messages each (or the counts given
// as arguments). Loading the channel manager and building the sorted list
// open no message store; the figures are the loading time, the memory it
// takes and the file descriptors it holds, beside the same number of channel
// stores opened directly with LevelDB in the same run. Reading a page of every
// channel, which opens each store through the manager, is measured as well.
#include "Managers/Channel/channelmanager.h"
#include "benchload.h"
#include "foundation/database.h"
#include "model/globalconstants.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <leveldb/db.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <unistd.h>

namespace {
const qint64 kStart = 1600000000000LL;

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

Cost openDirectly(int channels, std::vector<std::unique_ptr<leveldb::DB>>* out)
{
    return measure([&] {
        for (int c = 0; c < channels; ++c) {
            const QString path =
                DataBase::pathForName(Chat::storeName(QString("bench-channel-%1").arg(c)));
            leveldb::Options options;
            leveldb::DB* db = nullptr;
            if (leveldb::DB::Open(options, path.toStdString(), &db).ok())
                out->emplace_back(db);
        }
    });
}

Cost readEveryChannel(ChannelManager* manager, int channels, int* read)
{
    return measure([&] {
        for (int c = 0; c < channels; ++c) {
            MessageReply reply;
            manager->respondMessageRequest(MessageRequest(QString("bench-channel-%1").arg(c), "",
                                                          20,
                                                          MessageBase::MsgMajorType_ChannelChat),
                                           &reply);
            *read += reply.getMsgs().size();
        }
    });
}

void print(const char* what, const Cost& cost)
{
    printf("%-44s %10.1f ms %10ld KiB %6d descriptors\n", what, cost.ms, cost.kb, cost.descriptors);
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    printLoadAverage("start");
    const int channels = argc > 1 ? atoi(argv[1]) : 500;
    const int messages = argc > 2 ? atoi(argv[2]) : 1000;
    QTemporaryDir home;
    qputenv("XDG_DATA_HOME", home.path().toUtf8());
    QCoreApplication::setOrganizationName("QuorvelBench");
    QCoreApplication::setApplicationName("Channels");
    QStandardPaths::setTestModeEnabled(false);
    GlobalConstants::setUserName("bench-user");

    QElapsedTimer timer;
    timer.start();
    fill(channels, messages);
    printf("%d channels x %d messages written in %.1f s\n", channels, messages,
           msSince(timer) / 1000);

    std::unique_ptr<ChannelManager> manager;
    int listed = 0;
    const Cost loading = loadManager(&manager, &listed);
    std::vector<std::unique_ptr<leveldb::DB>> raw;
    const Cost direct = openDirectly(channels, &raw);
    const int rawOpened = int(raw.size());
    raw.clear();
    int read = 0;
    const Cost pages = readEveryChannel(manager.get(), channels, &read);

    print("loading and the sorted list (manager)", loading);
    print("the same stores opened directly (LevelDB)", direct);
    print("a page of 20 from every channel (manager)", pages);
    printf("channels listed %d, stores opened directly %d, messages read %d\n", listed, rawOpened,
           read);
    printf("loading / direct opening: time %.3f, descriptors %d vs %d\n",
           direct.ms > 0 ? loading.ms / direct.ms : 0.0, loading.descriptors, direct.descriptors);
    printf("first pages / direct opening: time %.2f\n", direct.ms > 0 ? pages.ms / direct.ms : 0.0);
    printLoadAverage("end");
    return listed == channels && read == channels * qMin(messages, 20) ? 0 : 1;
}
