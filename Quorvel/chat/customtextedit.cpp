#include "chat/customtextedit.h"

#include "chat/bubbletext.h"

#include "foundation/emojimanager.h"
#include "foundation/htmlmanager.h"
#include "foundation/linkgenerator.h"
#include "model/globalconstants.h"
#include "widgets/interfacescale.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QTextBlock>

CustomTextEdit::CustomTextEdit(QWidget* parent) : QTextEdit(parent) {}

void CustomTextEdit::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return &&
        (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::ShiftModifier)) {
        event->accept();
        // Send key 0 sends on a bare Return; any other setting swaps the two.
        const bool sendOnReturn = int(GlobalConstants::getMainSettings().getSendKey()) == 0;
        const bool shift = event->modifiers() == Qt::ShiftModifier;
        if (sendOnReturn != shift)
            emit sendMessage();
        else
            insertNewLine();
    } else {
        QTextEdit::keyPressEvent(event);
    }
    adjustHeight();
}

void CustomTextEdit::insertFromMimeData(const QMimeData* source)
{
    // Only the text: pasted images and markup never enter a message.
    insertHtml(EmojiManager::insertEmojiTags(HtmlManager::insertBasicTags(source->text())));
    adjustHeight();
}

void CustomTextEdit::insertNewLine()
{
    insertHtml(QStringLiteral("<p><br/></p>"));
}

QString CustomTextEdit::typedText() const
{
    return BubbleText::plainText(*document());
}

QString CustomTextEdit::getMessageText() const
{
    // The same conversion a received text goes through: typed markup is
    // escaped, emoji become pictures, links are marked.
    return HtmlManager::insertHtmlTags(typedText());
}

void CustomTextEdit::adjustHeight()
{
    const int documentHeight = document()->size().toSize().height();
    const int height = qMin(documentHeight, inputMaxHeight);
    setFixedHeight(height);
    if (lastHeight == 0 || lastHeight != height)
        emit heightChanged();
    lastHeight = height;
}

void CustomTextEdit::setPlaceholderText(const QString& text)
{
    if (hint == text)
        return;
    hint = text;
    viewport()->update();
}

void CustomTextEdit::inputMethodEvent(QInputMethodEvent* event)
{
    composing = !event->preeditString().isEmpty();
    QTextEdit::inputMethodEvent(event);
    viewport()->update();
}

void CustomTextEdit::paintEvent(QPaintEvent* event)
{
    QTextEdit::paintEvent(event);
    if (hint.isEmpty() || composing || !document()->isEmpty())
        return;
    // Placed as the empty line's text would be: the block's alignment, read
    // in the placeholder's own writing direction unless it is absolute.
    const Qt::Alignment horizontal = document()->firstBlock().blockFormat().alignment() &
                                     (Qt::AlignHorizontal_Mask | Qt::AlignAbsolute);
    QPainter painter(viewport());
    painter.setPen(palette().placeholderText().color());
    painter.setLayoutDirection(hint.isRightToLeft() ? Qt::RightToLeft : Qt::LeftToRight);
    const int margin = int(document()->documentMargin());
    painter.drawText(viewport()->rect().adjusted(margin, margin, -margin, -margin),
                     int(horizontal | Qt::AlignTop) | Qt::TextWordWrap, hint);
}
