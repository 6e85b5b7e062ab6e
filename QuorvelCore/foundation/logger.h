#ifndef LOGGER_H
#define LOGGER_H

#include "foundation/quorvelcore_export.h"

#include <QByteArray>
#include <QFile>
#include <QString>

// A plain named log beside the main logger: "<name>.log" in the application
// data folder, one "yyyy/MM/dd hh:mm:ss | text" line per entry, flushed at once.
// A logger without a file (default constructed, bad name, open failed) drops
// every line silently.
class QUORVELCORE_EXPORT Logger
{
public:
    Logger() = default;
    explicit Logger(const QString& name);
    ~Logger();

    Logger(const Logger&) = delete;
    Logger& operator=(const Logger&) = delete;

    void log(const QString& text);
    Logger& operator<<(const QString& text);
    Logger& operator<<(const QByteArray& text);
    // The file is closed when the logger is destroyed.
    void close() {}

    bool isOpen() const { return file.isOpen(); }
    QString fileName() const { return file.fileName(); }

private:
    QFile file;
};

#endif // LOGGER_H
