#include "webapi/FileApi/staticfile.h"

#include "foundation/filereader.h"
#include "foundation/simpleqtlogger.h"
#include "model/globalconstants.h"
#include "webapi/FileApi/downloader.h"
#include "webapi/FileApi/downloadmanager.h"
#include "webapi/FileApi/filehost.h"
#include "webapi/FileApi/localfiles.h"
#include "webapi/GeneralApi/clientinfoprovider.h"
#include "webapi/GeneralApi/packetgenerator.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDebug>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>
#include <QVector>

StaticFile::StaticFile(QObject* parent) : QObject(parent) {}

// ---- folders and names ----------------------------------------------------

QDir StaticFile::cdIntoDir(QDir dir, const QString& name)
{
    dir.mkpath(name);
    dir.cd(name);
    return dir;
}

QDir StaticFile::getDownloadDir(StoragePath path)
{
    if (path == Downloads) {
        const QStringList locations =
            QStandardPaths::standardLocations(QStandardPaths::DownloadLocation);
        QDir root(locations.isEmpty() ? QDir::homePath() : locations.first());
        return cdIntoDir(root, QStringLiteral("Quorvel Downloads"));
    }
    const QStringList locations =
        QStandardPaths::standardLocations(QStandardPaths::AppDataLocation);
    QDir dir(locations.isEmpty() ? QDir::homePath() : locations.first());
    dir = cdIntoDir(dir, QStringLiteral("Downloads"));
    switch (path) {
    case AvatarThumbnails:
        return cdIntoDir(dir, QStringLiteral("Avatar Thumbnails"));
    case Stickers:
        return cdIntoDir(dir, QStringLiteral("Stickers"));
    case MessageThumbnails:
        return cdIntoDir(dir, QStringLiteral("Message Thumbnails"));
    case PushToTalk:
        return cdIntoDir(dir, QStringLiteral("Push To Talk"));
    default:
        return cdIntoDir(dir, QStringLiteral("Others"));
    }
}

DownloadManager* StaticFile::managerFor(StoragePath path)
{
    switch (path) {
    case AvatarThumbnails:
        return DownloadManager::getAvatarThumbnailInstance();
    case Stickers:
        return DownloadManager::getStickerInstance();
    case MessageThumbnails:
        return DownloadManager::getMessageThumbnailInstance();
    default:
        return DownloadManager::getInstance();
    }
}

QString StaticFile::getFileName(const QString& url)
{
    return QUrl(url).fileName();
}

QString StaticFile::extractFileExtention(const QString& name)
{
    const QStringList pieces = name.split(QLatin1Char('.'), Qt::SkipEmptyParts);
    if (pieces.size() >= 2)
        return QStringLiteral(".") + pieces.last();
    return QString();
}

QString StaticFile::getFileLocalName(const QString& name, StoragePath path)
{
    const QDir dir = getDownloadDir(path);
    const QString safeName = LocalFiles::safeFileName(name);
    if (!extractFileExtention(safeName).isEmpty())
        return dir.filePath(safeName);
    // A file kept before under this name with the extension its server gave.
    const QString prefix = safeName + QLatin1Char('.');
    const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden, QDir::Name);
    for (const QString& entry : entries) {
        if (entry.startsWith(prefix) && entry.size() > prefix.size() &&
            !entry.mid(prefix.size()).contains(QLatin1Char('.')))
            return dir.filePath(entry);
    }
    return dir.filePath(safeName);
}

QString StaticFile::generateFileName(const QString& url, const QString& id, StoragePath path)
{
    QString name;
    if (id.isEmpty())
        name = getFileName(url);
    else
        name = id +
               (url.endsWith(QLatin1String("thumbnail")) ? QStringLiteral("thumbnail") : QString());
    if (LocalFiles::safeFileName(name, QString()).isEmpty()) {
        // No usable name in the address: name the file after the address itself.
        const QByteArray digest = QCryptographicHash::hash(url.toUtf8(), QCryptographicHash::Sha1);
        name = QStringLiteral("file_") + QString::fromLatin1(digest.toHex().left(16));
    }
    return getFileLocalName(name, path);
}

