#include "widgets/titleshadow.h"

#include "widgets/interfacescale.h"

#include <QEvent>
#include <QLayout>
#include <QLinearGradient>
#include <QPainter>

namespace {

bool laysOut(const QLayout* layout, const QWidget* widget)
{
    for (int i = 0; layout && i < layout->count(); ++i) {
        QLayoutItem* item = layout->itemAt(i);
        if (item->widget() == widget || laysOut(item->layout(), widget))
            return true;
    }
    return false;
}

} // namespace

TitleShadow::TitleShadow(QWidget* owner) : QWidget(owner->parentWidget()), owner(owner)
{
    setObjectName(QStringLiteral("TitleShadow"));
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
    stackOverTheBoard();
}

void TitleShadow::stackOverTheBoard()
{
    QWidget* window = parentWidget();
    const QLayout* layout = window ? window->layout() : nullptr;
    if (!layout) {
        raise();
        return;
    }
    // Siblings from the bottom of the stack up: the shadow goes right above
    // the last one the window lays out, under any panel laid over the window.
    const QObjectList& siblings = window->children();
    int board = -1;
    for (int i = 0; i < siblings.size(); ++i) {
        auto* widget = qobject_cast<QWidget*>(siblings.at(i));
        if (widget && widget != this && laysOut(layout, widget))
            board = i;
    }
    for (int i = board + 1; i < siblings.size(); ++i) {
        auto* widget = qobject_cast<QWidget*>(siblings.at(i));
        if (widget && widget != this && !widget->isWindow()) {
            stackUnder(widget);
            return;
        }
    }
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
