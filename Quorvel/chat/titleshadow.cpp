#include "chat/titleshadow.h"

#include "widgets/interfacescale.h"

#include <QEvent>
#include <QLinearGradient>
#include <QPainter>

TitleShadow::TitleShadow(QWidget* owner) : QWidget(owner->parentWidget()), owner(owner)
{
    setObjectName(QStringLiteral("ChatWindowTitleShadow"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    owner->installEventFilter(this);
    follow();
}

int TitleShadow::depth()
{
    // A blur of five pixels on a shadow three pixels below the title.
    return scaleValue(8);
}

bool TitleShadow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == owner) {
        switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Show:
            follow();
            break;
        case QEvent::Hide:
            hide();
            break;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TitleShadow::follow()
{
    if (!owner)
        return;
    setGeometry(owner->x(), owner->y() + owner->height(), owner->width(), depth());
    setVisible(!owner->isHidden());
    raise();
}

void TitleShadow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QLinearGradient band(0, 0, 0, height());
    band.setColorAt(0.0, QColor(63, 63, 63, 120));
    band.setColorAt(0.45, QColor(63, 63, 63, 45));
    band.setColorAt(1.0, QColor(63, 63, 63, 0));
    painter.fillRect(rect(), band);
}
