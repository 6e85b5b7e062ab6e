#include "chat/content/thumbnail.h"

#include "Managers/Sticker/stickermanager.h"
#include "chat/content/downloadwatch.h"
#include "chat/content/imageloader.h"
#include "chat/content/peervalues.h"
#include "chat/content/transferprogress.h"
#include "foundation/desktopopener.h"
#include "foundation/filesizetext.h"
#include "foundation/simpleqtlogger.h"
#include "model/globalconstants.h"
#include "webapi/FileApi/staticfile.h"
#include "webapi/FileApi/uploadmanager.h"
#include "widgets/progresscircle.h"
#include "widgets/transparentframe.h"

#include <QApplication>
#include <QFontMetrics>
#include <QJsonDocument>
#include <QLabel>
#include <QMouseEvent>
#include <QMovie>
#include <QStyle>
#include <QUrl>
#include <QVBoxLayout>

const QSize Thumbnail::kPreviewBox(300, 600);
const QSize Thumbnail::kDefaultBox(256, 256);
const QSize Thumbnail::kStickerBox(120, 120);

Thumbnail::Thumbnail(QWidget* parent, bool isUploading)
    : QWidget(parent), layout(new QVBoxLayout), image(new QLabel(this)),
      status(new TransparentFrame(this)), progress(new ProgressCircle(this)),
      file(new StaticFile(this)), watch(new DownloadWatch(file, progress, this)),
      uploading(isUploading)
{
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    setLayout(layout);
    image->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    status->move(5, 5);
    status->setText(QString());
    progress->setClickable(false);
    progress->raise();
    connect(progress, &ProgressCircle::open, this, &Thumbnail::progressCircleOpen);
    connect(watch, &DownloadWatch::failed, this, &Thumbnail::downloadFailed);
    connect(&decoder, &QFutureWatcher<QImage>::finished, this, &Thumbnail::decoded);
    connect(&previewDecoder, &QFutureWatcher<QImage>::finished, this, &Thumbnail::previewDecoded);
}

bool Thumbnail::isDecoding() const
{
    return decoder.isRunning();
}

QString Thumbnail::statusText() const
{
    return status->getText();
}

// ---- texts -----------------------------------------------------------------

QString Thumbnail::sizeText() const
{
    const qint64 size = fileMessage.getFileSize();
    if (size <= 0)
        return QString();
    const QString text =
        QStringLiteral("%1 %2").arg(FileSizeText::getFileSizeStringInTier(size, size),
                                    FileSizeText::getFileSizeTierString(size));
    return fileMessage.getFileType() == FileMessage::MsgFileType_Gif
               ? QStringLiteral("GIF , ") + text
               : text;
}

QString Thumbnail::videoStatusText() const
{
    const int seconds = PeerValues::secondsFromMs(fileMessage.getFileTypeVideoDuration());
    if (seconds == 0) {
        L_DEBUG(QStringLiteral("Thumbnail::setDownloadStatusToVideoTime() | VIDEO TIME is ZERO"));
        return sizeText();
    }
    const QString size = sizeText();
    return size.isEmpty() ? PeerValues::clockText(seconds)
                          : PeerValues::clockText(seconds) + QStringLiteral(" , ") + size;
}

QString Thumbnail::videoDoneText() const
{
    const int seconds = PeerValues::secondsFromMs(fileMessage.getFileTypeVideoDuration());
    return seconds == 0 ? sizeText() : PeerValues::clockText(seconds);
}

void Thumbnail::setStatus(const QString& text)
{
    // The caption's box grows with its text, so no status is cut short.
    status->resize(QFontMetrics(status->getFont()).boundingRect(text).size() + QSize(12, 14));
    status->setText(text);
    if (!text.isEmpty())
        status->raise();
}

void Thumbnail::setIdleText()
{
    setStatus(fileMessage.getFileType() == FileMessage::MsgFileType_Video ? videoStatusText()
                                                                          : sizeText());
}

