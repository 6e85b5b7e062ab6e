#ifndef CHATTAB_H
#define CHATTAB_H

#include "Managers/Chat/chatrecipient.h"
#include "Managers/command.h"
#include "chat/chatroworder.h"
#include "chat/chatwindow.h"
#include "model/members.h"
#include "model/message.h"
#include "model/messagepair.h"
#include "model/messagereply.h"
#include "model/messagestate.h"
#include "widgets/customscrollarea.h"
#include "widgets/deferredrows.h"

#include <QDateTime>
#include <QMap>
#include <QPointer>
#include <QVariant>

class ChatWidget;
class QLabel;
class QVBoxLayout;

// The one-to-one chats of the side panel, latest activity on top. A whole
// list shows its first screenful at once and builds the other rows while
// the program is idle; every other operation first builds what is left.
class ChatTab : public CustomScrollArea
{
    Q_OBJECT
public:
    explicit ChatTab(QWidget* parent = nullptr);

    void addChatRecipient(const ChatRecipient& recipient);
    void setChatRecipients(const QList<ChatRecipient>& recipients);
    void setContact(const Contact& contact);
    // A contact's last-seen time for the chat window of that chat, when one
    // is open (a window made later asks for its own).
    void setLastSeen(const QString& id, const QDateTime& time);
    bool containsChat(const QString& id);
    void processMessage(const Message& message);
    void processMessagePair(const MessagePair& pair);
    void processMessageReply(const QString& chatId, const MessageReply& reply);
    void setMessageState(const MessageState& state);
    void processMembers(const Members& members);
    void removeChat(const QString& id);
    void openChat(const QString& id);
    void filterChats(const QString& str);
    // Also counts the rows still to be built.
    int getUnreadCount() const;

    // The shown order of the rows' ids, top first.
    QStringList rowIds();
    ChatWidget* row(const QString& id);
    bool placeholderShown();

signals:
    void showSimpleChatWindow(ChatWindow* simplechatwindow);
    void chatTabSelected();
    void command(Command command, QVariant request = QVariant());

public slots:
    void ChatWidgetClicked(ChatWindow* chatwindow);

protected:
    void showEvent(QShowEvent* event) override;

private:
    // The recipient's row, made and put at index when it is new (true).
    bool placeRecipient(const ChatRecipient& recipient, int index);
    // How many rows fill the list's height.
    int screenful() const;

    QMap<QString, ChatWidget*> rows;
    QPointer<ChatWidget> selected;
    int shown = 0;
    QWidget* contents;
    QLabel* placeholder;
    QVBoxLayout* layout;
    ChatRowOrder order;
    // Where the next row of a whole list goes.
    int listAt = 0;
    DeferredRows<ChatRecipient> deferred;
};

#endif // CHATTAB_H
