// A store on a small tmpfs that fills up: every write the disk refuses is
// reported as failed (and counted for the thread), a write once space is back
// succeeds without closing the store, and everything reported as written
// reads back after the store is opened again, nothing reported as failed does.
// Mounts the tmpfs itself: needs root, skipped otherwise.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "smalldisk.h"

#include <qleveldb.h>

class TestStoreFullDisk : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void refusedWritesFailAndTheStoreWritesAgain_data();
    void refusedWritesFailAndTheStoreWritesAgain();

private:
    QTemporaryDir root;
    QString disk;
    SmallDisk small;
};

void TestStoreFullDisk::initTestCase()
{
    QVERIFY(root.isValid());
    disk = root.filePath("disk");
    QString why;
    if (!small.mount(disk, "4m", &why))
        QSKIP(qPrintable(why));
}

void TestStoreFullDisk::cleanupTestCase()
{
    small.unmount();
}

void TestStoreFullDisk::refusedWritesFailAndTheStoreWritesAgain_data()
{
    QTest::addColumn<int>("leftFree");
    QTest::addColumn<int>("valueBytes");
    // Nothing left, a few records' worth left (the disk fills in the middle
    // of one), and a page and a bit with records larger than a page.
    QTest::newRow("full") << 0 << 700;
    QTest::newRow("fills mid-record") << 5000 << 700;
    QTest::newRow("large records") << 6000 << 5000;
}

void TestStoreFullDisk::refusedWritesFailAndTheStoreWritesAgain()
{
    QFETCH(int, leftFree);
    QFETCH(int, valueBytes);
    const QString folder = disk + QStringLiteral("/store");
    QLevelDB::destroyDB(folder);
    const QString filler = disk + QStringLiteral("/filler");
    const QString room = disk + QStringLiteral("/room");
    QFile::remove(filler);
    QFile::remove(room);

    QStringList written;
    QStringList refused;
    {
        QLevelDB db;
        db.setFilename(folder);
        QCOMPARE(db.open(), QLevelDB::Ok);
        const auto write = [&](const QString& key) {
            const quint64 failedBefore = QLevelDB::writeFailures();
            const bool ok = db.putText(key.toUtf8(), QByteArray(valueBytes, 'v') + key.toUtf8());
            // A refused write is always reported, and counted, as such.
            QCOMPARE(QLevelDB::writeFailures() != failedBefore, !ok);
            (ok ? written : refused) << key;
        };
        for (int i = 0; i < 5; ++i)
            write(QStringLiteral("before %1").arg(i));
        // Room for leftFree bytes: a file of that size, made first and
        // removed once the rest of the disk is full.
        if (leftFree > 0) {
            QFile reserve(room);
            QVERIFY(reserve.open(QIODevice::WriteOnly));
            QCOMPARE(reserve.write(QByteArray(leftFree, 'r')), qint64(leftFree));
        }
        QVERIFY(SmallDisk::fill(filler));
        QFile::remove(room);
        for (int i = 0; i < 30; ++i)
            write(QStringLiteral("full %1").arg(i));
        QVERIFY2(!refused.isEmpty(), "the full disk took every write");
        // Space again: the store writes at once, without being reopened.
        QVERIFY(QFile::remove(filler));
        for (int i = 0; i < 20; ++i) {
            write(QStringLiteral("after %1").arg(i));
            QVERIFY2(written.last() == QStringLiteral("after %1").arg(i),
                     qPrintable(db.lastError()));
        }
        for (const QString& key : qAsConst(written)) {
            QByteArray value;
            QVERIFY2(db.getText(key.toUtf8(), &value), qPrintable(key));
        }
    }
    QLevelDB again;
    again.setFilename(folder);
    QCOMPARE(again.open(), QLevelDB::Ok);
    for (const QString& key : qAsConst(written)) {
        QByteArray value;
        QVERIFY2(again.getText(key.toUtf8(), &value), qPrintable(key + " lost after reopening"));
        QCOMPARE(value, QByteArray(valueBytes, 'v') + key.toUtf8());
    }
    for (const QString& key : qAsConst(refused))
        QVERIFY2(!again.exists(key.toUtf8()), qPrintable(key + " was refused but is stored"));
}

QTEST_GUILESS_MAIN(TestStoreFullDisk)
#include "tst_storefulldisk.moc"
