#include "widgets/progresscircle.h"

#include "widgets/pixmapcaching.h"

#include <QApplication>
#include <QMap>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmapCache>
#include <QPropertyAnimation>

namespace {
const QSize iconSize(18, 18);

const QMap<QString, QString>& iconImages()
{
    static const QMap<QString, QString> images{
        {QStringLiteral("ProgressCircle_StartDownload"),
         QStringLiteral(":/Images/downloadStart.png")},
        {QStringLiteral("ProgressCircle_StopDownload"),
         QStringLiteral(":/Images/downloadStop.png")},
        {QStringLiteral("ProgressCircle_PlayDownload"),
         QStringLiteral(":/Images/downloadPlay.png")},
        {QStringLiteral("ProgressCircle_OtherDownload"),
         QStringLiteral(":/Images/downloadOther.png")},
        {QStringLiteral("ProgressCircle_PauseDownload"),
         QStringLiteral(":/Images/downloadPause.png")},
        {QStringLiteral("ProgressCircle_Location"), QStringLiteral(":/Images/location.png")},
        {QStringLiteral("ProgressCircle_Retry"), QStringLiteral(":/Images/uploadRetry.png")}};
    return images;
}
} // namespace

ProgressCircle::ProgressCircle(QWidget* parent)
    : QWidget(parent), valueAnimation(new QPropertyAnimation(this, "visibleValue", this)),
      rotation(new QPropertyAnimation(this, "infiniteAnimationValue", this))
{
    setFixedSize(40, 40);
    setMouseTracking(true);
    rotation->setStartValue(0.0);
    rotation->setEndValue(1.0);
    rotation->setDuration(3000);
    rotation->setLoopCount(-1);
    cacheIcons();
    disc();
    connect(valueAnimation, &QPropertyAnimation::finished, this,
            &ProgressCircle::mValueAnimationFinished);
}

ProgressCircle::~ProgressCircle()
{
    // A circle deleted under the pointer leaves no hand cursor behind.
    if (overrideCursorSet)
        QApplication::restoreOverrideCursor();
}

void ProgressCircle::cacheIcons()
{
    cachePixmaps(iconImages(), iconSize);
}

bool ProgressCircle::isRotating() const
{
    return rotation->state() == QAbstractAnimation::Running;
}

void ProgressCircle::setValue(int value)
{
    value = qMax(value, 0);
    if (value == mValue)
        return;
    if (rotation->state() == QAbstractAnimation::Stopped)
        rotation->start();
    else if (rotation->state() == QAbstractAnimation::Paused)
        rotation->resume();
    valueAnimation->stop();
    valueAnimation->setStartValue(mVisibleValue);
    valueAnimation->setEndValue(value);
    valueAnimation->setDuration(250);
    valueAnimation->start();
    mValue = value;
    emit valueChanged(value);
}

void ProgressCircle::setMaximum(int maximum)
{
    maximum = qMax(maximum, 0);
    if (maximum == mMaximum)
        return;
    mMaximum = maximum;
    update();
    emit maximumChanged(maximum);
}

void ProgressCircle::setInnerRadius(double innerRadius)
{
    innerRadius = qBound(0.0, innerRadius, 1.0);
    if (innerRadius == mInnerRadius)
        return;
    mInnerRadius = innerRadius;
    update();
}

void ProgressCircle::setOuterRadius(double outerRadius)
{
    outerRadius = qBound(0.0, outerRadius, 1.0);
    if (outerRadius == mOuterRadius)
        return;
    mOuterRadius = outerRadius;
    update();
}

void ProgressCircle::setColor(const QColor& color)
{
    if (color == mColor)
        return;
    mColor = color;
    update();
}

void ProgressCircle::setInfiniteAnimationValue(double value)
{
    mInfiniteAnimationValue = value;
    update();
}

void ProgressCircle::setVisibleValue(int value)
{
    if (value == mVisibleValue)
        return;
    mVisibleValue = value;
    update();
}

void ProgressCircle::mValueAnimationFinished()
{
    // A finished transfer stops turning whatever its maximum.
    if (mValue == 0 || mValue >= mMaximum)
        rotation->stop();
}

void ProgressCircle::setBackgroundColor(const QColor& value)
{
    backgroundColor = value;
    disc();
}

