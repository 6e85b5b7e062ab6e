#ifndef BACKGROUNDIMAGES_H
#define BACKGROUNDIMAGES_H

#include <QByteArray>
#include <QString>
#include <QStringList>

// The chat backgrounds the service offers on its static-file host: eight
// pictures under "static_file/d5/" and "static_file/d6/", each as
// "<name>.jpg" and as a smaller "<name>.thumbnail.jpg". The pictures are
// drawn (calm gradients with soft circles, one palette each) the first time
// they are asked for and kept for the life of the process.
class BackgroundImages
{
public:
    // "d6/15004655103852yrDzZW4unaxYRVvGHqdTj9OCplk0eX6", ... in the order
    // the settings screen lays out its tiles.
    static QStringList names();
    // The JPEG for a file below "static_file/" ("d6/<name>.jpg" or
    // "d6/<name>.thumbnail.jpg"); empty for any other file.
    static QByteArray file(const QString& path);

    static const int kWidth = 1280;
    static const int kHeight = 800;
    static const int kThumbnailWidth = 240;
};

#endif // BACKGROUNDIMAGES_H
