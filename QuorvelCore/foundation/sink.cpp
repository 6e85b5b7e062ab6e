#include "foundation/sink.h"

namespace simpleqtlogger {

Sink::Sink(QObject* parent)
    : QObject(parent), logFormat(QString::fromLatin1(DEFAULT_LOG_FORMAT)),
      logFormatInt(QString::fromLatin1(DEFAULT_LOG_FORMAT_INTERNAL))
{
}

void Sink::setLogFormat(const QString& logFormat, const QString& logFormatInt)
{
    this->logFormat = logFormat;
    this->logFormatInt = logFormatInt;
}

bool Sink::addLogFilter(const QRegularExpression& rx)
{
    if (!rx.isValid())
        return false;
    logFilters.append(rx);
    return true;
}

bool Sink::checkFilter(const QString& text) const
{
    if (logFilters.isEmpty())
        return true;
    for (const QRegularExpression& rx : logFilters) {
        if (rx.match(text).hasMatch())
            return true;
    }
    return false;
}

QString Sink::messageText(const QString& text, LogLevel logLevel)
{
    const QString trimmed = text.trimmed();
    if (!trimmed.isEmpty())
        return trimmed;
    return logLevel == LogLevel_FUNCTION ? QStringLiteral("-") : QStringLiteral("?");
}

QString Sink::formatLine(const QString& format, const QString& ts, const QString& tid,
                         const QString& text, LogLevel logLevel, const QString& functionName,
                         const QString& fileName, unsigned int lineNumber)
{
    const bool internal = logLevel == LogLevel_INTERNAL;
    const int levelIndex = logLevel >= LogLevel_FATAL && logLevel <= LogLevel_INTERNAL
                               ? int(logLevel)
                               : int(LogLevel_INTERNAL);
    QString out;
    out.reserve(format.size() + text.size() + functionName.size() + fileName.size() + 64);
    int pos = 0;
    while (pos < format.size()) {
        const int open = format.indexOf(QLatin1Char('<'), pos);
        if (open < 0) {
            out += QStringView(format).mid(pos);
            break;
        }
        out += QStringView(format).mid(pos, open - pos);
        const int close = format.indexOf(QLatin1Char('>'), open + 1);
        if (close < 0) {
            out += QStringView(format).mid(open);
            break;
        }
        const QStringView token = QStringView(format).mid(open + 1, close - open - 1);
        if (token == QLatin1String("TS"))
            out += ts;
        else if (token == QLatin1String("TID"))
            out += tid;
        else if (token == QLatin1String("TID32"))
            out += tid.right(8);
        else if (token == QLatin1String("LL"))
            out += QLatin1Char(LOG_LEVEL_CHARS[levelIndex]);
        else if (token == QLatin1String("TEXT"))
            out += text;
        else if (!internal && token == QLatin1String("FUNC"))
            out += functionName;
        else if (!internal && token == QLatin1String("FILE"))
            out += fileName;
        else if (!internal && token == QLatin1String("LINE"))
            out += QString::number(lineNumber);
        else {
            // Not a token: keep the '<' and look for a token after it.
            out += QLatin1Char('<');
            pos = open + 1;
            continue;
        }
        pos = close + 1;
    }
    return out;
}

bool Sink::buildLine(QString* line, const QString& ts, const QString& tid, const QString& text,
                     LogLevel logLevel, const QString& functionName, const QString& fileName,
                     unsigned int lineNumber, const QString* format) const
{
    if (!checkLogLevelsEnabled(logLevel) || !checkFilter(text))
        return false;
    const QString& tmpl = logLevel == LogLevel_INTERNAL ? logFormatInt
                          : format                      ? *format
                                                        : logFormat;
    *line = formatLine(tmpl, ts, tid, messageText(text, logLevel), logLevel, functionName, fileName,
                       lineNumber);
    return true;
}

} // namespace simpleqtlogger
