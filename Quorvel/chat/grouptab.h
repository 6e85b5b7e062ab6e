#ifndef GROUPTAB_H
#define GROUPTAB_H

#include "Managers/command.h"
#include "model/groupinfo.h"
#include "model/groupinfomembers.h"
#include "model/message.h"
#include "model/messagepair.h"
#include "model/messagereply.h"
#include "widgets/customscrollarea.h"

#include <QMap>
#include <QPointer>
#include <QVariant>

class ChatRowOrder;
class ChatWidget;
class ChatWindow;
class Members;
class MessageState;
class QLabel;
class QVBoxLayout;

// The side panel's list of the user's groups, newest activity on top: finds
// each group's row by its room id for the core's answers, filters by the
// search text and tells the side panel which group's window to show.
class GroupTab : public CustomScrollArea
{
    Q_OBJECT
public:
    explicit GroupTab(QWidget* parent = nullptr);

    void addGroup(const GroupInfo& info);
    void setGroups(const QList<GroupInfo>& groups);
    void removeGroup(const QString& jid);
    void processNewMessage(const Message& message);
    void processNewMessagePair(const MessagePair& pair);
    void processMessageReply(const QString& chatId, const MessageReply& reply);
    void processGroupInfoMembers(const GroupInfoMembers& members);
    void processMessage(const Message& message);
    void setMessageState(const QString& chatId, const QString& msgId, MessageBase::MsgState state);
    void processMembers(const Members& members);
    void filterChats(const QString& text);
    int getTotalUnreadCount() const;

    ChatWidget* row(const QString& jid) const { return rows.value(jid); }
    // The shown order of the rows' room ids, top first.
    QStringList rowIds() const;
    bool placeholderShown() const;

signals:
    void showSimpleChatWindow(ChatWindow* simplechatwindow);
    void groupTabSelected();
    void command(Command command, QVariant request);

public slots:
    void ChatWidgetClicked(ChatWindow* chatwindow);
    void deselectLastChat();
    void lastMessageTimeChanged(QString id);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void addOrUpdateGroup(const GroupInfo& info);

    QWidget* contents;
    QVBoxLayout* layout;
    ChatRowOrder* order;
    QMap<QString, ChatWidget*> rows;
    QPointer<ChatWidget> selected;
    QLabel* emptyLabel;
};

#endif // GROUPTAB_H
