#include "shell/imageviewer.h"

#include "widgets/interfacescale.h"

#include <QMouseEvent>

ImageViewer::ImageViewer(QWidget* parent, bool selectable, bool selected)
    : QLabel(parent), check(this), selectable(selectable), selected(selected)
{
    setObjectName(QStringLiteral("ImageViewer"));
    setAlignment(Qt::AlignCenter);
    const int side = scaleValue(20);
    const QPixmap mark = QPixmap(QStringLiteral(":/Images/ic_check_32.png"))
                             .scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    check.setPixmap(mark);
    check.resize(mark.size());
    placeCheckMark();
}

void ImageViewer::showScaled(const QPixmap& picture)
{
    if (imageSize.isValid())
        setPixmap(picture.scaled(imageSize, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    else
        setPixmap(picture);
}

void ImageViewer::setImagePath(const QString& path)
{
    showScaled(QPixmap(path));
}

void ImageViewer::downloadImage(const QString& url)
{
    connect(&downloader, &StaticFile::downloadError, this, &ImageViewer::downloadError,
            Qt::UniqueConnection);
    connect(&downloader, &StaticFile::downloadCanceled, this, &ImageViewer::downloadCanceled,
            Qt::UniqueConnection);
    connect(&downloader, &StaticFile::imageReady, this, &ImageViewer::imageReady,
            Qt::UniqueConnection);
    downloader.setUrl(url, StaticFile::LocalFirst, StaticFile::AvatarThumbnails, false);
}

void ImageViewer::imageReady(const QImage& image)
{
    disconnect(&downloader, nullptr, this, nullptr);
    showScaled(QPixmap::fromImage(image));
}

void ImageViewer::setSelected(bool value)
{
    selected = value;
    placeCheckMark();
}

void ImageViewer::placeCheckMark()
{
    check.setVisible(selected);
    if (selected) {
        check.move(width() - check.width(), height() - check.height());
        check.raise();
    }
}

void ImageViewer::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !selectable)
        return;
    setSelected(!selected);
    emit imageSelected(selected ? id : QString());
}

void ImageViewer::resizeEvent(QResizeEvent* event)
{
    QLabel::resizeEvent(event);
    placeCheckMark();
}
