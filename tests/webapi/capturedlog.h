#ifndef CAPTUREDLOG_H
#define CAPTUREDLOG_H

#include "foundation/simpleqtlogger.h"
#include "signallogger.h"

#include <QObject>
#include <QStringList>
#include <QtGlobal>

// Records every logger line (all levels, DEBUG included) and every Qt debug
// stream message while it exists, so tests can check what reached the logs.
class CapturedLog : public QObject
{
public:
    CapturedLog()
    {
        auto* logger = createSignalOnlyLogger(this, true);
        connect(logger, &simpleqtlogger::SimpleQtLogger::signalLog, this,
                [](const QString&, const QString&, const QString& text, simpleqtlogger::LogLevel,
                   const QString&, const QString&, unsigned int) { lines().append(text); });
        previous = qInstallMessageHandler([](QtMsgType, const QMessageLogContext&,
                                             const QString& text) { lines().append(text); });
    }
    ~CapturedLog() override { qInstallMessageHandler(previous); }

    static QStringList& lines()
    {
        static QStringList all;
        return all;
    }
    void clear() { lines().clear(); }
    // The first line holding text, or "" when none does.
    QString find(const QString& text) const
    {
        for (const QString& line : lines()) {
            if (line.contains(text))
                return line;
        }
        return QString();
    }
    bool contains(const QString& text) const { return !find(text).isEmpty(); }

private:
    QtMessageHandler previous = nullptr;
};

#endif // CAPTUREDLOG_H