void Thumbnail::centreProgress()
{
    progress->move(int((width() - progress->width()) * 0.5),
                   int((height() - progress->height()) * 0.5));
}

// ---- file messages -----------------------------------------------------------

void Thumbnail::setFileMessage(const FileMessage& message)
{
    fileMessage = message;
    kind = FileKind;
    setFixedSize(PeerValues::fitBox(message.getImageSize(), kPreviewBox, kDefaultBox));
    layout->addWidget(image);
    const FileMessage::MsgFileType type = message.getFileType();
    if (type == FileMessage::MsgFileType_Image)
        progress->setState(0);
    else if (type == FileMessage::MsgFileType_Video)
        progress->setState(1);
    centreProgress();
    progress->show();
    progress->raise();
    if (!uploading) {
        setIdleText();
        showContent();
        connect(progress, &ProgressCircle::startDownload, this,
                &Thumbnail::progressCircleStartDownload, Qt::UniqueConnection);
        connect(progress, &ProgressCircle::cancel, this, &Thumbnail::progressCircleCancelDownload,
                Qt::UniqueConnection);
    } else {
        prepareUpload();
    }
}

void Thumbnail::showContent()
{
    const FileMessage::MsgFileType type = fileMessage.getFileType();
    if (file->isFileDownloaded(fileMessage, StaticFile::Downloads)) {
        if (type == FileMessage::MsgFileType_Image || type == FileMessage::MsgFileType_Gif)
            startDownloadingFile();
        else if (type == FileMessage::MsgFileType_Video)
            startDownloadingFileThumbnail();
        return;
    }
    startDownloadingFileThumbnail();
}

void Thumbnail::startDownloadingFileThumbnail()
{
    L_DEBUG(QStringLiteral("Thumbnail::startDownloadingFileThumbnail | ") +
            FileMessage::toString(fileMessage.getFileType()) + QStringLiteral(" ") +
            fileMessage.getFileThumbnailUrl());
    const QString preview = fileMessage.getFileThumbnailUrl();
    // No preview to wait for: the full file is what there is to show. A
    // preview at the file's own address is the file: when that comes by
    // itself, it is fetched once, as the file.
    if (preview.isEmpty() || (preview == fileMessage.getFileUrl() && downloadsBySetting())) {
        startAutoDownload();
        return;
    }
    connect(file, &StaticFile::imageReady, this, &Thumbnail::downloadFinishedThumbnail,
            Qt::UniqueConnection);
    disconnect(file, &StaticFile::downloadingProgress, this, &Thumbnail::downloadProgress);
    disconnect(file, &StaticFile::fileContentReady, this, &Thumbnail::downloadFinishedFile);
    file->setFileMessage(fileMessage, StaticFile::LocalFirst, StaticFile::MessageThumbnails, false);
}

void Thumbnail::startDownloadingFile()
{
    if (fileMessage.getFileUrl().isEmpty() && fileMessage.getFilePath().isEmpty())
        return;
    connect(file, &StaticFile::fileContentReady, this, &Thumbnail::downloadFinishedFile,
            Qt::UniqueConnection);
    connect(file, &StaticFile::downloadingProgress, this, &Thumbnail::downloadProgress,
            Qt::UniqueConnection);
    disconnect(file, &StaticFile::imageReady, this, &Thumbnail::downloadFinishedThumbnail);
    file->setFileMessage(fileMessage, StaticFile::LocalFirst, StaticFile::Downloads, false);
}

