// The single-instance guard across real processes, restarts that hand it on,
// its greeting bytes, and the log file at start-up.
#include "shell/logsetup.h"
#include "shell/singleapplicationprivate.h"

#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <signal.h>

class TestShellGuard : public QObject
{
    Q_OBJECT

private:
    QProcess* startProbe(const QStringList& arguments = {}, const QString& logPath = QString())
    {
        auto* probe = new QProcess(this);
        probe->setProgram(QStringLiteral(GUARD_PROBE));
        probe->setArguments(arguments);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("GUARD_PROBE_LOG"));
        if (!logPath.isEmpty())
            env.insert(QStringLiteral("GUARD_PROBE_LOG"), logPath);
        env.insert(QStringLiteral("GUARD_PROBE_PARENT"),
                   QString::number(QCoreApplication::applicationPid()));
        probe->setProcessEnvironment(env);
        probe->start();
        return probe;
    }
    static bool hasLine(const QByteArray& text, const QByteArray& line)
    {
        for (const QByteArray& l : text.split('\n')) {
            if (l == line || l.startsWith(line + ' '))
                return true;
        }
        return false;
    }
    // Waits for a line that is, or begins with, the given word, or the end.
    static bool waitForLine(QProcess* probe, const QByteArray& line)
    {
        QByteArray seen;
        for (int i = 0; i < 300; ++i) {
            seen += probe->readAllStandardOutput();
            if (hasLine(seen, line))
                return true;
            if (probe->state() == QProcess::NotRunning)
                return false;
            probe->waitForReadyRead(100);
        }
        return false;
    }
    static void stopProbe(QProcess* probe)
    {
        probe->closeWriteChannel();
        if (!probe->waitForFinished(15000))
            probe->kill();
        probe->waitForFinished(5000);
    }

