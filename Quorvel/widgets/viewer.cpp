#include "widgets/viewer.h"

#include "foundation/simpleqtlogger.h"

#include <QGraphicsDropShadowEffect>
#include <QLabel>

QPointer<Viewer> Viewer::instance;

Viewer::Viewer() : TransparentFullScreenWidget(nullptr), image(new QLabel(this))
{
    image->hide();
    setAttribute(Qt::WA_DeleteOnClose, false);
    connect(this, &TransparentFullScreenWidget::closed, this, &Viewer::onClosed);
    auto* shadow = new QGraphicsDropShadowEffect(image);
    shadow->setBlurRadius(2.0);
    shadow->setColor(Qt::white);
    shadow->setOffset(0, 0);
    image->setGraphicsEffect(shadow);
}

Viewer* Viewer::getInstance()
{
    if (!instance)
        instance = new Viewer();
    return instance;
}

void Viewer::deleteInstance()
{
    Viewer* old = instance;
    delete old;
    instance = nullptr;
    L_DEBUG(QStringLiteral("Viewer::deleteInstance() | ") +
            QString::number(reinterpret_cast<quintptr>(old), 16));
}

QSize Viewer::targetSize(const QSize& picture, const QSize& viewer)
{
    if (picture.width() <= viewer.width() && picture.height() <= viewer.height())
        return picture;
    return picture.scaled(viewer, Qt::KeepAspectRatio);
}

void Viewer::showImage(const QString& filePath)
{
    L_DEBUG(QStringLiteral("Viewer::showImage | ") + filePath);
    const QPixmap picture(filePath);
    if (picture.isNull()) {
        L_WARN(QStringLiteral("Viewer::showImage | not an image: ") + filePath);
        return;
    }
    const QSize target = targetSize(picture.size(), size());
    image->resize(target);
    image->setPixmap(picture.scaled(target, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    showOver(image);
    image->show();
}

void Viewer::showOver(QWidget* widget)
{
    if (widget != getContent()) {
        QWidget* current = getContent();
        // A shown widget goes back to its owner; the picture label stays.
        if (current && current != image) {
            current->setParent(nullptr);
            current->close();
        } else if (current) {
            current->hide();
        }
        TransparentFullScreenWidget::showOver(widget);
    }
    show();
}

void Viewer::onClosed()
{
    hide();
}

void Viewer::centralWidgetresized(QWidget* centralWidget)
{
    TransparentFullScreenWidget::showOver(centralWidget);
}
