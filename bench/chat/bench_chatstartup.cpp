// Start-up of the one-to-one chats with 1 and with 1,000 partners (or the
// count given as argument), five messages each: loading the chat manager and
// building the chat list (partners sorted by their newest message, with that
// message and the unread count of each), as the core does when the window
// asks for its list. Every figure comes from a process of its own, so no run
// reads what another one left in memory; the figure that matters is the time
// the larger account takes above the one-partner account.
#include "Managers/Chat/chatmanager.h"
#include "benchload.h"
#include "model/globalconstants.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
const int kMessagesPerChat = 5;
const int kRuns = 5;
const QString kMe = QStringLiteral("989120000000");

QString partner(int i)
{
    return QString::number(989300000000LL + i);
}

int fill(int chats)
{
    ChatManager manager;
    manager.startLoading();
    for (int i = 0; i < chats; ++i) {
        for (int j = 0; j < kMessagesPerChat; ++j) {
            const QString id = partner(i);
            Message message(MessageBase::MsgMajorType_SimpleChat, j % 2 ? kMe : id, id,
                            QStringLiteral("message %1 of %2").arg(j).arg(id));
            message.setMessageId(QStringLiteral("m_%1_%2").arg(id).arg(j));
            message.setSendTimeInGMT(1600000000000LL + 1000LL * i + j);
            message.setState(MessageBase::MsgState_Delivered);
            manager.addMessagePair(message);
        }
    }
    manager.aboutToQuit();
    return 0;
}

int load(int chats)
{
    QElapsedTimer timer;
    timer.start();
    ChatManager manager;
    manager.startLoading();
    const double loadMs = timer.nsecsElapsed() / 1e6;
    int listed = 0;
    int unread = 0;
    for (const QString& id : manager.getRecipientsSorted()) {
        Message last;
        if (manager.getLastMsg(id, &last))
            ++listed;
        unread += manager.getUnreadCount(id);
    }
    const double totalMs = timer.nsecsElapsed() / 1e6;
    if (listed != chats)
        std::fprintf(stderr, "listed %d of %d chats (unread %d)\n", listed, chats, unread);
    std::printf("%f %f\n", loadMs, totalMs);
    manager.aboutToQuit();
    return 0;
}

QList<double> runChild(const QString& home, const QStringList& arguments)
{
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home);
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/data"));
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), arguments);
    child.waitForFinished(-1);
    QList<double> figures;
    for (const QByteArray& field : child.readAllStandardOutput().trimmed().split(' '))
        figures.append(field.toDouble());
    return figures;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    GlobalConstants::setUserName(kMe);
    const QString mode = argc > 2 ? QString::fromUtf8(argv[1]) : QString();
    if (mode == QLatin1String("fill"))
        return fill(QByteArray(argv[2]).toInt());
    if (mode == QLatin1String("load"))
        return load(QByteArray(argv[2]).toInt());
    printLoadAverage("start");

    const int many = argc > 1 ? QByteArray(argv[1]).toInt() : 1000;
    double loadMs[2] = {0, 0};
    double listMs[2] = {0, 0};
    const int sizes[2] = {1, many};
    for (int s = 0; s < 2; ++s) {
        QTemporaryDir home;
        const QString count = QString::number(sizes[s]);
        runChild(home.path(), {QStringLiteral("fill"), count});
        std::vector<double> loads, lists;
        for (int run = 0; run < kRuns; ++run) {
            const QList<double> figures = runChild(home.path(), {QStringLiteral("load"), count});
            if (figures.size() != 2)
                return 1;
            loads.push_back(figures[0]);
            lists.push_back(figures[1]);
        }
        loadMs[s] = median(loads);
        listMs[s] = median(lists);
    }
    std::printf("chat start-up, %d messages per partner, medians of %d processes each\n",
                kMessagesPerChat, kRuns);
    std::printf("%-36s %12s %12s %12s\n", "", "1 partner", "partners", "difference");
    std::printf("%-36s %12.2f %12.2f %12.2f\n", "loading, ms", loadMs[0], loadMs[1],
                loadMs[1] - loadMs[0]);
    std::printf("%-36s %12.2f %12.2f %12.2f\n", "loading and the chat list, ms", listMs[0],
                listMs[1], listMs[1] - listMs[0]);
    std::printf("(%d partners; goal: the difference under 100 ms)\n", many);
    printLoadAverage("end");
    return 0;
}