QString StaticFile::generateFileName(const FileMessage& message, StoragePath path)
{
    return generateFileName(message.getFileUrl(),
                            message.isStatic() ? QString() : message.getFileId(), path);
}

QString StaticFile::generateDownloadedFileName(const FileMessage& message, StoragePath path)
{
    const QDir dir = getDownloadDir(path);
    const QString tail =
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy_MM_dd-hh_mm_ss_zzz")) +
        QLatin1Char('_') + ClientInfoProvider::generateNonce(3);
    QString name;
    switch (message.getFileType()) {
    case FileMessage::MsgFileType_Image:
        name = QStringLiteral("image_") + tail;
        break;
    case FileMessage::MsgFileType_Video:
        name = QStringLiteral("video_") + tail;
        break;
    case FileMessage::MsgFileType_Gif:
        name = QStringLiteral("gif_") + tail;
        break;
    case FileMessage::MsgFileType_PushToTalk:
        name = QStringLiteral("voice_") + tail;
        break;
    default:
        name = LocalFiles::safeFileName(message.getFileName(), QString());
        if (name.isEmpty())
            name = QStringLiteral("file_") + tail;
        return LocalFiles::uniquePath(dir.absolutePath(), name);
    }
    QString extension =
        LocalFiles::safeExtension(extractFileExtention(getFileName(message.getFileUrl())));
    if (extension.isEmpty())
        extension = extractFileExtention(QFileInfo(getFileLocalName(name, path)).fileName());
    return LocalFiles::uniquePath(dir.absolutePath(), name + extension);
}

QString StaticFile::contentDispositionFileName(const QString& contentDisposition)
{
    const int at = contentDisposition.indexOf(QLatin1String("filename="), 0, Qt::CaseInsensitive);
    if (at < 0)
        return QString();
    QString value = contentDisposition.mid(at + 9).trimmed();
    if (value.startsWith(QLatin1Char('"'))) {
        const int end = value.indexOf(QLatin1Char('"'), 1);
        value = end > 0 ? value.mid(1, end - 1) : value.mid(1);
    } else {
        const int end = value.indexOf(QLatin1Char(';'));
        if (end >= 0)
            value = value.left(end);
    }
    value.remove(QLatin1Char('"'));
    return value.trimmed();
}

// ---- existence -------------------------------------------------------------

bool StaticFile::fileExists(const QString& url, const QString& id, StoragePath path) const
{
    return QFileInfo::exists(generateFileName(url, id, path));
}

bool StaticFile::isFileDownloaded(const FileMessage& message, StoragePath path) const
{
    if (!message.getFilePath().isEmpty() && QFileInfo::exists(message.getFilePath()))
        return true;
    return fileExists(message.getFileUrl(), message.isStatic() ? QString() : message.getFileId(),
                      path);
}

bool StaticFile::isThumbnailDownloaded(const FileMessage& message) const
{
    return fileExists(message.getFileThumbnailUrl(),
                      message.isStatic() ? QString() : message.getFileId(), MessageThumbnails);
}

// ---- starting --------------------------------------------------------------

bool StaticFile::imageFlagFor(StoragePath path, bool given)
{
    switch (path) {
    case AvatarThumbnails:
    case Stickers:
    case MessageThumbnails:
        return true;
    case PushToTalk:
    case Others:
        return false;
    default:
        return given;
    }
}

void StaticFile::setFileUrl(const QString& path)
{
    fileUrl = path;
}

bool StaticFile::setUrl(const QString& newUrl, StaticFileMode newMode, StoragePath path, bool image)
{
    return load(newUrl, QString(), newMode, path, image, false);
}

