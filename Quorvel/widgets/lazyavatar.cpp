#include "widgets/lazyavatar.h"

#include "webapi/FileApi/staticfile.h"
#include "widgets/avatarviewer.h"
#include "widgets/roundpixmap.h"

LazyAvatar::LazyAvatar(const QSize& size, QObject* parent) : QObject(parent), pictureSize(size) {}

void LazyAvatar::setOwner(int newKind, const QString& newId)
{
    if (newKind == kind && newId == id && !picture.isNull())
        return;
    kind = newKind;
    id = newId;
    picture = AvatarViewer::defaultAvatar(kind, id, pictureSize);
    // The thumbnail shown was the former owner's.
    fetched.clear();
    if (wanted)
        fetch();
    emit changed();
}

void LazyAvatar::setUrl(const QString& value)
{
    if (value == url)
        return;
    url = value;
    if (url.isEmpty()) {
        fetched.clear();
        picture = AvatarViewer::defaultAvatar(kind, id, pictureSize);
        emit changed();
        return;
    }
    if (wanted)
        fetch();
}

void LazyAvatar::want()
{
    if (wanted)
        return;
    wanted = true;
    fetch();
}

void LazyAvatar::fetch()
{
    if (url.isEmpty() || url == fetched)
        return;
    fetched = url;
    if (!file) {
        file = new StaticFile(this);
        connect(file, &StaticFile::imageReady, this, &LazyAvatar::imageReady);
    }
    // A thumbnail kept on disk comes back at once, before this returns.
    file->setUrl(url, StaticFile::LocalFirst, StaticFile::AvatarThumbnails, false);
}

void LazyAvatar::imageReady(const QImage& image)
{
    emit downloaded(image);
    if (image.isNull())
        return;
    picture = roundPixmap(AvatarViewer::thumbnailPixmap(image), pictureSize);
    emit changed();
}