void Thumbnail::showScaled(const QImage& img, const QSize& fitInto)
{
    const QPixmap pixmap =
        QPixmap::fromImage(img.scaled(fitInto, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    image->resize(pixmap.size());
    image->setPixmap(pixmap.isNull() ? pixmap : pixmap.scaled(size(), Qt::IgnoreAspectRatio));
}

void Thumbnail::downloadFinishedThumbnail(const QImage& img)
{
    if (kind != FileKind || fullImage)
        return;
    showScaled(img, kPreviewBox);
    if (fileMessage.getFileType() == FileMessage::MsgFileType_Video &&
        file->isFileDownloaded(fileMessage, StaticFile::Downloads))
        downloadFinishedFile(QByteArray());
    startAutoDownload();
}

void Thumbnail::startAutoDownload()
{
    if (kind != FileKind || file->isFileDownloaded(fileMessage, StaticFile::Downloads))
        return;
    // Asked again while the file is on its way: that download brings it.
    if (file->isDownloading() && file->getStoragePath() == StaticFile::Downloads)
        return;
    if (downloadsBySetting())
        progressCircleStartDownload();
}

bool Thumbnail::downloadsBySetting() const
{
    const MainSettings settings = GlobalConstants::getMainSettings();
    const FileMessage::MsgFileType type = fileMessage.getFileType();
    const bool picture =
        type == FileMessage::MsgFileType_Image || type == FileMessage::MsgFileType_Gif;
    return (picture && settings.getAutoDownloadImages()) ||
           (type == FileMessage::MsgFileType_Video && settings.getAutoDownloadVideos());
}

void Thumbnail::downloadFinishedFile(const QByteArray& content)
{
    if (kind != FileKind)
        return;
    QString address = file->getFileUrl();
    // A video already on disk completes without a transfer while the
    // downloader still points at its preview.
    if (fileMessage.getFileType() == FileMessage::MsgFileType_Video && content.isEmpty())
        address = fileMessage.getFilePath().isEmpty()
                      ? StaticFile::generateFileName(fileMessage, StaticFile::Downloads)
                      : fileMessage.getFilePath();
    localPath = address;
    switch (fileMessage.getFileType()) {
    case FileMessage::MsgFileType_Image:
        // The picture is shown when the decoder is done; until then the
        // transfer counts as complete and the preview stays.
        progress->setValue(100);
        decoder.setFuture(ImageLoader::start(address, content, size()));
        break;
    case FileMessage::MsgFileType_Video:
        progress->setValue(100);
        setStatus(videoDoneText());
        break;
    case FileMessage::MsgFileType_Gif:
        progress->setValue(100);
        image->clear();
        delete gif;
        gif = new QMovie(address, QByteArray(), this);
        gif->setScaledSize(size());
        image->setMovie(gif);
        gif->start();
        progress->hide();
        setStatus(QString());
        break;
    default:
        break;
    }
    L_DEBUG(QStringLiteral("Thumbnail::downloadFinishedFile | ") + address);
    if (fileMessage.getFilePath().isEmpty() && !address.isEmpty()) {
        fileMessage.setFilePath(address);
        emit setFilePath(fileMessage);
    }
}

void Thumbnail::decoded()
{
    const QImage img = decoder.result();
    if (img.isNull()) {
        L_WARN(QStringLiteral("Thumbnail::decoded | not a picture: ") + file->getFileUrl());
        return;
    }
    image->resize(size());
    image->setPixmap(QPixmap::fromImage(img).scaled(size(), Qt::IgnoreAspectRatio));
    progress->hide();
    setStatus(QString());
    fullImage = true;
    emit fullImageShown();
}

void Thumbnail::downloadProgress(qlonglong downloaded, qlonglong total)
{
    reportProgress(downloaded, total);
}

void Thumbnail::reportProgress(qint64 done, qint64 total)
{
    progress->setValue(TransferProgress::percent(done, total));
    setStatus(FileSizeText::getDownloadString(qMax<qint64>(0, done), qMax<qint64>(0, total)));
}

void Thumbnail::progressCircleStartDownload()
{
    // Shown under way first: a download refused at once puts it back.
    if (progress->value() != 100)
        reportProgress(0, fileMessage.getFileSize());
    const QString address =
        fileMessage.getFileUrl().isEmpty() ? fileMessage.getFilePath() : fileMessage.getFileUrl();
    if (watch->started(address))
        startDownloadingFile();
}

void Thumbnail::progressCircleCancelDownload()
{
    watch->stopByUser();
    file->cancelDownload();
    if (kind == FileKind)
        setIdleText();
    progress->setValue(0);
}

void Thumbnail::downloadFailed()
{
    L_WARN(QStringLiteral("Thumbnail::downloadFailed | ") + file->getUrl());
    if (kind == StickerKind)
        showStickerUnavailable();
    else
        setStatus(tr("_transferFailed"));
}

// ---- clicks ----------------------------------------------------------------

void Thumbnail::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || kind != FileKind ||
        fileMessage.getFileType() == FileMessage::MsgFileType_Gif)
        return;
    emit clicked();
    if (fullImage) {
        progressCircleOpen();
        return;
    }
    const int value = progress->value();
    if (value == 0) {
        if (progress->uploadMode())
            retryUpload();
        else
            progressCircleStartDownload();
    } else if (value == 100) {
        progressCircleOpen();
    } else if (progress->uploadMode()) {
        progress->setValue(0);
        _cancelUpload();
    } else {
        progressCircleCancelDownload();
    }
}

