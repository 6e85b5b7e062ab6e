#include "widgets/focusfield.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace {
bool takesFocus(QWidget* root, QWidget* w)
{
    return root->isAncestorOf(w) && w->isVisibleTo(root) && w->isEnabled() &&
           (w->focusPolicy() & Qt::TabFocus);
}

bool isTextField(QWidget* w)
{
    if (auto* line = qobject_cast<QLineEdit*>(w))
        return !line->isReadOnly();
    if (auto* text = qobject_cast<QTextEdit*>(w))
        return !text->isReadOnly();
    if (auto* plain = qobject_cast<QPlainTextEdit*>(w))
        return !plain->isReadOnly();
    return false;
}
} // namespace

QWidget* FocusField::first(QWidget* root)
{
    if (!root)
        return nullptr;
    QWidget* firstTaker = nullptr;
    for (QWidget* w = root->nextInFocusChain(); w && w != root; w = w->nextInFocusChain()) {
        if (!takesFocus(root, w))
            continue;
        if (isTextField(w))
            return w;
        if (!firstTaker)
            firstTaker = w;
    }
    return firstTaker;
}

void FocusField::into(QWidget* root)
{
    if (!root)
        return;
    if (QWidget* field = first(root)) {
        field->setFocus(Qt::PopupFocusReason);
        return;
    }
    if (root->focusPolicy() == Qt::NoFocus)
        root->setFocusPolicy(Qt::ClickFocus);
    root->setFocus(Qt::PopupFocusReason);
}

QWidget* FocusField::outside(QWidget* root)
{
    QWidget* focused = QApplication::focusWidget();
    // A window in the background keeps its own focus for when it is back.
    if (!focused && root)
        focused = root->window()->focusWidget();
    if (!focused || focused == root || (root && root->isAncestorOf(focused)))
        return nullptr;
    return focused;
}

void FocusField::giveBack(QPointer<QWidget>& home)
{
    QWidget* back = home;
    home = nullptr;
    if (back && back->isVisible() && back->isEnabled())
        back->setFocus(Qt::PopupFocusReason);
}
