#include "chat/content/downloadwatch.h"

#include "webapi/FileApi/staticfile.h"
#include "widgets/progresscircle.h"

DownloadWatch::DownloadWatch(StaticFile* file, ProgressCircle* circle, QObject* parent)
    : QObject(parent), circle(circle)
{
    connect(file, &StaticFile::downloadError, this, &DownloadWatch::ended);
    connect(file, &StaticFile::downloadCanceled, this, &DownloadWatch::stopped);
}

void DownloadWatch::stopped()
{
    if (stopAsked) {
        stopAsked = false;
        return;
    }
    ended();
}

void DownloadWatch::ended()
{
    const int value = circle->value();
    if (value == 0 || value == 100)
        return;
    circle->setValue(0);
    emit failed();
}
