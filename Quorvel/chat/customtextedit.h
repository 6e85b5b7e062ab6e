#ifndef CUSTOMTEXTEDIT_H
#define CUSTOMTEXTEDIT_H

#include <QTextEdit>

// The message input of a chat window: sends on Return or breaks the line by
// the user's send-key setting, pastes plain text only (emoji characters become
// emoji images) and grows with its text up to a fixed height.
class CustomTextEdit : public QTextEdit
{
    Q_OBJECT
public:
    explicit CustomTextEdit(QWidget* parent = nullptr);

    void adjustHeight();
    void insertNewLine();
    // Exactly what the user typed: emoji pictures as their characters, line
    // breaks as line feeds.
    QString typedText() const;
    // The typed text in the message text form, as a peer's text is kept:
    // markup characters escaped, emoji as their tags, links marked.
    QString getMessageText() const;

    // The text shown while the input is empty. Qt's own is drawn at the
    // top-left whatever the input's alignment; this one follows it: on the
    // right for a right-aligned input, and at the start of its own writing
    // direction for the default alignment.
    void setPlaceholderText(const QString& text);
    QString placeholderText() const { return hint; }

signals:
    void sendMessage();
    void heightChanged();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    int lastHeight = 0;
    QString hint;
    // An input method is composing: its text is drawn though the document
    // is still empty.
    bool composing = false;
};

#endif // CUSTOMTEXTEDIT_H
