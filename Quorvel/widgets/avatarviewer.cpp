#include "widgets/avatarviewer.h"

#include "webapi/FileApi/staticfile.h"
#include "widgets/roundpixmap.h"
#include "widgets/senderpalette.h"

#include <QIcon>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmapCache>

AvatarViewer::AvatarViewer(QWidget* parent) : QLabel(parent), file(new StaticFile())
{
    setAlignment(Qt::AlignCenter);
    setObjectName(QStringLiteral("AvatarViewer"));
}

AvatarViewer::~AvatarViewer()
{
    delete file;
}

QPixmap AvatarViewer::defaultAvatar(int kind, const QString& id, const QSize& size)
{
    // Long lists show the same few pictures over and over: one per kind,
    // palette colour and size, drawn once.
    const int colour = senderColorIndex(id);
    const QString key = QStringLiteral("AvatarViewer_default_%1_%2_%3x%4")
                            .arg(kind)
                            .arg(colour)
                            .arg(size.width())
                            .arg(size.height());
    QPixmap result;
    if (QPixmapCache::find(key, &result))
        return result;
    QString icon = QStringLiteral(":/Images/ic_person.png");
    int margin = 5;
    if (kind == Group) {
        icon = QStringLiteral(":/Images/ic_group_white.png");
    } else if (kind == Channel) {
        icon = QStringLiteral(":/Images/ic_channel_w.png");
        margin = 15;
    }
    const QPixmap picture =
        QIcon(icon).pixmap(size - QSize(margin, margin), QIcon::Normal, QIcon::On);
    result = QPixmap(size);
    result.fill(Qt::transparent);
    QPainter painter(&result);
    painter.setPen(Qt::NoPen);
    painter.setBrush(senderColor(id));
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    painter.drawEllipse(0, 0, size.width(), size.height());
    painter.drawPixmap((size.width() - picture.width()) / 2, (size.height() - picture.height()) / 2,
                       picture);
    painter.end();
    QPixmapCache::insert(key, result);
    return result;
}

QPixmap AvatarViewer::thumbnailPixmap(const QImage& picture)
{
    return QPixmap::fromImage(picture,
                              Qt::ColorOnly | Qt::DiffuseAlphaDither | Qt::NoFormatConversion)
        .scaledToHeight(picture.width(), Qt::FastTransformation);
}

QPixmap AvatarViewer::roundAvatar(const QImage& picture, const QSize& size)
{
    return roundPixmap(thumbnailPixmap(picture), size);
}

void AvatarViewer::setAvatarSize(const QSize& value)
{
    size = value;
}

void AvatarViewer::setAvatarType(int value)
{
    kind = value;
}

void AvatarViewer::setClickable(bool value)
{
    clickable = value;
}

void AvatarViewer::setCheckable(bool value)
{
    checkable = value;
}

void AvatarViewer::setAvatarId(const QString& value)
{
    id = value;
    avatar = defaultAvatar(kind, id, size);
    showAvatar();
}

void AvatarViewer::downloadAvatar(const QString& url)
{
    connect(file, &StaticFile::downloadError, this, &AvatarViewer::downloadError,
            Qt::UniqueConnection);
    connect(file, &StaticFile::downloadCanceled, this, &AvatarViewer::downloadCanceled,
            Qt::UniqueConnection);
    connect(file, &StaticFile::imageReady, this, &AvatarViewer::imageReady, Qt::UniqueConnection);
    file->setUrl(url, StaticFile::LocalFirst, StaticFile::AvatarThumbnails, false);
}

void AvatarViewer::imageReady(const QImage& picture)
{
    disconnect(file, nullptr, this, nullptr);
    emit avatarDownloadFinished(picture);
    if (picture.isNull())
        return;
    image = thumbnailPixmap(picture);
    avatar = roundPixmap(image, size);
    showAvatar();
}

void AvatarViewer::setChecked(bool value)
{
    checked = value;
    showAvatar();
}

QPixmap AvatarViewer::checkedPicture() const
{
    QPixmap result(size);
    result.fill(Qt::transparent);
    QPainter painter(&result);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    const QColor ring("#aa3063");
    painter.setPen(ring);
    painter.setBrush(ring);
    painter.drawEllipse(2, 2, size.width() - 4, size.height() - 4);
    painter.drawPixmap(
        5, 5, avatar.scaled(size - QSize(10, 10), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    const QPixmap check =
        QIcon(QStringLiteral(":/Images/ic_check_32.png")).pixmap(20, 20, QIcon::Normal, QIcon::On);
    painter.drawPixmap(size.width() - check.width(), size.height() - check.height(), check);
    return result;
}

void AvatarViewer::showAvatar()
{
    setPixmap(checkable && checked ? checkedPicture() : avatar);
}

void AvatarViewer::mouseReleaseEvent(QMouseEvent* event)
{
    if (!clickable) {
        event->ignore();
        return;
    }
    if (event->button() == Qt::LeftButton)
        emit onClick();
}
