#ifndef CHATWINDOW_H
#define CHATWINDOW_H

#include <QWidget>

class QLabel;

// The open conversation of one chat, group or channel. This plain version
// shows the conversation's name; the full conversation view replaces it.
class ChatWindow : public QWidget
{
    Q_OBJECT
public:
    ChatWindow(const QString& chatId, QWidget* parent = nullptr);

    QString getChatId() const { return chatId; }
    void setTitle(const QString& title);
    void hideChatWindow();
    void showChatWindow();
    void focusInput() {}
    void sendSeenIfActive() {}

private:
    QString chatId;
    QLabel* title;
};

#endif // CHATWINDOW_H
