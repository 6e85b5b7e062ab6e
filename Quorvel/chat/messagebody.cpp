#include "chat/messagebody.h"

#include "foundation/htmlmanager.h"
#include "widgets/biditext.h"

#include <QAbstractTextDocumentLayout>
#include <QAccessibleWidget>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextLayout>

namespace {

// A screen reader reads the body's text as a static text: the body draws it
// itself, so no label or text edit underneath tells it.
class AccessibleMessageBody : public QAccessibleWidget
{
public:
    explicit AccessibleMessageBody(MessageBody* body)
        : QAccessibleWidget(body, QAccessible::StaticText)
    {
    }
    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Name && widget()->accessibleName().isEmpty())
            return static_cast<MessageBody*>(widget())->toPlainText();
        return QAccessibleWidget::text(kind);
    }
};

QAccessibleInterface* accessibleBody(const QString& className, QObject* object)
{
    if (className == QLatin1String("MessageBody") && object && object->isWidgetType())
        return new AccessibleMessageBody(static_cast<MessageBody*>(object));
    return nullptr;
}

} // namespace

MessageBody::MessageBody(QWidget* parent) : QWidget(parent)
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(accessibleBody);
        return true;
    }();
    Q_UNUSED(factoryInstalled)
    setFocusPolicy(Qt::ClickFocus);
    setContextMenuPolicy(Qt::NoContextMenu);
    setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Maximum);
    setCursor(Qt::IBeamCursor);
    setMouseTracking(true);
}

void MessageBody::setDocument(QTextDocument* value)
{
    if (shown == value)
        return;
    if (shown)
        disconnect(shown, nullptr, this, nullptr);
    shown = value;
    cursor = shown ? QTextCursor(shown) : QTextCursor();
    if (shown)
        connect(shown, &QTextDocument::contentsChanged, this, &MessageBody::contentsChanged);
    update();
}

QTextDocument* MessageBody::document() const
{
    if (!shown) {
        auto* self = const_cast<MessageBody*>(this);
        self->own = new QTextDocument(self);
        self->setDocument(own);
    }
    return shown;
}

void MessageBody::setHtml(const QString& html)
{
    document()->setHtml(html);
}

void MessageBody::setPlainText(const QString& text)
{
    document()->setPlainText(text);
}

QString MessageBody::toHtml() const
{
    return document()->toHtml();
}

QString MessageBody::toPlainText() const
{
    return document()->toPlainText();
}

void MessageBody::setTextInteractionFlags(Qt::TextInteractionFlags flags)
{
    interaction = flags;
    if (!(interaction & Qt::TextSelectableByMouse) && cursor.hasSelection()) {
        cursor.clearSelection();
        update();
    }
    setCursor(interaction & Qt::TextSelectableByMouse ? Qt::IBeamCursor : Qt::ArrowCursor);
}

void MessageBody::setTextCursor(const QTextCursor& value)
{
    if (value.document() != shown)
        return;
    cursor = value;
    update();
}

void MessageBody::selectAll()
{
    cursor = QTextCursor(document());
    cursor.select(QTextCursor::Document);
    update();
}

void MessageBody::contentsChanged()
{
    // Called in the middle of the document's edit: the cursor follows the
    // change by itself, and nothing here may touch the document.
    update();
}

int MessageBody::positionAt(const QPoint& point) const
{
    return document()->documentLayout()->hitTest(point, Qt::FuzzyHit);
}

QString MessageBody::anchorAt(const QPoint& point) const
{
    return document()->documentLayout()->anchorAt(point);
}

QRect MessageBody::cursorRect(const QTextCursor& at) const
{
    const QTextBlock block = document()->findBlock(at.position());
    if (!block.isValid() || !block.layout())
        return QRect();
    const QRectF box = document()->documentLayout()->blockBoundingRect(block);
    const int inBlock = at.position() - block.position();
    const QTextLine line = block.layout()->lineForTextPosition(inBlock);
    if (!line.isValid())
        return box.toRect();
    const qreal x = box.x() + line.cursorToX(inBlock);
    return QRect(int(x), int(box.y() + line.y()), 1, int(line.height()));
}

void MessageBody::copySelection() const
{
    const QString html = cursor.selection().toHtml(QByteArray());
    // The text as its sender wrote it, without the runs it is shown with.
    QGuiApplication::clipboard()->setText(
        BidiText::unconfinedControls(HtmlManager::extractCopyTextFromContainerHtml(html)),
        QClipboard::Clipboard);
}

void MessageBody::paintEvent(QPaintEvent* event)
{
    if (!shown)
        return;
    QPainter painter(this);
    QAbstractTextDocumentLayout::PaintContext context;
    context.palette = palette();
    context.clip = event->rect();
    if (cursor.hasSelection()) {
        QAbstractTextDocumentLayout::Selection selection;
        selection.cursor = cursor;
        const QPalette::ColorGroup group = hasFocus() ? QPalette::Active : QPalette::Inactive;
        selection.format.setBackground(palette().brush(group, QPalette::Highlight));
        selection.format.setForeground(palette().brush(group, QPalette::HighlightedText));
        context.selections << selection;
    }
    painter.setClipRect(event->rect());
    shown->documentLayout()->draw(&painter, context);
}

void MessageBody::updateCursorShape(const QPoint& point)
{
    if ((interaction & Qt::LinksAccessibleByMouse) && !anchorAt(point).isEmpty())
        setCursor(Qt::PointingHandCursor);
    else
        setCursor(interaction & Qt::TextSelectableByMouse ? Qt::IBeamCursor : Qt::ArrowCursor);
}

void MessageBody::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    pressedAnchor = (interaction & Qt::LinksAccessibleByMouse) ? anchorAt(event->pos()) : QString();
    selecting = interaction & Qt::TextSelectableByMouse;
    if (selecting) {
        cursor = QTextCursor(document());
        cursor.setPosition(positionAt(event->pos()));
        update();
    }
    if (!selecting && pressedAnchor.isEmpty())
        event->ignore();
}

void MessageBody::mouseMoveEvent(QMouseEvent* event)
{
    if (!(event->buttons() & Qt::LeftButton)) {
        updateCursorShape(event->pos());
        return;
    }
    if (!selecting)
        return;
    const int position = positionAt(event->pos());
    if (position != cursor.position()) {
        cursor.setPosition(position, QTextCursor::KeepAnchor);
        update();
    }
}

void MessageBody::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    selecting = false;
    const QString anchor = pressedAnchor;
    pressedAnchor.clear();
    // A link opens on a click, not at the end of a selection drawn across it.
    if (!anchor.isEmpty() && !cursor.hasSelection() && anchorAt(event->pos()) == anchor)
        emit anchorClicked(QUrl(anchor));
}

void MessageBody::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !(interaction & Qt::TextSelectableByMouse)) {
        event->ignore();
        return;
    }
    cursor = QTextCursor(document());
    cursor.setPosition(positionAt(event->pos()));
    cursor.select(QTextCursor::WordUnderCursor);
    update();
}

void MessageBody::keyPressEvent(QKeyEvent* event)
{
    if (event == QKeySequence::Copy && cursor.hasSelection()) {
        copySelection();
        return;
    }
    if (event == QKeySequence::SelectAll && (interaction & Qt::TextSelectableByMouse)) {
        selectAll();
        return;
    }
    event->ignore();
}