void Thumbnail::enterEvent(QEvent* event)
{
    QWidget::enterEvent(event);
    if (kind == ProfileKind || fileMessage.getFileType() == FileMessage::MsgFileType_Gif ||
        cursorPushed)
        return;
    QApplication::setOverrideCursor(Qt::PointingHandCursor);
    cursorPushed = true;
}

void Thumbnail::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    if (!cursorPushed)
        return;
    QApplication::restoreOverrideCursor();
    cursorPushed = false;
}

void Thumbnail::progressCircleOpen()
{
    if (kind == FileKind && fileMessage.getFileType() == FileMessage::MsgFileType_Image) {
        emit showOnViewer(openPath());
        return;
    }
    if (kind != StickerKind)
        DesktopOpener::openUrl(QUrl::fromLocalFile(openPath()));
}

QString Thumbnail::openPath() const
{
    return localPath.isEmpty() ? file->getFileUrl() : localPath;
}

// ---- uploads -----------------------------------------------------------------

bool Thumbnail::isMine(const QString& filePath) const
{
    return !filePath.isEmpty() && filePath == fileMessage.getFilePath();
}

void Thumbnail::prepareUpload()
{
    const QString preview = fileMessage.getFileThumbnailUrl();
    if (!preview.isEmpty())
        previewDecoder.setFuture(ImageLoader::start(preview, QByteArray(), kPreviewBox, true));
    progress->setUploadMode(1);
    reportProgress(0, fileMessage.getFileSize());
    connectToUploadManager();
    connect(progress, &ProgressCircle::cancel, this, &Thumbnail::_cancelUpload,
            Qt::UniqueConnection);
    connect(progress, &ProgressCircle::retryUpload, this, &Thumbnail::retryUpload,
            Qt::UniqueConnection);
}

void Thumbnail::previewDecoded()
{
    if (fullImage)
        return;
    const QImage img = previewDecoder.result();
    if (!img.isNull())
        image->setPixmap(QPixmap::fromImage(img).scaled(size(), Qt::IgnoreAspectRatio));
}

void Thumbnail::connectToUploadManager()
{
    UploadManager* manager = UploadManager::getInstance();
    connect(manager, &UploadManager::uploadProgress, this, &Thumbnail::uploadProgress,
            Qt::UniqueConnection);
    connect(manager, &UploadManager::uploadDone, this, &Thumbnail::uploadDone,
            Qt::UniqueConnection);
    connect(manager, &UploadManager::uploadFailed, this, &Thumbnail::uploadFailed,
            Qt::UniqueConnection);
    connect(this, &Thumbnail::cancelUpload, manager, &UploadManager::cancelUpload,
            Qt::UniqueConnection);
    connect(this, &Thumbnail::uploadFileMessage, manager, &UploadManager::uploadFileMessage,
            Qt::UniqueConnection);
}

