#include "widgets/customlineedit.h"

#include "widgets/stylesheetpaint.h"

#include <QKeyEvent>

CustomLineEdit::CustomLineEdit(const QString& hint, QWidget* parent)
    : QLineEdit(parent), hintText(hint)
{
    // Read out by its hint, also once the hint gives way to the text.
    setAccessibleName(hint);
    connect(this, &QLineEdit::textChanged, this, &CustomLineEdit::onTextChanged);
    connect(this, &QLineEdit::cursorPositionChanged, this,
            &CustomLineEdit::onCursorPositionChanged);
    setEchoMode(QLineEdit::Normal);
    echoModeWhenFilled = echoMode();
    showingHint = true;
    setPlaceholderText(QString());
    setText(hintText);
}

void CustomLineEdit::showHint()
{
    setEchoMode(QLineEdit::Normal);
    setText(hintText);
    setCursorPosition(0);
}

void CustomLineEdit::onTextChanged(const QString& text)
{
    if (showingHint) {
        if (text == hintText || text.isEmpty()) {
            showHint();
            return;
        }
        showingHint = false;
        const int at = text.lastIndexOf(hintText);
        const QString typed = at >= 0 && !hintText.isEmpty() ? text.left(at) : text;
        setEchoMode(echoModeWhenFilled);
        setText(typed);
        // An unchanged text raises no textChanged of its own.
        if (typed == text)
            emit stringChanged(typed);
        return;
    }
    if (text.isEmpty()) {
        showingHint = true;
        showHint();
        emit stringChanged(QString());
        return;
    }
    emit stringChanged(text);
}

void CustomLineEdit::onCursorPositionChanged(int, int newPos)
{
    if (showingHint && newPos != 0)
        setCursorPosition(0);
}

void CustomLineEdit::keyPressEvent(QKeyEvent* event)
{
    if (showingHint && (event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Delete)) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void CustomLineEdit::paintEvent(QPaintEvent* event)
{
    StyleSheetPaint::plain(this);
    QLineEdit::paintEvent(event);
}
