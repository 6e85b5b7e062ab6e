#include "chat/customtextedit.h"

#include "chat/bubbletext.h"

#include "foundation/emojimanager.h"
#include "foundation/htmlmanager.h"
#include "foundation/linkgenerator.h"
#include "model/globalconstants.h"
#include "widgets/interfacescale.h"

#include <QKeyEvent>
#include <QMimeData>

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
