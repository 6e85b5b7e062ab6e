#include "widgets/dialogmanager.h"

#include "widgets/overlaystack.h"
#include "widgets/stylesheetpaint.h"

#include <QEvent>
#include <QMouseEvent>

DialogManager::DialogManager(QWidget* parent) : QWidget(parent)
{
    hide();
}

DialogManager::~DialogManager()
{
    if (activeDialog && activeDialog->parentWidget() == this) {
        disconnect(activeDialog, &QObject::destroyed, this, nullptr);
        activeDialog->removeEventFilter(this);
        activeDialog->hide();
        activeDialog->setParent(nullptr);
    }
}

void DialogManager::showDialog(QWidget* dialog)
{
    if (!dialog)
        return;
    activeDialog = dialog;
    dialog->setParent(this);
    show();
    raise();
    dialog->show();
    dialog->installEventFilter(this);
    installEventFilter(this);
    // A dialog deleted while shown must not leave the backdrop over the screen.
    connect(dialog, &QObject::destroyed, this, &DialogManager::dialogDestroyed,
            Qt::UniqueConnection);
    arrange();
    // Escape does what a click beside the dialog does.
    OverlayStack::instance()->opened(dialog, [this] { dismiss(); });
}

void DialogManager::dialogDestroyed(QObject* dialog)
{
    // Only the shown one matters; it is forgotten first, so hiding the
    // layer does not touch the dying dialog.
    if (dialog != activeDialog.data())
        return;
    activeDialog = nullptr;
    hide();
}

void DialogManager::arrange()
{
    if (!isVisible() || !activeDialog || !parentWidget())
        return;
    setGeometry(0, 0, parentWidget()->width(), parentWidget()->height());
    activeDialog->move((width() - activeDialog->width()) / 2,
                       (height() - activeDialog->height()) / 2);
}

bool DialogManager::eventFilter(QObject* watched, QEvent* event)
{
    const bool watchedDialog = activeDialog && watched == activeDialog;
    if (event->type() == QEvent::Resize && (watched == this || watchedDialog)) {
        arrange();
        return true;
    }
    if (watchedDialog && event->type() == QEvent::Hide) {
        QWidget* dialog = activeDialog;
        dialog->removeEventFilter(this);
        dialog->setParent(nullptr);
        activeDialog = nullptr;
        hide();
        return true;
    }
    if (watchedDialog && event->type() == QEvent::MouseButtonRelease)
        return true;
    return QWidget::eventFilter(watched, event);
}

void DialogManager::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        dismiss();
}

void DialogManager::dismiss()
{
    if (!activeDialog)
        return;
    activeDialog->removeEventFilter(this);
    activeDialog->hide();
    activeDialog->setParent(nullptr);
    hide();
}

void DialogManager::paintEvent(QPaintEvent* event)
{
    StyleSheetPaint::plain(this);
    QWidget::paintEvent(event);
}