void Thumbnail::uploadProgress(const QString& filePath, qlonglong size, qlonglong total)
{
    if (isMine(filePath))
        reportProgress(size, total);
}

void Thumbnail::uploadDone(const QString& filePath, const QString& fileId, const QString& fileURL,
                           const QString& thumbnailURL)
{
    if (!isMine(filePath))
        return;
    fileMessage.setFileId(fileId);
    fileMessage.setFileUrl(fileURL);
    if (!thumbnailURL.isEmpty()) {
        fileMessage.setFileThumbnailUrl(thumbnailURL);
        fileMessage.setFileHasThumbnail(true);
    }
    progress->setUploadMode(0);
    connect(progress, &ProgressCircle::startDownload, this, &Thumbnail::progressCircleStartDownload,
            Qt::UniqueConnection);
    disconnect(progress, &ProgressCircle::cancel, this, &Thumbnail::_cancelUpload);
    connect(progress, &ProgressCircle::cancel, this, &Thumbnail::progressCircleCancelDownload,
            Qt::UniqueConnection);
    setIdleText();
    showContent();
    emit sendMessage(fileMessage);
}

void Thumbnail::uploadFailed(const QString& filePath, int errorCode, const QString& errorMessage)
{
    if (!isMine(filePath))
        return;
    L_WARN(QStringLiteral("Thumbnail::uploadFailed | %1 %2").arg(errorCode).arg(errorMessage));
    setStatus(tr("_transferFailed"));
    progress->setValue(0);
}

void Thumbnail::_cancelUpload()
{
    L_DEBUG(QStringLiteral("Thumbnail::_cancelUpload() | ") + fileMessage.getFilePath());
    setIdleText();
    progress->setValue(0);
    emit cancelUpload(fileMessage.getFilePath());
}

void Thumbnail::retryUpload()
{
    connectToUploadManager();
    reportProgress(0, fileMessage.getFileSize());
    emit uploadFileMessage(fileMessage.getFilePath(), uploadMode);
}

// ---- stickers ----------------------------------------------------------------

void Thumbnail::setStickerMessage(const StickerMessage& message)
{
    L_DEBUG(QStringLiteral("Thumbnail::setStickerMessage"));
    stickerMessage = message;
    progress->hide();
    kind = StickerKind;
    if (message.getStickerId().isEmpty() || message.getStickerPackageId().isEmpty()) {
        L_WARN(QStringLiteral("Thumbnail::setStickerMessage | a sticker without ids"));
        showStickerUnavailable();
        return;
    }
    StickerUrl url;
    StickerManager* stickers = StickerManager::getInstance();
    if (stickers->getStickerUrl(message, &url)) {
        L_DEBUG(QStringLiteral("Thumbnail::setStickerMessage | stickerUrl"));
        stickerUrlReady(url);
    } else {
        L_DEBUG(QStringLiteral("Thumbnail::setStickerMessage | stickerUrl not ready"));
        connect(stickers, &StickerManager::stickerUrlReady, this, &Thumbnail::stickerUrlReady,
                Qt::UniqueConnection);
    }
}

void Thumbnail::stickerUrlReady(const StickerUrl& url)
{
    const StickerMessage other = url.getStickerMessage();
    const QString ids = other.getStickerPackageId() + QStringLiteral(" ") + other.getStickerId() +
                        QStringLiteral(" ") + other.getStickerVersion();
    if (!(other == stickerMessage)) {
        L_DEBUG(QStringLiteral("ChatMessageWidget::stickerUrlReady Not My URL ") + ids);
        return;
    }
    L_DEBUG(QStringLiteral("ChatMessageWidget::stickerUrlReady | MY Sticker... ") + ids);
    disconnect(StickerManager::getInstance(), &StickerManager::stickerUrlReady, this,
               &Thumbnail::stickerUrlReady);
    const QString address = url.getHighestResolutionUrl();
    if (address.isEmpty()) {
        L_WARN(QStringLiteral("Thumbnail::stickerUrlReady | no address for ") + ids);
        showStickerUnavailable();
        return;
    }
    connect(file, &StaticFile::imageReady, this, &Thumbnail::stickerDownloadReady,
            Qt::UniqueConnection);
    // Nobody stops a sticker's download: one that ends without the picture
    // failed, whichever way it ended.
    connect(file, &StaticFile::downloadError, this, &Thumbnail::showStickerUnavailable,
            Qt::UniqueConnection);
    connect(file, &StaticFile::downloadCanceled, this, &Thumbnail::showStickerUnavailable,
            Qt::UniqueConnection);
    file->setUrl(address, StaticFile::LocalFirst, StaticFile::Stickers, false);
}