bool StaticFile::setUrlAndID(const QString& newUrl, const QString& id, StaticFileMode newMode,
                             StoragePath path, bool image)
{
    return load(newUrl, id, newMode, path, image, newUrl.contains(QLatin1String("static_file")));
}

bool StaticFile::load(const QString& newUrl, const QString& id, StaticFileMode newMode,
                      StoragePath path, bool image, bool staticForm)
{
    if (newUrl.isEmpty())
        return false;
    source.clear();
    storagePath = path;
    isImage = imageFlagFor(path, image);
    freshName = false;
    setFileUrl(generateFileName(newUrl, id, path));
    mode = newMode;
    if (mode == LocalFirst && QFileInfo::exists(fileUrl)) {
        stopListening(); // what was on its way before is no longer wanted
        readFileContent(fileUrl);
        return true;
    }
    if (staticForm)
        return startStaticFileDownload(newUrl);
    startDownload(newUrl, false);
    return false;
}

bool StaticFile::setFileMessage(const FileMessage& message, StaticFileMode newMode,
                                StoragePath path, bool image)
{
    const QString remote =
        path == MessageThumbnails ? message.getFileThumbnailUrl() : message.getFileUrl();
    // Asked again for the file already on its way: that download answers, into
    // the place chosen for it.
    if (isDownloading() && path == storagePath && newMode == mode && remote == source) {
        L_DEBUG(QStringLiteral("StaticFile::setFileMessage | already under way: ") +
                FileHost::loggable(QUrl(url)));
        return false;
    }
    fileMessage = message;
    storagePath = path;
    isImage = imageFlagFor(path, image);
    mode = newMode;
    source = remote;
    if (path == MessageThumbnails) {
        freshName = false;
        setFileUrl(generateFileName(remote, message.isStatic() ? QString() : message.getFileId(),
                                    MessageThumbnails));
    } else {
        QString local = message.getFilePath();
        freshName = false;
        if (local.isEmpty() || !isFileDownloaded(message, path)) {
            local = generateDownloadedFileName(message, path);
            fileMessage.setFilePath(local);
            freshName = true;
        }
        setFileUrl(local);
    }
    if (mode == LocalFirst && QFileInfo::exists(fileUrl)) {
        stopListening(); // what was on its way before is no longer wanted
        readFileContent(fileUrl);
        return true;
    }
    if (remote.isEmpty())
        return false;
    if (message.isStatic())
        startStaticFileDownload(remote);
    else
        startDownload(remote, false);
    return false;
}

bool StaticFile::startStaticFileDownload(const QString& baseUrl)
{
    const QString userName = GlobalConstants::getUserName();
    const QString token = GlobalConstants::getToken();
    if (userName.isEmpty() || token.isEmpty()) {
        emit downloadError(QStringLiteral("Please set user name and token."));
        return false;
    }
    const QString hashMethod = GlobalConstants::getHashMethod();
    const QString requestId = PacketGenerator::generateRequestID(userName);
    const QString authValue =
        PacketGenerator::getAuthValue((userName + requestId).toLocal8Bit(), token, hashMethod);
    startDownload(baseUrl + QLatin1Char('/') + userName + QLatin1Char('/') + hashMethod +
                      QLatin1Char('/') + authValue + QLatin1Char('/') + requestId,
                  true);
    return false;
}

void StaticFile::startDownload(const QString& requestUrl, bool withUserAgent)
{
    QNetworkRequest request =
        withUserAgent ? FileHost::request(QUrl(requestUrl)) : QNetworkRequest(QUrl(requestUrl));
    if (expectsFile())
        request.setAttribute(Downloader::SpoolFolderAttribute, QFileInfo(fileUrl).absolutePath());
    url = request.url().toString();

    if (manager)
        manager->disconnect(this);
    manager = managerFor(storagePath);
    connect(manager, &DownloadManager::downloadProgress, this, &StaticFile::progress);
    connect(manager, &DownloadManager::downloadFinished, this, &StaticFile::finished);
    connect(manager, &DownloadManager::downloadSavedToFile, this, &StaticFile::savedToFile);
    connect(manager, &DownloadManager::downloadCanceled, this, &StaticFile::canceled);
    connect(manager, &DownloadManager::downloadError, this, &StaticFile::failed);
    manager->startDownload(request);
}

