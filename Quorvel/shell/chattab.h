#ifndef CHATTAB_H
#define CHATTAB_H

#include "Managers/Chat/chatrecipient.h"
#include "Managers/command.h"
#include "chat/chatwindow.h"
#include "model/members.h"
#include "model/message.h"
#include "model/messagepair.h"
#include "model/messagereply.h"
#include "model/messagestate.h"
#include "widgets/customscrollarea.h"

#include <QDateTime>
#include <QHash>
#include <QPointer>
#include <QVariant>
#include <QVector>

class ChatWidget;
class QLabel;

// The one-to-one chats of the side panel, latest activity on top. The list
// holds every chat as its record and makes a chat's row (a widget) only once
// the row comes into view or is asked for: a list of thousands takes, moves
// and counts records, and makes a screenful of rows. A row once made stays
// and keeps the chat's record and window from then on.
class ChatTab : public CustomScrollArea
{
    Q_OBJECT
public:
    explicit ChatTab(QWidget* parent = nullptr);
    ~ChatTab() override;

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
    // Every chat's count, with a row or not; a muted chat counts 0.
    int getUnreadCount() const;

    // The order of the chats' ids, top first.
    QStringList rowIds();
    // The chat's row, made and put at its place if it has none yet.
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
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // A chat of the list: its record while it has no row, then its row.
    struct Entry
    {
        ChatRecipient recipient;
        // The last message the record came counted with.
        QString counted;
        ChatWidget* row = nullptr;
        // Whether the search shows it.
        bool matches = true;
    };

    // The recipient's entry, made and put at index when it is new (true);
    // otherwise its record or row takes the recipient.
    bool placeRecipient(const ChatRecipient& recipient, int index);
    Entry* entry(const QString& id) const { return entries.value(id); }
    // The entry's row, made now if it has none (not yet placed).
    ChatWidget* makeRow(Entry* entry);
    // The entry's row, made and placed if it has none.
    ChatWidget* rowOf(Entry* entry);
    void moveToTop(Entry* entry);
    // Every row made is put at its place, and the rows in view (and a few
    // around) are made; hidden rows are those the search leaves out.
    void place();
    // The same once the events already waiting have been handled (the rest
    // of a burst), or right before the window paints if that comes first.
    void placeLater();
    bool matches(const Entry& entry, const QString& text) const;

    QHash<QString, Entry*> entries;
    // Top first.
    QVector<Entry*> order;
    QPointer<ChatWidget> selected;
    int shown = 0;
    QWidget* contents;
    QLabel* placeholder;
    // A place() asked for later and not done yet; the window watched for
    // its paint meanwhile.
    bool placeWaiting = false;
    QPointer<QWidget> paintWatched;
    // Placing moves and resizes what placing reacts to: done once more
    // rather than inside itself.
    bool placing = false;
    bool placeAgain = false;
};

#endif // CHATTAB_H