private slots:
    void secondStartExitsAndRaisesTheFirst()
    {
        QProcess* first = startProbe();
        QVERIFY(waitForLine(first, "primary"));
        QProcess* second = startProbe();
        QVERIFY(second->waitForFinished(30000));
        QCOMPARE(second->exitStatus(), QProcess::NormalExit);
        QCOMPARE(second->exitCode(), 0);
        QVERIFY(!second->readAllStandardOutput().contains("primary"));
        QVERIFY(waitForLine(first, "raised"));
        stopProbe(first);
        QCOMPARE(first->exitCode(), 0);

        // A clean end releases the guard: the next start is primary.
        QProcess* third = startProbe();
        QVERIFY(waitForLine(third, "primary"));
        stopProbe(third);
    }

    void startAfterKilledPrimaryTakesOver()
    {
        QProcess* first = startProbe();
        QVERIFY(waitForLine(first, "primary"));
        first->kill(); // SIGKILL: the shared block stays behind, marked alive
        QVERIFY(first->waitForFinished(15000));

        QProcess* next = startProbe();
        QVERIFY2(waitForLine(next, "primary"), "a stale guard kept the program from starting");
        // And the new primary guards in its turn.
        QProcess* later = startProbe();
        QVERIFY(later->waitForFinished(30000));
        QCOMPARE(later->exitCode(), 0);
        QVERIFY(waitForLine(next, "raised"));
        stopProbe(next);
    }

    // The probe's shared log: its lines as (word, pid, rest).
    static QList<QByteArrayList> logLines(const QString& path)
    {
        QFile file(path);
        QList<QByteArrayList> lines;
        if (!file.open(QIODevice::ReadOnly))
            return lines;
        for (const QByteArray& raw : file.readAll().split('\n')) {
            if (raw.isEmpty())
                continue;
            // "primary <args> <pid>" or "raised <pid>": the pid is last.
            const int firstSpace = raw.indexOf(' ');
            const int lastSpace = raw.lastIndexOf(' ');
            const QByteArray rest =
                lastSpace > firstSpace ? raw.mid(firstSpace + 1, lastSpace - firstSpace - 1) : "";
            lines.append({raw.left(firstSpace), raw.mid(lastSpace + 1), rest});
        }
        return lines;
    }
    static bool processGone(qint64 pid) { return ::kill(pid_t(pid), 0) != 0; }

    void restartHandsTheGuardToTheNewProcess()
    {
        QTemporaryDir dir;
        const QString log = dir.filePath(QStringLiteral("probe.log"));
        const QStringList arguments{QStringLiteral("--alpha"), QStringLiteral("two words")};
        QProcess* first = startProbe(arguments, log);
        QVERIFY(waitForLine(first, "primary"));
        const QByteArray firstPid = QByteArray::number(first->processId());

        first->write("restart\n");
        // The first process quits once the new one has started.
        QVERIFY(first->waitForFinished(30000));
        QCOMPARE(first->exitCode(), 0);
        QTRY_COMPARE_WITH_TIMEOUT(logLines(log).size(), 2, 30000);
        const QByteArrayList restarted = logLines(log).at(1);
        QCOMPARE(restarted.at(0), QByteArray("primary"));
        QVERIFY(restarted.at(1) != firstPid);
        // The same arguments, each once, and not the program path again.
        QCOMPARE(restarted.at(2), QByteArray("--alpha|two words"));
        const qint64 newPid = restarted.at(1).toLongLong();

        // The new process holds the guard: a later start only greets it.
        QProcess* later = startProbe();
        QVERIFY(later->waitForFinished(30000));
        QCOMPARE(later->exitCode(), 0);
        QVERIFY(!later->readAllStandardOutput().contains("primary"));
        QTRY_COMPARE_WITH_TIMEOUT(logLines(log).size(), 3, 30000);
        QCOMPARE(logLines(log).at(2), (QByteArrayList{"raised", restarted.at(1), ""}));

        ::kill(pid_t(newPid), SIGKILL);
        QTRY_VERIFY_WITH_TIMEOUT(processGone(newPid), 30000);
    }

    void restartThatCannotStartKeepsTheGuard()
    {
        QProcess* first = startProbe();
        QVERIFY(waitForLine(first, "primary"));
        first->write("restart-missing\n");
        QVERIFY(waitForLine(first, "restart-failed"));
        QCOMPARE(first->state(), QProcess::Running);
        // The guard was taken back: a later start greets this process and ends.
        QProcess* later = startProbe();
        QVERIFY(later->waitForFinished(30000));
        QCOMPARE(later->exitCode(), 0);
        QVERIFY(waitForLine(first, "raised"));
        stopProbe(first);
        QCOMPARE(first->exitCode(), 0);
    }

    void logFileOpensWithoutDataFolder()
    {
        // A first start, or the one after a log-out removed the folder.
        QTemporaryDir home;
        const QByteArray previous = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", home.path().toLocal8Bit());
        const QString name = LogSetup::logFileName();
        QVERIFY(name.startsWith(home.path()));
        QVERIFY(!QFileInfo::exists(QFileInfo(name).absolutePath()));
        QVERIFY(LogSetup::setupLogSinks());
        QVERIFY(QFileInfo::exists(name));
        qputenv("XDG_DATA_HOME", previous);
    }

    void checksumText_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("length");
        QTest::newRow("empty") << QByteArray() << 1;
        QTest::newRow("greeting") << QByteArray(44, 'k') + "N" + QByteArray(4, '\0') << -1;
    }
    void checksumText()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, length);
        const quint16 sum = qChecksum(bytes.constData(), uint(bytes.size()));
        const QByteArray text = SingleApplicationPrivate::checksumText(bytes);
        QCOMPARE(text.size(), sum < 256 ? 1 : 2);
        if (length > 0)
            QCOMPARE(text.size(), length);
        const auto digit = [](int d) { return char(d < 10 ? d + 48 : (d + 87) % 256); };
        QCOMPARE(text.back(), digit(sum % 256));
        if (sum >= 256)
            QCOMPARE(text.front(), digit(sum / 256));
    }

    void greetingLayout()
    {
        const QString key(44, QLatin1Char('A'));
        const QByteArray bytes = SingleApplicationPrivate::greeting(key, 'N', 0x01020304);
        QCOMPARE(bytes.left(44), key.toLatin1());
        QCOMPARE(bytes.at(44), 'N');
        QCOMPARE(bytes.mid(45, 4), QByteArray("\x04\x03\x02\x01", 4));
        QCOMPARE(bytes.mid(49), SingleApplicationPrivate::checksumText(bytes.left(49)));
    }

    void keyIsBase64WithoutSlashes()
    {
        const QString key = SingleApplicationPrivate::deriveInstanceKey(1);
        QCOMPARE(key.size(), 44);
        QVERIFY(!key.contains(QLatin1Char('/')));
        QVERIFY(key != SingleApplicationPrivate::deriveInstanceKey(1 | 16));
    }
};

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Quorvel"));
    QCoreApplication::setApplicationName(QStringLiteral("Quorvel Desktop"));
    TestShellGuard test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_shellguard.moc"
