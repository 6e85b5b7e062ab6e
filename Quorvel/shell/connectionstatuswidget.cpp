#include "shell/connectionstatuswidget.h"

#include "foundation/simpleqtlogger.h"
#include "widgets/fonts.h"
#include "widgets/interfacescale.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>

namespace {
// Guarded: the strip lives in its window and goes with it.
QPointer<ConnectionStatusWidget> instance;
} // namespace

ConnectionStatusWidget* ConnectionStatusWidget::getInstance()
{
    if (!instance)
        instance = new ConnectionStatusWidget;
    return instance;
}

void ConnectionStatusWidget::deleteInstance()
{
    delete instance.data();
    instance = nullptr;
    L_DEBUG(QStringLiteral("ConnectionStatusWidget::deleteInstance() | "));
}

ConnectionStatusWidget::ConnectionStatusWidget() : label(new QLabel(this))
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    label->setObjectName(QStringLiteral("ConnectionStatusWidgetLabel"));
    label->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Maximum);
    label->setFixedSize(scaleSize(QSize(120, 20)));
    label->setAlignment(Qt::AlignCenter);
    label->setFont(Fonts::getFont(baseFontSize));
    layout->addWidget(label);
    hide();
}

void ConnectionStatusWidget::xmppStateChanged(ConnectionState state)
{
    L_DEBUG(QStringLiteral("ConnectionStatusWidget::xmppStateChanged | ") + QString::number(state));
    switch (state) {
    case Loading:
    case Disconnected:
    case Connecting: {
        static const char* const keys[] = {QT_TR_NOOP("_loading"), QT_TR_NOOP("_disconnected"),
                                           QT_TR_NOOP("_connecting")};
        show();
        raise();
        label->setText(tr(keys[state]));
        adjustPosition();
        if (state == Disconnected)
            emit disconnected();
        break;
    }
    case Connected:
        label->setText(tr("_connected"));
        hide();
        emit connected();
        break;
    }
}

void ConnectionStatusWidget::adjustPosition()
{
    if (QWidget* parent = parentWidget()) {
        adjustSize();
        move((parent->width() - width()) / 2, (parent->height() - height()) / 2);
    }
}

void ConnectionStatusWidget::showLoading()
{
    xmppStateChanged(Loading);
}

QString ConnectionStatusWidget::text() const
{
    return label->text();
}
