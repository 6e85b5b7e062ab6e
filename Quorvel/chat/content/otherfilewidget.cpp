#include "chat/content/otherfilewidget.h"

#include "chat/content/downloadwatch.h"
#include "chat/content/transferprogress.h"
#include "foundation/desktopopener.h"
#include "foundation/filesizetext.h"
#include "foundation/simpleqtlogger.h"
#include "model/globalconstants.h"
#include "webapi/FileApi/staticfile.h"
#include "webapi/FileApi/uploadmanager.h"
#include "widgets/biditext.h"
#include "widgets/fonts.h"
#include "widgets/progresscircle.h"

#include <QFileInfo>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QTextDocument>
#include <QUrlQuery>
#include <QVBoxLayout>
#include <QtMath>

const char* const OtherFileWidget::kMapHost = "https://maps.google.com";

OtherFileWidget::OtherFileWidget(QWidget* parent, bool isUploading)
    : QWidget(parent), outer(new QHBoxLayout), texts(new QVBoxLayout),
      progress(new ProgressCircle(this)), name(new QLabel), size(new QLabel),
      file(new StaticFile(this)), watch(new DownloadWatch(file, progress, this)),
      uploading(isUploading)
{
    setLayoutDirection(Qt::LeftToRight);
    progress->setState(2);
    progress->setFixedSize(40, 40);
    name->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    size->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    name->setTextFormat(Qt::PlainText);
    size->setTextFormat(Qt::PlainText);
    QFont nameFont = name->font();
    nameFont.setPointSizeF(10);
    name->setFont(nameFont);
    QFont sizeFont = size->font();
    sizeFont.setPointSizeF(8.2);
    size->setFont(sizeFont);
    texts->setContentsMargins(3, 3, 3, 3);
    texts->setSpacing(0);
    texts->addWidget(name, 1);
    texts->addWidget(size, 1);
    outer->addWidget(progress);
    outer->addLayout(texts);
    outer->setAlignment(Qt::AlignVCenter);
    setLayout(outer);
    connect(watch, &DownloadWatch::failed, this, &OtherFileWidget::downloadFailed);
}

void OtherFileWidget::setSide(bool byMe)
{
    name->setObjectName(byMe ? QStringLiteral("OtherFileWidgetNameLabelByMe")
                             : QStringLiteral("OtherFileWidgetNameLabelByOther"));
    size->setObjectName(byMe ? QStringLiteral("OtherFileWidgetSizeLabelByMe")
                             : QStringLiteral("OtherFileWidgetSizeLabelByOther"));
    progress->setBackgroundColor(byMe ? QColor(Qt::gray) : QColor(0, 166, 147));
}

bool OtherFileWidget::isMine(const QString& filePath) const
{
    return !filePath.isEmpty() && filePath == fileMessage.getFilePath();
}

// ---- files -------------------------------------------------------------------

void OtherFileWidget::setFileMessage(const FileMessage& message, bool byMe)
{
    fileMessage = message;
    size->setText(FileSizeText::getFileSizeString(qMax<qint64>(0, message.getFileSize())));
    // A peer's file name shows what the file is called: direction controls
    // that would disguise it show as marks.
    const QString fileName = BidiText::visibleControls(message.getFileName());
    name->setText(QFontMetrics(name->font()).elidedText(fileName, Qt::ElideMiddle, kNameWidth));
    // A tooltip takes markup for markup: the name goes in as escaped text of
    // a paragraph, so it reads exactly as written ("Tom & Jerry", "<b>").
    name->setToolTip(Qt::convertFromPlainText(fileName));
    adjustSize();
    setSide(byMe);
    if (!uploading) {
        L_DEBUG(QStringLiteral("OtherFileWidget::setFileMessage | ") + message.getFilePath());
        if (!file->isFileDownloaded(message, StaticFile::Downloads)) {
            L_DEBUG(QStringLiteral("OtherFileWidget::setup() | file does not exist"));
            connect(progress, &ProgressCircle::startDownload, this, &OtherFileWidget::startDownload,
                    Qt::UniqueConnection);
            connect(progress, &ProgressCircle::cancel, this, &OtherFileWidget::cancelDownload,
                    Qt::UniqueConnection);
            connect(file, &StaticFile::downloadingProgress, this,
                    &OtherFileWidget::downloadProgress, Qt::UniqueConnection);
            connect(file, &StaticFile::fileContentReady, this, &OtherFileWidget::fileContentReady,
                    Qt::UniqueConnection);
            startAutoDownload();
        } else {
            fileContentReady(QByteArray());
        }
    } else {
        prepareUpload();
    }
    connect(progress, &ProgressCircle::open, this, &OtherFileWidget::open, Qt::UniqueConnection);
}

