#include "chat/content/pttwidget.h"

#include "chat/content/downloadwatch.h"
#include "chat/content/peervalues.h"
#include "chat/content/transferprogress.h"
#include "foundation/pttplayer.h"
#include "foundation/simpleqtlogger.h"
#include "webapi/FileApi/staticfile.h"
#include "widgets/fonts.h"
#include "widgets/progresscircle.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QJsonDocument>
#include <QLabel>
#include <QVBoxLayout>

PTTWidget::PTTWidget(QWidget* parent)
    : QWidget(parent), title(new QLabel), duration(new QLabel), progress(new ProgressCircle(this)),
      file(new StaticFile(this)), watch(new DownloadWatch(file, progress, this))
{
    setLayoutDirection(Qt::LeftToRight);
    QHBoxLayout* outer = new QHBoxLayout;
    outer->setContentsMargins(3, 3, 3, 3);
    QVBoxLayout* texts = new QVBoxLayout;
    texts->setContentsMargins(3, 3, 3, 3);
    texts->setSpacing(0);
    title->setFont(Fonts::getFont(20));
    title->setText(tr("_PushToTalk"));
    QFont small = Fonts::getFont(20);
    small.setPointSize(8);
    duration->setFont(small);
    duration->setTextFormat(Qt::PlainText);
    texts->addWidget(title);
    texts->addWidget(duration);
    progress->setState(4);
    progress->setFixedSize(40, 40);
    outer->addWidget(progress);
    outer->addLayout(texts);
    setLayout(outer);

    connect(progress, &ProgressCircle::startDownload, this, &PTTWidget::startDownload);
    connect(progress, &ProgressCircle::cancel, this, &PTTWidget::cancelDownload);
    connect(progress, &ProgressCircle::open, this, &PTTWidget::play);
    connect(file, &StaticFile::downloadingProgress, this, &PTTWidget::downloadProgress);
    connect(file, &StaticFile::fileContentReady, this, &PTTWidget::clipArrived);
    connect(watch, &DownloadWatch::failed, this, &PTTWidget::downloadFailed);
    connect(this, &PTTWidget::playPTT, PTTPlayer::getInstance(), &PTTPlayer::play);
}

QString PTTWidget::durationText() const
{
    return PeerValues::clockText(PeerValues::seconds(fileMessage.getPushToTalkDuration()));
}

void PTTWidget::setFileMessage(const FileMessage& message, bool byMe)
{
    fileMessage = message;
    L_DEBUG(
        QStringLiteral("PTTWidget::setFileMessage | ") +
        QString::fromUtf8(QJsonDocument(message.toJsonObject()).toJson(QJsonDocument::Compact)));
    title->setObjectName(byMe ? QStringLiteral("OtherFileWidgetNameLabelByMe")
                              : QStringLiteral("OtherFileWidgetNameLabelByOther"));
    duration->setObjectName(byMe ? QStringLiteral("OtherFileWidgetSizeLabelByMe")
                                 : QStringLiteral("OtherFileWidgetSizeLabelByOther"));
    progress->setBackgroundColor(byMe ? QColor(Qt::gray) : QColor(0, 166, 147));
    duration->setText(durationText());
    if (file->isFileDownloaded(message, StaticFile::PushToTalk)) {
        const QString own = message.getFilePath();
        localPath = !own.isEmpty() && QFileInfo::exists(own)
                        ? own
                        : StaticFile::generateFileName(message, StaticFile::PushToTalk);
        progress->setValue(100);
    } else {
        progress->setValue(0);
    }
}

void PTTWidget::startDownload()
{
    duration->setText(durationText());
    progress->setValue(1);
    if (!watch->started(fileMessage.getFileUrl()))
        return;
    const bool there =
        fileMessage.isStatic()
            ? file->setUrl(fileMessage.getFileUrl(), StaticFile::LocalFirst, StaticFile::PushToTalk,
                           false)
            : file->setUrlAndID(fileMessage.getFileUrl(), fileMessage.getFileId(),
                                StaticFile::LocalFirst, StaticFile::PushToTalk, false);
    if (there) {
        localPath = file->getFileUrl();
        progress->setValue(100);
    }
}

void PTTWidget::downloadProgress(qlonglong downloaded, qlonglong total)
{
    if (progress->value() != 100)
        progress->setValue(TransferProgress::percent(downloaded, total));
}

void PTTWidget::clipArrived()
{
    localPath = file->getFileUrl();
    progress->setValue(100);
}

void PTTWidget::downloadFailed()
{
    L_WARN(QStringLiteral("PTTWidget::downloadFailed | ") + file->getUrl());
    duration->setText(tr("_transferFailed"));
}

void PTTWidget::cancelDownload()
{
    watch->stopByUser();
    file->cancelDownload();
    progress->setValue(0);
}

void PTTWidget::play()
{
    emit playPTT(localPath);
}
