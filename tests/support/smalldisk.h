#ifndef SMALLDISK_H
#define SMALLDISK_H

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <fcntl.h>
#include <unistd.h>

// A small tmpfs a test mounts over a folder to make a disk run full. Mounting
// needs root: mount() says why it could not, for the test's skip message.
class SmallDisk
{
public:
    ~SmallDisk() { unmount(); }

    bool mount(const QString& folder, const QString& size, QString* why)
    {
        if (::geteuid() != 0) {
            *why = QStringLiteral("not root: cannot mount a small tmpfs");
            return false;
        }
        if (!QDir().mkpath(folder) ||
            !run(QStringLiteral("mount"),
                 {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                  QStringLiteral("size=") + size, QStringLiteral("tmpfs"), folder},
                 why)) {
            *why = QStringLiteral("cannot mount a tmpfs: ") + *why;
            return false;
        }
        mounted = folder;
        return true;
    }

    void unmount()
    {
        if (!mounted.isEmpty())
            run(QStringLiteral("umount"), {QStringLiteral("-l"), mounted});
        mounted.clear();
    }

    // Writes the file until the disk refuses more, to the last byte; false
    // when the disk refused nothing or the file could not be made.
    static bool fill(const QString& path)
    {
        const int fd =
            ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (fd < 0)
            return false;
        qint64 total = 0;
        const QByteArray block(16 * 1024, 'f');
        for (qint64 size : {qint64(block.size()), qint64(1)}) {
            ssize_t written;
            while ((written = ::write(fd, block.constData(), size_t(size))) > 0)
                total += written;
        }
        ::close(fd);
        return total > 0;
    }

private:
    static bool run(const QString& program, const QStringList& arguments, QString* output = nullptr)
    {
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(program, arguments);
        const bool done = process.waitForFinished(30000);
        if (output)
            *output = QString::fromLocal8Bit(process.readAll()).trimmed();
        return done && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    }

    QString mounted;
};

#endif // SMALLDISK_H