QPixmap ProgressCircle::disc()
{
    const QString key = QStringLiteral("ProgressCircle_BackGround,%1").arg(backgroundColor.rgb());
    QPixmap pixmap;
    if (QPixmapCache::find(key, &pixmap))
        return pixmap;
    pixmap = QPixmap(size());
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(backgroundColor);
    painter.drawEllipse(pixmap.rect());
    painter.end();
    QPixmapCache::insert(key, pixmap);
    return pixmap;
}

int ProgressCircle::arcSpan() const
{
    // With no maximum there is no share to show.
    if (mMaximum <= 0)
        return 0;
    return qMin(mVisibleValue, mMaximum) * -360 * 16 / mMaximum;
}

QPixmap ProgressCircle::arc()
{
    const QString key = QStringLiteral("%1,%2,%3,%4,%5,%6,%7,%8")
                            .arg(mInfiniteAnimationValue)
                            .arg(mVisibleValue)
                            .arg(mMaximum)
                            .arg(mInnerRadius)
                            .arg(mOuterRadius)
                            .arg(width())
                            .arg(height())
                            .arg(mColor.rgb());
    QPixmap pixmap;
    if (QPixmapCache::find(key, &pixmap))
        return pixmap;
    const int side = qMin(width(), height());
    pixmap = QPixmap(side, side);
    pixmap.fill(Qt::transparent);
    const int span = arcSpan();
    if (span != 0) {
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        const double inset = side * (1.0 - mOuterRadius) * 0.5;
        const QRectF square = QRectF(0, 0, side, side).adjusted(inset, inset, -inset, -inset);
        painter.setPen(QPen(QBrush(mColor), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawArc(square, static_cast<int>(mInfiniteAnimationValue * -360 * 16), span);
    }
    QPixmapCache::insert(key, pixmap);
    return pixmap;
}

QPixmap ProgressCircle::icon(const QString& key)
{
    return cachedPixmap(key, iconImages().value(key), iconSize);
}

void ProgressCircle::drawCentred(QPainter& painter, const QPixmap& pixmap)
{
    if (pixmap.isNull())
        return;
    painter.drawPixmap((width() - pixmap.width()) / 2, (height() - pixmap.height()) / 2, pixmap);
}

void ProgressCircle::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (mValue == mMaximum) {
        painter.setRenderHint(QPainter::Antialiasing);
        QString key;
        switch (state) {
        case 1:
            key = QStringLiteral("ProgressCircle_PlayDownload");
            break;
        case 2:
            key = QStringLiteral("ProgressCircle_OtherDownload");
            break;
        case 3:
            key = QStringLiteral("ProgressCircle_Location");
            break;
        case 4:
            key = pauseFlag ? QStringLiteral("ProgressCircle_PauseDownload")
                            : QStringLiteral("ProgressCircle_PlayDownload");
            break;
        default:
            return;
        }
        drawCentred(painter, disc());
        drawCentred(painter, icon(key));
        return;
    }
    drawCentred(painter, disc());
    drawCentred(painter, arc());
    if (state == 5)
        return;
    if (mValue != 0)
        drawCentred(painter, icon(QStringLiteral("ProgressCircle_StopDownload")));
    else
        drawCentred(painter, icon(mUploadMode == 0 ? QStringLiteral("ProgressCircle_StartDownload")
                                                   : QStringLiteral("ProgressCircle_Retry")));
}

void ProgressCircle::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || state == 5)
        return;
    if (mValue != mMaximum && mValue != 0) {
        setValue(0);
        emit cancel();
    } else if (mValue != mMaximum && mUploadMode != 0) {
        // Shown as started before the transfer is asked for, so that a
        // transfer refused at once can put the button back.
        setValue(1);
        emit retryUpload();
    } else if (mValue != mMaximum) {
        setValue(1);
        emit startDownload();
    } else if (state == 4 && pauseFlag) {
        emit pause();
    } else {
        emit open();
    }
}

void ProgressCircle::enterEvent(QEvent*)
{
    if (!clickable || overrideCursorSet)
        return;
    QApplication::setOverrideCursor(Qt::PointingHandCursor);
    overrideCursorSet = true;
}

void ProgressCircle::leaveEvent(QEvent*)
{
    if (!overrideCursorSet)
        return;
    QApplication::restoreOverrideCursor();
    overrideCursorSet = false;
}
