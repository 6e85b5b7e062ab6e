#ifndef MESSAGEBODY_H
#define MESSAGEBODY_H

#include <QTextCursor>
#include <QUrl>
#include <QWidget>

class QTextDocument;

// The text of a message bubble: one plain widget that paints a document
// (display HTML the bubble has laid out), selectable with the mouse, its
// links reported but never followed, the wheel left to the conversation
// around it. A bubble is built for every message of a page, so the body
// keeps to a single widget instead of a scroll area with its viewport and
// scroll bars.
class MessageBody : public QWidget
{
    Q_OBJECT
public:
    explicit MessageBody(QWidget* parent = nullptr);

    // The document shown; not taken over. Until one is set the body shows
    // one of its own.
    void setDocument(QTextDocument* value);
    QTextDocument* document() const;
    void setHtml(const QString& html);
    void setPlainText(const QString& text);
    QString toHtml() const;
    QString toPlainText() const;

    // Selection by mouse and links by mouse, or nothing at all.
    void setTextInteractionFlags(Qt::TextInteractionFlags flags);
    Qt::TextInteractionFlags textInteractionFlags() const { return interaction; }

    QTextCursor textCursor() const { return cursor; }
    void setTextCursor(const QTextCursor& value);
    void selectAll();
    // Where a cursor's position is drawn, in the body's own coordinates.
    QRect cursorRect(const QTextCursor& at) const;
    // The link at a point of the body, or an empty string.
    QString anchorAt(const QPoint& point) const;
    // Puts the selection on the clipboard as the copy text of its HTML.
    void copySelection() const;

signals:
    void anchorClicked(const QUrl& link);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    int positionAt(const QPoint& point) const;
    void contentsChanged();
    void updateCursorShape(const QPoint& point);

    QTextDocument* shown = nullptr;
    QTextDocument* own = nullptr;
    QTextCursor cursor;
    Qt::TextInteractionFlags interaction = Qt::TextSelectableByMouse | Qt::LinksAccessibleByMouse;
    QString pressedAnchor;
    bool selecting = false;
};

#endif // MESSAGEBODY_H
