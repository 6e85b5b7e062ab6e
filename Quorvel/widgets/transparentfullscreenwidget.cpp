#include "widgets/transparentfullscreenwidget.h"

#include "widgets/label.h"
#include "widgets/overlaystack.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>

TransparentFullScreenWidget::TransparentFullScreenWidget(QWidget* parent)
    : QWidget(parent), closeButton(new Label(this)), background(new QWidget(this))
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setWindowFlags(Qt::Popup | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowState(Qt::WindowFullScreen);

    closeButton->setFixedSize(40, 40);
    closeButton->setObjectName(QStringLiteral("FullscreenCloseLabel"));
    closeButton->setPixmap(QPixmap(QStringLiteral(":/Images/close_white.png"))
                               .scaled(40, 40, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    connect(closeButton, &Label::clicked, this, &QWidget::close);
    OverlayStack::instance()->track(this, [this] { closeOverlay(); });
    closeButton->show();

    background->setStyleSheet(QStringLiteral("QWidget{background-color: rgba(0,0,0,70%);}"));

    const QScreen* screen = QGuiApplication::primaryScreen();
    resize(screen ? screen->geometry().size() : QSize(1280, 800));
    background->setGeometry(rect());
    background->show();
    background->raise();
    closeButton->move(width() - closeButton->width(), 0);
    closeButton->raise();
}

void TransparentFullScreenWidget::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    background->setGeometry(rect());
    closeButton->move(width() - closeButton->width(), 0);
    placeContent();
}

void TransparentFullScreenWidget::showOver(QWidget* widget)
{
    content = widget;
    placeContent();
}

void TransparentFullScreenWidget::placeContent()
{
    if (!content)
        return;
    if (content->parentWidget() != this)
        content->setParent(this);
    content->raise();
    content->move((width() - content->width()) / 2, (height() - content->height()) / 2);
}

void TransparentFullScreenWidget::closeOverlay()
{
    emit closed();
    close();
}

void TransparentFullScreenWidget::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        closeOverlay();
}