void OtherFileWidget::startAutoDownload()
{
    if (progress->value() == 0 && !uploading && !fileMessage.isEmpty() &&
        GlobalConstants::getMainSettings().getAutoDownloadFiles())
        startDownload();
}

void OtherFileWidget::startDownload()
{
    reportProgress(0, fileMessage.getFileSize());
    if (!watch->started(fileMessage.getFileUrl()))
        return;
    file->setFileMessage(fileMessage, StaticFile::LocalFirst, StaticFile::Downloads, false);
}

void OtherFileWidget::reportProgress(qint64 done, qint64 total)
{
    size->setText(FileSizeText::getDownloadString(qMax<qint64>(0, done), qMax<qint64>(0, total)));
    progress->setValue(TransferProgress::percent(done, total));
}

void OtherFileWidget::downloadProgress(qlonglong downloaded, qlonglong total)
{
    reportProgress(downloaded, total);
}

void OtherFileWidget::fileContentReady(const QByteArray& fileContent)
{
    Q_UNUSED(fileContent)
    size->setText(FileSizeText::getFileSizeString(qMax<qint64>(0, fileMessage.getFileSize())));
    progress->setValue(100);
    const QString known = fileMessage.getFilePath();
    if (!known.isEmpty() && QFileInfo::exists(known))
        return;
    QString address = file->getFileUrl();
    if (address.isEmpty())
        address = StaticFile::generateFileName(fileMessage, StaticFile::Downloads);
    fileMessage.setFilePath(address);
    emit setFilePath(fileMessage);
}

void OtherFileWidget::downloadFailed()
{
    L_WARN(QStringLiteral("OtherFileWidget::downloadFailed | ") + file->getUrl());
    size->setText(tr("_transferFailed"));
}

void OtherFileWidget::cancelDownload()
{
    if (!uploading) {
        watch->stopByUser();
        file->cancelDownload();
    } else {
        emit cancelUpload(fileMessage.getFilePath());
    }
    size->setText(FileSizeText::getFileSizeString(qMax<qint64>(0, fileMessage.getFileSize())));
    progress->setValue(0);
}

void OtherFileWidget::open()
{
    L_DEBUG(QStringLiteral("OtherFileWidget::open() | ") + fileMessage.getFilePath());
    DesktopOpener::openUrl(QUrl::fromLocalFile(fileMessage.getFilePath()));
}

// ---- uploads -------------------------------------------------------------------

void OtherFileWidget::prepareUpload()
{
    progress->setUploadMode(1);
    reportProgress(0, fileMessage.getFileSize());
    connectToUploadManager();
    connect(progress, &ProgressCircle::cancel, this, &OtherFileWidget::_cancelUpload,
            Qt::UniqueConnection);
    connect(progress, &ProgressCircle::retryUpload, this, &OtherFileWidget::retryUpload,
            Qt::UniqueConnection);
}

void OtherFileWidget::connectToUploadManager()
{
    UploadManager* manager = UploadManager::getInstance();
    connect(manager, &UploadManager::uploadProgress, this, &OtherFileWidget::uploadProgress,
            Qt::UniqueConnection);
    connect(manager, &UploadManager::uploadDone, this, &OtherFileWidget::uploadFinished,
            Qt::UniqueConnection);
    connect(manager, &UploadManager::uploadFailed, this, &OtherFileWidget::uploadFailed,
            Qt::UniqueConnection);
    connect(this, &OtherFileWidget::cancelUpload, manager, &UploadManager::cancelUpload,
            Qt::UniqueConnection);
}

void OtherFileWidget::disconnectFromUploadManager()
{
    UploadManager* manager = UploadManager::getInstance();
    disconnect(manager, &UploadManager::uploadProgress, this, &OtherFileWidget::uploadProgress);
    disconnect(manager, &UploadManager::uploadDone, this, &OtherFileWidget::uploadFinished);
    disconnect(manager, &UploadManager::uploadFailed, this, &OtherFileWidget::uploadFailed);
}

