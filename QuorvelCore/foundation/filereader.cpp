#include "foundation/filereader.h"
#include "foundation/simpleqtlogger.h"

#include "foundation/pooltask.h"

#include <QFile>

FileReader* FileReader::instance = nullptr;

FileReader::FileReader(QObject* parent) : QObject(parent)
{
    connect(&watcher, &QFutureWatcher<QByteArray>::finished, this, &FileReader::readingFinished);
}

FileReader* FileReader::getInstance()
{
    if (!instance)
        instance = new FileReader();
    return instance;
}

void FileReader::deleteInstance()
{
    if (!instance)
        return;
    instance->cancelFuture();
    delete instance;
    instance = nullptr;
}

void FileReader::readFile(const QString& filePath)
{
    if (filePath.isEmpty())
        return;
    if (currentPath.isEmpty()) {
        currentPath = filePath;
        startReading();
        return;
    }
    if (filePath != currentPath && !queue.contains(filePath))
        queue.append(filePath);
}

void FileReader::startReading()
{
    const QString path = currentPath;
    watcher.setFuture(runOnGlobalPool<QByteArray>([path]() { return readAll(path); }));
}

QByteArray FileReader::readAll(const QString& filePath)
{
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    const QByteArray content = file.readAll();
    file.close();
    return content;
}

void FileReader::readingFinished()
{
    // A cancelled read has no result: its content is dropped.
    if (!watcher.isCanceled() && watcher.future().resultCount() > 0)
        emit fileContentReady(currentPath, watcher.result());
    currentPath.clear();
    if (!queue.isEmpty()) {
        currentPath = queue.takeFirst();
        startReading();
    }
}

void FileReader::cancelFuture()
{
    L_DEBUG(QStringLiteral("FileReader::cancelFuture"));
    if (watcher.isRunning()) {
        L_DEBUG(QStringLiteral("FileReader::cancelFuture | running"));
        watcher.cancel();
    }
}
