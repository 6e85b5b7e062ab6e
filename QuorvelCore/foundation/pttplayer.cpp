#include "foundation/pttplayer.h"

#include "foundation/desktopopener.h"
#include "foundation/simpleqtlogger.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

PTTPlayer* PTTPlayer::instance = nullptr;

PTTPlayer::PTTPlayer(QObject* parent) : QObject(parent) {}

PTTPlayer* PTTPlayer::getInstance()
{
    if (!instance)
        instance = new PTTPlayer();
    return instance;
}

void PTTPlayer::deleteInstance()
{
    delete instance;
    instance = nullptr;
}

QStringList PTTPlayer::audioExtensions()
{
    return {QStringLiteral("aac"), QStringLiteral("amr"),  QStringLiteral("flac"),
            QStringLiteral("m4a"), QStringLiteral("mp3"),  QStringLiteral("oga"),
            QStringLiteral("ogg"), QStringLiteral("opus"), QStringLiteral("spx"),
            QStringLiteral("wav"), QStringLiteral("wma")};
}

QStringList PTTPlayer::playableFolders()
{
    QStringList folders;
    const QStringList appData = QStandardPaths::standardLocations(QStandardPaths::AppDataLocation);
    if (!appData.isEmpty())
        folders << appData.first() + QStringLiteral("/Downloads");
    const QStringList downloads =
        QStandardPaths::standardLocations(QStandardPaths::DownloadLocation);
    if (!downloads.isEmpty())
        folders << downloads.first() + QStringLiteral("/Quorvel Downloads");
    return folders;
}

bool PTTPlayer::isPlayable(const QString& filePath)
{
    const QFileInfo info(filePath);
    if (!info.isFile() || !audioExtensions().contains(info.suffix().toLower()))
        return false;
    // Compare real locations, so neither ".." nor a link leads out of a folder.
    const QString real = info.canonicalFilePath();
    for (const QString& folder : playableFolders()) {
        const QString realFolder = QFileInfo(folder).canonicalFilePath();
        if (!realFolder.isEmpty() && real.startsWith(realFolder + QLatin1Char('/')))
            return true;
    }
    return false;
}

bool PTTPlayer::play(const QString& filePath)
{
    if (!isPlayable(filePath)) {
        L_WARN(QStringLiteral("PTTPlayer::play | refused: ") + filePath);
        return false;
    }
    return DesktopOpener::openUrl(QUrl::fromLocalFile(QFileInfo(filePath).canonicalFilePath()));
}

void PTTPlayer::pause(const QString& filePath)
{
    Q_UNUSED(filePath)
}
