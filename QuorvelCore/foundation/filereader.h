#ifndef FILEREADER_H
#define FILEREADER_H

#include "foundation/quorvelcore_export.h"

#include <QByteArray>
#include <QFutureWatcher>
#include <QObject>
#include <QString>
#include <QStringList>

// Reads whole files off the caller's thread, one at a time on Qt's global thread
// pool, in the order they were asked for; a path that is being read or already
// waits is not read twice. Each content comes back with its path, so listeners
// filter on their own path. A process-wide singleton.
class QUORVELCORE_EXPORT FileReader : public QObject
{
    Q_OBJECT
public:
    static FileReader* getInstance();
    // Cancels a running read, then deletes the reader.
    static void deleteInstance();

    void cancelFuture();

    // The whole file, or an empty array when it cannot be opened.
    static QByteArray readAll(const QString& filePath);

public slots:
    void readFile(const QString& filePath);

signals:
    void fileContentReady(const QString& filePath, const QByteArray& content);

private slots:
    void readingFinished();

private:
    explicit FileReader(QObject* parent = nullptr);
    void startReading();

    QString currentPath;
    QStringList queue;
    QFutureWatcher<QByteArray> watcher;

    static FileReader* instance;
};

#endif // FILEREADER_H
