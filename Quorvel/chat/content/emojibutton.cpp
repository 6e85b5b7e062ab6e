#include "chat/content/emojibutton.h"

#include <QMouseEvent>
#include <QPixmap>

namespace {
const char* const kIdle = "QLabel{border-radius: 2px; background-color: transparent;}";
const char* const kHover = "QLabel{border-radius: 2px; background-color: rgba(128,128,128,40%);}";
} // namespace

EmojiButton::EmojiButton(const QString& code, QWidget* parent) : EmojiButton(parent)
{
    setEmoji(smallPath(code));
}

EmojiButton::EmojiButton(QWidget* parent) : QLabel(parent)
{
    setAlignment(Qt::AlignCenter);
    setStyleSheet(QLatin1String(kIdle));
    setFixedSize(kInset, kInset);
}

QString EmojiButton::smallPath(const QString& code)
{
    return QStringLiteral(":/emojis/png/") + code + QStringLiteral(".png");
}

QString EmojiButton::largePath(const QString& small)
{
    QString large = small;
    return large.replace(QStringLiteral("/png/"), QStringLiteral("/png_large/"), Qt::CaseSensitive);
}

void EmojiButton::setEmoji(const QString& newPath)
{
    if (newPath == path)
        return;
    path = newPath;
    const QPixmap picture(largePath(path));
    setPixmap(picture);
    setFixedSize(picture.size() + QSize(kInset, kInset));
}

void EmojiButton::enterEvent(QEvent* event)
{
    QLabel::enterEvent(event);
    setStyleSheet(QLatin1String(kHover));
}

void EmojiButton::leaveEvent(QEvent* event)
{
    QLabel::leaveEvent(event);
    setStyleSheet(QLatin1String(kIdle));
}

void EmojiButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        emit clicked(path);
}
