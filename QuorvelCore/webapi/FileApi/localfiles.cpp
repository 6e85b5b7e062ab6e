#include "webapi/FileApi/localfiles.h"

#include "foundation/simpleqtlogger.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

const char* const LocalFiles::kPartialPrefix = ".partial-";

namespace {

const int kMaxNameLength = 200;

bool isForbidden(QChar c)
{
    if (c.unicode() < 0x20 || c.unicode() == 0x7f)
        return true;
    switch (c.unicode()) {
    case '<':
    case '>':
    case ':':
    case '"':
    case '|':
    case '?':
    case '*':
        return true;
    default:
        return false;
    }
}

} // namespace

QString LocalFiles::safeFileName(const QString& name, const QString& fallback)
{
    QString text = name;
    text.replace(QLatin1Char('\\'), QLatin1Char('/'));
    text = text.mid(text.lastIndexOf(QLatin1Char('/')) + 1);

    QString clean;
    clean.reserve(text.size());
    for (const QChar c : qAsConst(text)) {
        if (!isForbidden(c))
            clean.append(c);
    }
    while (clean.startsWith(QLatin1Char('.')) || clean.startsWith(QLatin1Char(' ')))
        clean.remove(0, 1);
    while (clean.endsWith(QLatin1Char('.')) || clean.endsWith(QLatin1Char(' ')))
        clean.chop(1);
    if (clean.size() > kMaxNameLength) {
        const QString extension = safeExtension(QStringLiteral(".") + QFileInfo(clean).suffix());
        clean = clean.left(kMaxNameLength - extension.size()) + extension;
    }
    if (clean.isEmpty())
        return fallback;
    return clean;
}

QString LocalFiles::safeExtension(const QString& extension)
{
    if (!extension.startsWith(QLatin1Char('.')) || extension.size() < 2 || extension.size() > 17)
        return QString();
    for (int i = 1; i < extension.size(); ++i) {
        const QChar c = extension.at(i);
        const bool plain = (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
                           (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
                           (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
                           c == QLatin1Char('_') || c == QLatin1Char('-');
        if (!plain)
            return QString();
    }
    return extension;
}

QString LocalFiles::uniquePath(const QString& folder, const QString& name)
{
    const QDir dir(folder);
    if (!QFileInfo::exists(dir.filePath(name)))
        return dir.filePath(name);
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    const QString base = dot > 0 ? name.left(dot) : name;
    const QString extension = dot > 0 ? name.mid(dot) : QString();
    for (int n = 1;; ++n) {
        const QString candidate =
            dir.filePath(QStringLiteral("%1 (%2)%3").arg(base, QString::number(n), extension));
        if (!QFileInfo::exists(candidate))
            return candidate;
    }
}

bool LocalFiles::writeNewFile(const QString& path, const QByteArray& data)
{
    const QFileInfo info(path);
    QTemporaryFile file(info.absolutePath() + QLatin1Char('/') + QLatin1String(kPartialPrefix) +
                        QStringLiteral("XXXXXX"));
    if (!file.open()) {
        L_ERROR(QStringLiteral("LocalFiles::writeNewFile | cannot create a file in ") +
                info.absolutePath());
        return false;
    }
    if (file.write(data) != data.size() || !file.flush()) {
        L_ERROR(QStringLiteral("LocalFiles::writeNewFile | writing failed: ") + file.errorString());
        return false;
    }
    // QFile::rename never replaces an existing file.
    if (!file.rename(path)) {
        L_WARN(QStringLiteral("LocalFiles::writeNewFile | not placed at ") + path);
        return false;
    }
    file.setAutoRemove(false);
    return true;
}

bool LocalFiles::placeCopy(const QString& source, const QString& target)
{
    if (QFileInfo::exists(target))
        return false;
#ifdef Q_OS_UNIX
    if (::link(QFile::encodeName(source).constData(), QFile::encodeName(target).constData()) == 0)
        return true;
#endif
    // QFile::copy writes into a temporary file beside target and renames it.
    return QFile::copy(source, target);
}
