#include "screens/picturechooser.h"

#include "foundation/simpleqtlogger.h"

#include <QDir>
#include <QFileDialog>
#include <QPainter>
#include <QPainterPath>
#include <QStandardPaths>

QString PictureChooser::ask(QWidget* parent, const QString& caption, const QString& filter)
{
    return QFileDialog::getOpenFileName(
        parent, caption, QStandardPaths::writableLocation(QStandardPaths::PicturesLocation),
        filter);
}

QString PictureChooser::writeThumbnail(const QImage& picture)
{
    const QStringList folders = QStandardPaths::standardLocations(QStandardPaths::AppDataLocation);
    const QString folder = folders.isEmpty() ? QDir::tempPath() : folders.first();
    QDir().mkpath(folder);
    const QString path = folder + QStringLiteral("/Thumbnail.jpg");
    const QImage thumbnail =
        picture.scaled(156, 156, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (!thumbnail.save(path, "JPG"))
        L_WARN(QStringLiteral("PictureChooser::writeThumbnail | could not write ") + path);
    return path;
}

QPixmap PictureChooser::oval(const QPixmap& picture, const QSize& size)
{
    if (picture.isNull())
        return QPixmap();
    QPixmap shaped(picture.size());
    shaped.fill(Qt::transparent);
    QPainter painter(&shaped);
    QPainterPath ellipse;
    ellipse.addEllipse(0, 0, picture.width(), picture.height());
    painter.setClipPath(ellipse);
    painter.drawPixmap(0, 0, picture.width(), picture.height(), picture);
    painter.end();
    return shaped.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}
