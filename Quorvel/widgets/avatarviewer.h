#ifndef AVATARVIEWER_H
#define AVATARVIEWER_H

#include <QImage>
#include <QLabel>
#include <QPixmap>

class StaticFile;

// A round avatar: a disc in the owner's palette colour with the icon of the
// owner's kind until the owner's thumbnail has been downloaded.
class AvatarViewer : public QLabel
{
    Q_OBJECT
public:
    enum Kind
    {
        Person = 1,
        Group = 2,
        Channel = 3
    };

    explicit AvatarViewer(QWidget* parent = nullptr);
    ~AvatarViewer() override;

    // Callers set the size and the kind before the id, and download last.
    void setAvatarSize(const QSize& size);
    void setAvatarType(int kind);
    void setClickable(bool value);
    void setAvatarId(const QString& id);
    void downloadAvatar(const QString& url);
    void setChecked(bool value);
    void setCheckable(bool value);
    bool isCheckable() const { return checkable; }

    QPixmap getAvatar() const { return avatar; }
    QSize getAvatarSize() const { return size; }

    static QPixmap defaultAvatar(int kind, const QString& id, const QSize& size);
    // The downloaded picture as kept, and made round at the size.
    static QPixmap thumbnailPixmap(const QImage& image);
    static QPixmap roundAvatar(const QImage& image, const QSize& size);

signals:
    void avatarDownloadFinished(const QImage& avThumbnail);
    void onClick();

public slots:
    void imageReady(const QImage& image);
    void downloadingProgress(qlonglong, qlonglong) {}
    void downloadError(const QString&) {}
    void downloadCanceled() {}

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void showAvatar();
    QPixmap checkedPicture() const;

    QString id;
    StaticFile* file;
    int kind = Person;
    QPixmap avatar;
    QPixmap image;
    bool checkable = false;
    bool checked = false;
    bool clickable = true;
    QSize size;
};

#endif // AVATARVIEWER_H
