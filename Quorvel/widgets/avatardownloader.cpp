#include "widgets/avatardownloader.h"

#include "model/profile.h"
#include "webapi/FileApi/staticfile.h"
#include "widgets/avatarviewer.h"
#include "widgets/interfacescale.h"

AvatarDownloader::AvatarDownloader(QObject* parent)
    : QObject(parent), file(new StaticFile()), size(scaleValue(30), scaleValue(30))
{
}

AvatarDownloader::~AvatarDownloader()
{
    delete file;
}

void AvatarDownloader::setUserId(const QString& id)
{
    userId = id;
    avatar = AvatarViewer::defaultAvatar(AvatarViewer::Person, id, size);
}

void AvatarDownloader::downloadAvatar(const Profile& profile)
{
    nickName = profile.getNickName();
    const QString url = profile.getAvatarThumbnailUrl();
    if (url.isEmpty()) {
        emit avatarChanged(userId, nickName, QPixmap());
        return;
    }
    connect(file, &StaticFile::imageReady, this, &AvatarDownloader::imageReady,
            Qt::UniqueConnection);
    connect(file, &StaticFile::downloadError, this, &AvatarDownloader::downloadError,
            Qt::UniqueConnection);
    connect(file, &StaticFile::downloadCanceled, this, &AvatarDownloader::downloadCanceled,
            Qt::UniqueConnection);
    file->setUrl(url, StaticFile::LocalFirst, StaticFile::AvatarThumbnails, false);
}

void AvatarDownloader::imageReady(const QImage& image)
{
    disconnect(file, nullptr, this, nullptr);
    if (!image.isNull())
        avatar = AvatarViewer::roundAvatar(image, size);
    emit avatarChanged(userId, nickName, avatar);
}
