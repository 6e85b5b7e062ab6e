#include "coreprocess.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QTest>

CoreProcess::CoreProcess(const QString& name, const QProcessEnvironment& environment) : label(name)
{
    process.setProcessEnvironment(environment);
    process.setProgram(QStringLiteral(QUORVEL_CORE_CLI));
    process.setProcessChannelMode(QProcess::SeparateChannels);
    // The core's own diagnostics go to a file beside its data, not the test's output.
    process.setStandardErrorFile(environment.value("HOME") + QStringLiteral("/core-stderr.log"),
                                 QIODevice::Append);
    connect(&process, &QProcess::readyReadStandardOutput, this, &CoreProcess::readOutput);
}

CoreProcess::~CoreProcess()
{
    if (isRunning()) {
        process.kill();
        process.waitForFinished(5000);
    }
}

bool CoreProcess::start()
{
    process.start();
    return process.waitForStarted(10000);
}

bool CoreProcess::stop(int timeoutMs)
{
    if (!isRunning())
        return true;
    process.write("{\"quit\":true}\n");
    process.closeWriteChannel();
    QElapsedTimer timer;
    timer.start();
    while (isRunning() && timer.elapsed() < timeoutMs)
        QTest::qWait(50);
    readOutput();
    if (isRunning()) {
        process.kill();
        process.waitForFinished(5000);
        return false;
    }
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

void CoreProcess::send(int command, const QJsonValue& value)
{
    sendLine(QJsonObject{{"command", command}, {"value", value}});
}

void CoreProcess::sendLine(const QJsonObject& line)
{
    process.write(QJsonDocument(line).toJson(QJsonDocument::Compact) + '\n');
}

void CoreProcess::readOutput()
{
    pending.append(process.readAllStandardOutput());
    int end;
    while ((end = pending.indexOf('\n')) >= 0) {
        const QByteArray line = pending.left(end);
        pending.remove(0, end + 1);
        const QJsonDocument doc = QJsonDocument::fromJson(line);
        if (doc.isObject())
            output.append(doc.object());
    }
}

int CoreProcess::waitFor(const Match& match, int timeoutMs, int from)
{
    QElapsedTimer timer;
    timer.start();
    int next = from;
    for (;;) {
        for (; next < output.size(); ++next) {
            if (match(output.at(next)))
                return next;
        }
        if (timer.elapsed() >= timeoutMs || !isRunning())
            return -1;
        QTest::qWait(20);
    }
}

int CoreProcess::count(const Match& match, int from) const
{
    int n = 0;
    for (int i = from; i < output.size(); ++i)
        n += match(output.at(i)) ? 1 : 0;
    return n;
}

QString CoreProcess::tail(int count) const
{
    QStringList text;
    for (int i = qMax(0, output.size() - count); i < output.size(); ++i)
        text << QString::fromUtf8(QJsonDocument(output.at(i)).toJson(QJsonDocument::Compact))
                    .left(400);
    return label + QStringLiteral(" last lines:\n  ") + text.join(QStringLiteral("\n  "));
}

CoreProcess::Match CoreProcess::answer(int command)
{
    return [command](const QJsonObject& line) {
        return line.contains("command") && line.value("command").toInt() == command;
    };
}

CoreProcess::Match CoreProcess::event(const QString& name)
{
    return [name](const QJsonObject& line) { return line.value("event").toString() == name; };
}
