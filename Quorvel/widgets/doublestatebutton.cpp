#include "widgets/doublestatebutton.h"

#include "widgets/pixmapcaching.h"

#include <QMouseEvent>
#include <QPixmapCache>

DoubleStateButton::DoubleStateButton(QWidget* parent) : QLabel(parent) {}

void DoubleStateButton::setImages(const QString& keyTrue, const QString& imageTrue,
                                  const QString& keyFalse, const QString& imageFalse,
                                  const QSize& size)
{
    cachedScaledPixmap(keyTrue, imageTrue, size);
    cachedScaledPixmap(keyFalse, imageFalse, size);
    setFixedSize(size);
    trueKey = keyTrue;
    falseKey = keyFalse;
}

void DoubleStateButton::showState()
{
    QPixmap pixmap;
    QPixmapCache::find(state ? trueKey : falseKey, &pixmap);
    setPixmap(pixmap);
}

void DoubleStateButton::setState(bool value)
{
    state = value;
    showState();
}

void DoubleStateButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    state = !state;
    showState();
    emit clicked(state);
}
