#ifndef IMAGEVIEWER_H
#define IMAGEVIEWER_H

#include "webapi/FileApi/staticfile.h"

#include <QLabel>

// One selectable picture tile: an image from a resource or a download,
// scaled into a fixed size, with a check mark in its corner while selected.
// A click toggles it and reports its identifier (empty when unselected).
class ImageViewer : public QLabel
{
    Q_OBJECT
public:
    ImageViewer(QWidget* parent = nullptr, bool selectable = true, bool selected = false);

    void setImageSize(const QSize& size) { imageSize = size; }
    void setId(const QString& value) { id = value; }
    QString getId() const { return id; }
    void setImagePath(const QString& path);
    void downloadImage(const QString& url);
    void setSelected(bool value);
    bool isSelected() const { return selected; }
    QLabel* checkMark() { return &check; }

signals:
    void imageSelected(QString ID);

public slots:
    void imageReady(const QImage& image);
    void downloadError(const QString&) {}
    void downloadCanceled() {}
    void downloadingProgress(qlonglong, qlonglong) {}

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void placeCheckMark();
    void showScaled(const QPixmap& picture);

    StaticFile downloader;
    QLabel check;
    QSize imageSize;
    QString id;
    bool selectable;
    bool selected;
};

#endif // IMAGEVIEWER_H
