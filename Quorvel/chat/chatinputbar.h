#ifndef CHATINPUTBAR_H
#define CHATINPUTBAR_H

#include <QWidget>

class CustomTextEdit;
class FlatButton;

// The input bar under a chat window's board: the message input between the
// attach button and the poll, emoji and send buttons. Knows whether there is
// anything to send; what is sent, and where, is the window's business.
class ChatInputBar : public QWidget
{
    Q_OBJECT
public:
    explicit ChatInputBar(QWidget* parent = nullptr);

    CustomTextEdit* input() const { return messageInput; }
    FlatButton* attachButton() const { return attachBtn; }
    FlatButton* pollButton() const { return pollBtn; }
    FlatButton* emojiButton() const { return emojiBtn; }
    FlatButton* sendButton() const { return sendBtn; }

    // Nothing typed since the input was made or last emptied by the user.
    bool isEmpty() const { return empty; }
    // The user's text as the message text form, trimmed; empty when nothing
    // but blanks was typed.
    QString typedText() const;
    void clearInput();
    // An emoji (or other tag) put in at the cursor.
    void addTag(const QString& tag);

signals:
    void attachClicked();
    void pollClicked();
    void emojiClicked();
    // The send button, or the send key in the input.
    void sendWanted();

private:
    void textChanged();

    CustomTextEdit* messageInput;
    FlatButton* attachBtn;
    FlatButton* pollBtn;
    FlatButton* emojiBtn;
    FlatButton* sendBtn;
    bool empty = true;
};

#endif // CHATINPUTBAR_H
