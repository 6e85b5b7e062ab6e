#ifndef NOTIFICATIONWIDGET_H
#define NOTIFICATIONWIDGET_H

#include <QWidget>

class AvatarViewer;
class QLabel;

// One in-window notification: an avatar beside a title and a line of text,
// both plain text.
class NotificationWidget : public QWidget
{
    Q_OBJECT
public:
    explicit NotificationWidget(QWidget* parent = nullptr);

    void setContent(const QString& title, const QString& text, const QString& avatarUrl,
                    const QString& avatarId, int avatarKind);
    QLabel* titleLabel() const { return title; }
    QLabel* textLabel() const { return text; }
    AvatarViewer* avatar() const { return picture; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    AvatarViewer* picture;
    QLabel* title;
    QLabel* text;
};

#endif // NOTIFICATIONWIDGET_H
