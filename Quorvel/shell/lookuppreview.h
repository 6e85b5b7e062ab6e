#ifndef LOOKUPPREVIEW_H
#define LOOKUPPREVIEW_H

#include <QList>
#include <QWidget>

class AvatarViewer;
class FlatButton;
class QLabel;

// What the group and user previews share: a round avatar and three lines of
// plain text, each centred, and two buttons below them, on a background of
// their own over the dimmed window.
class LookupPreview : public QWidget
{
    Q_OBJECT
public:
    AvatarViewer* avatarViewer() const { return avatar; }
    QList<QLabel*> textLabels() const { return labels; }
    FlatButton* firstButton() const { return first; }
    FlatButton* secondButton() const { return second; }

protected:
    // avatarSide is before the interface scale.
    LookupPreview(int avatarSide, const QString& firstText, const QString& secondText,
                  QWidget* parent);
    // The avatar of kind (AvatarViewer's kinds) for id, its thumbnail
    // fetched from url, and the three lines.
    void showLookup(int kind, const QString& id, const QString& url, const QStringList& lines);

private:
    AvatarViewer* avatar;
    QList<QLabel*> labels;
    FlatButton* first;
    FlatButton* second;
};

#endif // LOOKUPPREVIEW_H
