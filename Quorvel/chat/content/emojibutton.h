#ifndef EMOJIBUTTON_H
#define EMOJIBUTTON_H

#include <QLabel>
#include <QString>

// One emoji of the picker: shows the large picture of an emoji and reports
// the small one (the form that goes into messages) when clicked.
class EmojiButton : public QLabel
{
    Q_OBJECT
public:
    // The room around the picture, on each axis.
    static const int kInset = 16;

    EmojiButton(const QString& code, QWidget* parent);
    explicit EmojiButton(QWidget* parent);

    static QString smallPath(const QString& code);
    static QString largePath(const QString& smallPath);

    void setEmoji(const QString& path);
    QString filePath() const { return path; }

signals:
    void clicked(const QString& filePath);

protected:
    void enterEvent(QEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QString path;
};

#endif // EMOJIBUTTON_H
