#ifndef CHATTAB_H
#define CHATTAB_H

#include "Managers/Chat/chatrecipient.h"
#include "Managers/command.h"
#include "chat/chatwindow.h"
#include "model/members.h"
#include "model/message.h"
#include "model/messagepair.h"
#include "model/messagereply.h"
#include "widgets/customscrollarea.h"

#include <QMap>
#include <QPointer>
#include <QVariant>

class ChatWidget;
class QLabel;
class QVBoxLayout;

// The one-to-one chats of the side panel, latest activity on top.
class ChatTab : public CustomScrollArea
{
    Q_OBJECT
public:
    explicit ChatTab(QWidget* parent = nullptr);

    void addChatRecipient(const ChatRecipient& recipient);
    void setChatRecipients(const QList<ChatRecipient>& recipients);
    void setContact(const Contact& contact);
    bool containsChat(const QString& id) const { return rows.contains(id); }
    void processMessage(const Message& message);
    void processMessagePair(const MessagePair& pair);
    void processMessageReply(const QString& chatId, const MessageReply& reply);
    void setMessageState(const QString& chatId, const QString& msgId, MessageBase::MsgState state);
    void processMembers(const Members& members);
    void removeChat(const QString& id);
    void openChat(const QString& id);
    void filterChats(const QString& str);
    int getUnreadCount() const;
    void moveToTop(ChatWidget* widget);

    // The shown order of the rows' ids, top first.
    QStringList rowIds() const;
    ChatWidget* row(const QString& id) const { return rows.value(id); }
    bool placeholderShown() const;

signals:
    void showSimpleChatWindow(ChatWindow* simplechatwindow);
    void chatTabSelected();
    void command(Command command, QVariant request = QVariant());

public slots:
    void ChatWidgetClicked(ChatWindow* chatwindow);

protected:
    void showEvent(QShowEvent* event) override;

private:
    QMap<QString, ChatWidget*> rows;
    QPointer<ChatWidget> selected;
    int shown = 0;
    QWidget* contents;
    QVBoxLayout* layout;
    QLabel* placeholder;
};

#endif // CHATTAB_H
