#ifndef AVATARDOWNLOADER_H
#define AVATARDOWNLOADER_H

#include <QImage>
#include <QObject>
#include <QPixmap>
#include <QSize>

class Profile;
class StaticFile;

// Fetches a user's round thumbnail for a conversation and announces it.
class AvatarDownloader : public QObject
{
    Q_OBJECT
public:
    explicit AvatarDownloader(QObject* parent = nullptr);
    ~AvatarDownloader() override;

    void setAvatarSize(const QSize& value) { size = value; }
    void setUserId(const QString& id);
    // A profile without a thumbnail address is announced at once with a
    // null picture.
    void downloadAvatar(const Profile& profile);
    QPixmap getAvatar() const { return avatar; }
    QString getNickName() const { return nickName; }

signals:
    void avatarChanged(const QString& userID, const QString& userNickName, const QPixmap& avatar);

public slots:
    void imageReady(const QImage& image);
    void downloadingProgress(qlonglong, qlonglong) {}
    void downloadError(const QString&) {}
    void downloadCanceled() {}

private:
    QString userId;
    QString nickName;
    QPixmap avatar;
    StaticFile* file;
    QSize size;
};

#endif // AVATARDOWNLOADER_H