void Thumbnail::stickerDownloadReady(const QImage& img)
{
    if (img.isNull()) {
        showStickerUnavailable();
        return;
    }
    showScaled(img, kStickerBox);
    status->setText(QString());
    progress->hide();
    layout->addWidget(image);
}

void Thumbnail::showStickerUnavailable()
{
    image->clear();
    image->setObjectName(QStringLiteral("ThumbnailStickerUnavailable"));
    // Its own look from the style sheet, though the label was styled before.
    image->style()->unpolish(image);
    image->style()->polish(image);
    image->setFixedSize(kStickerBox);
    image->setAlignment(Qt::AlignCenter);
    image->setWordWrap(true);
    image->setText(tr("_stickerUnavailable"));
    status->setText(QString());
    progress->hide();
    layout->addWidget(image);
}

bool Thumbnail::showsStickerUnavailable() const
{
    return kind == StickerKind && !image->text().isEmpty();
}

// ---- profile pictures ----------------------------------------------------------

void Thumbnail::setProfileImage(const QString& thumbnail, const QString& full)
{
    thumbnailUrl = thumbnail;
    imageUrl = full;
    uploading = false;
    kind = ProfileKind;
    progress->setState(5);
    image->setFixedSize(kDefaultBox);
    centreProgress();
    progress->show();
    progress->setValue(1);
    progress->raise();
    status->setText(QString());
    layout->addWidget(image);
    connect(file, &StaticFile::downloadingProgress, this, &Thumbnail::profileDownloadProgress,
            Qt::UniqueConnection);
    if (file->fileExists(imageUrl, QString(), StaticFile::AvatarThumbnails)) {
        connect(file, &StaticFile::imageReady, this, &Thumbnail::profileImageReady,
                Qt::UniqueConnection);
        file->setUrl(imageUrl, StaticFile::LocalFirst, StaticFile::AvatarThumbnails, true);
    } else {
        connect(file, &StaticFile::imageReady, this, &Thumbnail::profileThumbnailImageReady,
                Qt::UniqueConnection);
        file->setUrl(thumbnailUrl, StaticFile::LocalFirst, StaticFile::AvatarThumbnails, true);
    }
}

void Thumbnail::profileThumbnailImageReady(const QImage& img)
{
    image->setFixedSize(img.size());
    adjustSize();
    centreProgress();
    image->setPixmap(QPixmap::fromImage(img));
    emit resized(this);
    disconnect(file, &StaticFile::imageReady, this, &Thumbnail::profileThumbnailImageReady);
    connect(file, &StaticFile::imageReady, this, &Thumbnail::profileImageReady,
            Qt::UniqueConnection);
    file->setUrl(imageUrl, StaticFile::LocalFirst, StaticFile::AvatarThumbnails, true);
}

void Thumbnail::profileImageReady(const QImage& img)
{
    image->setFixedSize(img.size());
    progress->setValue(100);
    progress->hide();
    adjustSize();
    image->setPixmap(QPixmap::fromImage(img));
    disconnect(file, &StaticFile::imageReady, this, &Thumbnail::profileImageReady);
    emit resized(this);
}

void Thumbnail::profileDownloadProgress(qlonglong downloaded, qlonglong total)
{
    progress->setValue(TransferProgress::percent(downloaded, total));
}
