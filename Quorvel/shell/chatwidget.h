#ifndef CHATWIDGET_H
#define CHATWIDGET_H

#include "Managers/Chat/chatrecipient.h"
#include "Managers/command.h"
#include "model/message.h"
#include "shell/chatwindow.h"

#include <QPointer>
#include <QVariant>
#include <QWidget>

class QLabel;

// One entry of a conversation list with the conversation's window. This
// plain version keeps the name, the last message and the unread badge; the
// full conversation view replaces it.
class ChatWidget : public QWidget
{
    Q_OBJECT
public:
    explicit ChatWidget(QWidget* parent = nullptr);
    ~ChatWidget() override;

    void setChatRecipient(const ChatRecipient& recipient);
    ChatRecipient getChatRecipient() const { return recipient; }
    void setContact(const Contact& contact);
    void setLastMessage(const Message& message);
    Message getLastMessage() const { return lastMessage; }
    qint64 getLastMessageTime() const;
    void setUnreadCount(int count);
    int getUnreadCount() const;
    bool containsText(const QString& text) const;
    ChatWindow* getChatWindow() const { return window; }
    QString getId() const;
    QString nameText() const;
    QString lastMessageText() const;
    bool unreadBadgeVisible() const;

    void select();
    void deselect();
    void closeChatWindow();
    void processMessage(const Message& message);

signals:
    void clicked(ChatWindow* chatwindow);
    void command(Command command, QVariant request = QVariant());
    void lastMessageTimeChanged(const QString& id);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void restyle(const QString& name);

    ChatRecipient recipient;
    Message lastMessage;
    QPointer<ChatWindow> window;
    QLabel* name;
    QLabel* last;
    QLabel* badge;
};

#endif // CHATWIDGET_H
