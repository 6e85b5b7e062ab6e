#include "chat/content/downloadwatch.h"

#include "foundation/simpleqtlogger.h"
#include "webapi/FileApi/staticfile.h"
#include "widgets/progresscircle.h"

DownloadWatch::DownloadWatch(StaticFile* file, ProgressCircle* circle, QObject* parent)
    : QObject(parent), circle(circle)
{
    connect(file, &StaticFile::downloadError, this, &DownloadWatch::ended);
    connect(file, &StaticFile::downloadCanceled, this, &DownloadWatch::stopped);
}

bool DownloadWatch::started(const QString& address)
{
    stopAsked = false;
    if (!address.isEmpty())
        return true;
    L_WARN(QStringLiteral("DownloadWatch::started | no address to download from"));
    ended();
    return false;
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