void OtherFileWidget::uploadProgress(const QString& filePath, qlonglong uploaded, qlonglong total)
{
    if (isMine(filePath))
        reportProgress(uploaded, total);
}

void OtherFileWidget::uploadFinished(const QString& filePath, const QString& fileId,
                                     const QString& fileURL, const QString& thumbnailURL)
{
    Q_UNUSED(thumbnailURL)
    L_DEBUG(QStringLiteral("OtherFileWidget::uploadFinished | filePath:") + filePath);
    L_DEBUG(QStringLiteral("OtherFileWidget::uploadFinished | fileMessagePath:") +
            fileMessage.getFilePath());
    if (!isMine(filePath))
        return;
    fileMessage.setFileId(fileId);
    fileMessage.setFileUrl(fileURL);
    fileMessage.setFileThumbnailUrl(QString());
    progress->setUploadMode(0);
    fileContentReady(QByteArray());
    emit sendMessage(fileMessage);
    disconnectFromUploadManager();
    disconnect(this, &OtherFileWidget::cancelUpload, UploadManager::getInstance(),
               &UploadManager::cancelUpload);
}

void OtherFileWidget::uploadFailed(const QString& filePath, int errorCode,
                                   const QString& errorMessage)
{
    if (!isMine(filePath))
        return;
    L_WARN(
        QStringLiteral("OtherFileWidget::uploadFailed | %1 %2").arg(errorCode).arg(errorMessage));
    disconnectFromUploadManager();
    // Shown as failed, with the button back at its start: the next click retries.
    size->setText(tr("_transferFailed"));
    progress->setValue(0);
    emit uploadError(errorCode);
}

void OtherFileWidget::_cancelUpload()
{
    L_DEBUG(QStringLiteral("OtherFileWidget::_cancelUpload() | ") + fileMessage.getFilePath());
    size->setText(FileSizeText::getFileSizeString(qMax<qint64>(0, fileMessage.getFileSize())));
    emit cancelUpload(fileMessage.getFilePath());
}

void OtherFileWidget::retryUpload()
{
    L_DEBUG(QStringLiteral("OtherFileWidget::retryUpload()"));
    reportProgress(0, fileMessage.getFileSize());
    connectToUploadManager();
    UploadManager::getInstance()->uploadFileMessage(fileMessage.getFilePath(), uploadMode);
}

// ---- locations -------------------------------------------------------------------

bool OtherFileWidget::isOnGlobe(double latitude, double longitude)
{
    return qIsFinite(latitude) && qIsFinite(longitude) && qAbs(latitude) <= 90.0 &&
           qAbs(longitude) <= 180.0;
}

QUrl OtherFileWidget::mapUrl(double latitude, double longitude)
{
    if (!isOnGlobe(latitude, longitude))
        return QUrl();
    return QUrl(
        QString::fromLatin1(kMapHost) +
        QStringLiteral("/maps?&z=17&q=%1,%2").arg(latitude, 0, 'f', 6).arg(longitude, 0, 'f', 6));
}

void OtherFileWidget::setLocationMessage(const LocationMessage& point, bool byMe)
{
    setSide(byMe);
    name->setFont(Fonts::getFont(20));
    location = point;
    progress->setState(3);
    progress->setValue(100);
    name->setText(tr("_location"));
    const double latitude = point.getLatitude();
    const double longitude = point.getLongitude();
    if (isOnGlobe(latitude, longitude))
        size->setText(QStringLiteral("%1,%2").arg(latitude, 9, 'f', 5).arg(longitude, 9, 'f', 5));
    else
        size->setText(QStringLiteral("?"));
    progress->setBackgroundColor(Qt::darkGreen);
    connect(progress, &ProgressCircle::open, this, &OtherFileWidget::openLocation,
            Qt::UniqueConnection);
}

void OtherFileWidget::openLocation()
{
    const QUrl url = mapUrl(location.getLatitude(), location.getLongitude());
    if (url.isEmpty()) {
        L_WARN(QStringLiteral("OtherFileWidget::openLocation | not a place on the globe"));
        return;
    }
    DesktopOpener::openUrl(url);
}