void StaticFile::cancelDownload()
{
    if (!manager)
        return;
    DownloadManager* queue = manager;
    stopListening();
    queue->cancelDownload(url);
}

void StaticFile::stopListening()
{
    // Once its own download has ended, a later download of the same address
    // (another bubble's, say) is not this file's: it would be kept again.
    if (manager)
        manager->disconnect(this);
    manager = nullptr;
}

// ---- arrival ---------------------------------------------------------------

void StaticFile::applyContentDisposition(const QString& contentDisposition)
{
    if (contentDisposition.isEmpty())
        return;
    const QString serverName =
        contentDisposition.isEmpty() ? QString() : contentDispositionFileName(contentDisposition);
    if (serverName.isEmpty())
        return; // a disposition without a file name changes nothing
    if (!extractFileExtention(QFileInfo(fileUrl).fileName()).isEmpty())
        return;
    const QString extension =
        LocalFiles::safeExtension(extractFileExtention(LocalFiles::safeFileName(serverName)));
    if (!extension.isEmpty())
        setFileUrl(fileUrl + extension);
}

bool StaticFile::keepFile(const QByteArray* data, const QString& spoolPath)
{
    for (int attempt = 0; attempt < 3; ++attempt) {
        const bool placed = data ? LocalFiles::writeNewFile(fileUrl, *data)
                                 : LocalFiles::placeCopy(spoolPath, fileUrl);
        if (placed)
            return true;
        if (!QFileInfo::exists(fileUrl))
            return false;
        if (!freshName)
            return true; // the same file was kept meanwhile under its cache name
        const QFileInfo info(fileUrl);
        setFileUrl(LocalFiles::uniquePath(info.absolutePath(), info.fileName()));
        fileMessage.setFilePath(fileUrl);
    }
    return false;
}

void StaticFile::finished(const QString& doneUrl, const QString& contentDisposition,
                          const QByteArray& downloadData)
{
    if (doneUrl != url || expectsFile())
        return;
    stopListening();
    applyContentDisposition(contentDisposition);
    // An empty picture is no picture; an empty file is a file.
    if (downloadData.isEmpty() && (isImage || storagePath != Downloads)) {
        emit downloadError(QStringLiteral("BYTE ARRAY 0"));
        return;
    }
    QByteArray data = downloadData;
    if (storagePath == MessageThumbnails) {
        const QImage image = QImage::fromData(downloadData);
        if (image.isNull()) {
            L_WARN(QStringLiteral("StaticFile::finished | not an image: ") +
                   FileHost::loggable(QUrl(doneUrl)));
            emit downloadError(QStringLiteral("BYTE ARRAY 0"));
            return;
        }
        data.clear();
        QBuffer buffer(&data);
        buffer.open(QIODevice::WriteOnly);
        blurImage(image).save(&buffer, "png");
    }
    if (mode == LocalFirst && !keepFile(&data, QString()))
        L_ERROR(QStringLiteral("StaticFile::finished | cannot keep ") + fileUrl);
    deliver(data);
}

void StaticFile::savedToFile(const QString& doneUrl, const QString& contentDisposition,
                             const QString& filePath)
{
    if (doneUrl != url || !expectsFile())
        return;
    stopListening();
    applyContentDisposition(contentDisposition);
    if (!keepFile(nullptr, filePath)) {
        L_ERROR(QStringLiteral("StaticFile::savedToFile | cannot keep ") + fileUrl);
        emit downloadError(QStringLiteral("ERROR IN Network."));
        return;
    }
    readFileContent(fileUrl);
}

void StaticFile::deliver(const QByteArray& data)
{
    if (isImage)
        emit imageReady(QImage::fromData(data));
    else
        emit fileContentReady(data);
}

