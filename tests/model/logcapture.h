#ifndef LOGCAPTURE_H
#define LOGCAPTURE_H

#include "foundation/simpleqtlogger.h"
#include "signallogger.h"

#include <QObject>
#include <QStringList>

// Routes the process logger to its signal sink only and records the text of
// every line, so that a test can check that bad input was reported.
class LogCapture : public QObject
{
public:
    LogCapture()
    {
        auto* logger = createSignalOnlyLogger(this, false);
        connect(logger, &simpleqtlogger::SimpleQtLogger::signalLog, this,
                [this](const QString&, const QString&, const QString& text,
                       simpleqtlogger::LogLevel level, const QString&, const QString&,
                       unsigned int) {
                    if (level <= simpleqtlogger::LogLevel_WARNING)
                        warnings.append(text);
                });
    }

    // Warning (and worse) lines written since the last clear().
    QStringList warnings;
    void clear() { warnings.clear(); }
    bool logged(const QString& part) const
    {
        for (const QString& line : warnings) {
            if (line.contains(part))
                return true;
        }
        return false;
    }
};

#endif // LOGCAPTURE_H
