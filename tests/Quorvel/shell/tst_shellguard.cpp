// The single-instance guard across real processes, and its greeting bytes.
#include "shell/singleapplicationprivate.h"

#include <QProcess>
#include <QSignalSpy>
#include <QtTest>

class TestShellGuard : public QObject
{
    Q_OBJECT

private:
    QProcess* startProbe()
    {
        auto* probe = new QProcess(this);
        probe->setProgram(QStringLiteral(GUARD_PROBE));
        probe->start();
        return probe;
    }
    // Waits for the probe's line or its end.
    static bool waitForLine(QProcess* probe, const QByteArray& line)
    {
        QByteArray seen;
        for (int i = 0; i < 300; ++i) {
            seen += probe->readAllStandardOutput();
            if (seen.split('\n').contains(line))
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

QTEST_GUILESS_MAIN(TestShellGuard)
#include "tst_shellguard.moc"