void StaticFile::canceled(const QString& canceledUrl)
{
    if (canceledUrl != url)
        return;
    stopListening();
    emit downloadCanceled();
}

void StaticFile::failed(const QString& failedUrl)
{
    if (failedUrl != url)
        return;
    stopListening();
    emit downloadError(QStringLiteral("Download failed."));
}

void StaticFile::progress(const QString& progressUrl, qlonglong received, qlonglong total)
{
    if (progressUrl == url)
        emit downloadingProgress(received, total);
}

// ---- reading from disk -----------------------------------------------------

void StaticFile::readFileContent(const QString& path)
{
    FileReader* reader = FileReader::getInstance();
    if (isImage)
        connect(reader, &FileReader::fileContentReady, this, &StaticFile::imageRead,
                Qt::UniqueConnection);
    else
        connect(reader, &FileReader::fileContentReady, this, &StaticFile::fileRead,
                Qt::UniqueConnection);
    reader->readFile(path);
}

void StaticFile::imageRead(const QString& path, const QByteArray& content)
{
    if (path != fileUrl)
        return;
    disconnect(FileReader::getInstance(), &FileReader::fileContentReady, this,
               &StaticFile::imageRead);
    emit imageReady(QImage::fromData(content));
}

void StaticFile::fileRead(const QString& path, const QByteArray& content)
{
    if (path != fileUrl)
        return;
    disconnect(FileReader::getInstance(), &FileReader::fileContentReady, this,
               &StaticFile::fileRead);
    emit fileContentReady(content);
}

bool StaticFile::expectsFile() const
{
    // Kept files are written to disk as they arrive; message thumbnails are
    // small and are blurred in memory first.
    return mode == LocalFirst && storagePath != MessageThumbnails;
}

// ---- blur ------------------------------------------------------------------

namespace {

// One pass of a box blur along rows (horizontal) or columns, on premultiplied
// ARGB, with the edge pixels repeated.
void boxBlur(QImage& image, int radius, bool horizontal)
{
    const int width = image.width();
    const int height = image.height();
    const int lines = horizontal ? height : width;
    const int length = horizontal ? width : height;
    const int window = 2 * radius + 1;
    QVector<QRgb> line(length);
    for (int l = 0; l < lines; ++l) {
        auto pixel = [&](int i) -> QRgb& {
            return horizontal ? reinterpret_cast<QRgb*>(image.scanLine(l))[i]
                              : reinterpret_cast<QRgb*>(image.scanLine(i))[l];
        };
        for (int i = 0; i < length; ++i)
            line[i] = pixel(i);
        int sums[4] = {0, 0, 0, 0};
        auto add = [&](QRgb c, int sign) {
            sums[0] += sign * qAlpha(c);
            sums[1] += sign * qRed(c);
            sums[2] += sign * qGreen(c);
            sums[3] += sign * qBlue(c);
        };
        for (int i = -radius; i <= radius; ++i)
            add(line[qBound(0, i, length - 1)], 1);
        for (int i = 0; i < length; ++i) {
            pixel(i) =
                qRgba(sums[1] / window, sums[2] / window, sums[3] / window, sums[0] / window);
            add(line[qBound(0, i - radius, length - 1)], -1);
            add(line[qBound(0, i + radius + 1, length - 1)], 1);
        }
    }
}

} // namespace

QImage StaticFile::blurImage(const QImage& source, int radius)
{
    if (source.isNull())
        return source;
    QImage image = source.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    // Three box passes come close to a Gaussian blur of the given radius.
    const int boxRadius = qMax(1, radius / 3);
    for (int pass = 0; pass < 3; ++pass) {
        boxBlur(image, boxRadius, true);
        boxBlur(image, boxRadius, false);
    }
    return image;
}

QPixmap StaticFile::blurPixmap(const QPixmap& pixmap)
{
    return QPixmap::fromImage(blurImage(pixmap.toImage()));
}
