#ifndef LAZYAVATAR_H
#define LAZYAVATAR_H

#include <QImage>
#include <QObject>
#include <QPixmap>
#include <QSize>
#include <QString>

class StaticFile;

// The avatar of a row in a long list, without a widget of its own: the
// default picture for the owner's kind and id at once, the owner's thumbnail
// read or downloaded only once it is wanted (the row is painted, or its chat
// opened), and made round once. A list of a thousand rows thus reads no file
// for the rows nobody has scrolled to.
class LazyAvatar : public QObject
{
    Q_OBJECT
public:
    explicit LazyAvatar(const QSize& size, QObject* parent = nullptr);

    // Kind as AvatarViewer's kinds. A new owner shows its default picture.
    void setOwner(int kind, const QString& id);
    // Where the thumbnail comes from; a new address is fetched when the
    // picture is next wanted, at once when it has been wanted already.
    void setUrl(const QString& url);
    // Fetches the thumbnail now if it has not been.
    void want();

    const QPixmap& pixmap() const { return picture; }
    QSize size() const { return pictureSize; }
    bool isWanted() const { return wanted; }

signals:
    // The picture changed: the row paints again.
    void changed();
    // The thumbnail as fetched (null when it could not be read).
    void downloaded(const QImage& image);

private:
    void fetch();
    void imageReady(const QImage& image);

    QSize pictureSize;
    int kind = 0;
    QString id;
    QString url;
    // The address whose thumbnail was asked for last.
    QString fetched;
    bool wanted = false;
    QPixmap picture;
    StaticFile* file = nullptr;
};

#endif // LAZYAVATAR_H
