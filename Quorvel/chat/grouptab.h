#ifndef GROUPTAB_H
#define GROUPTAB_H

#include "Managers/Contact/contact.h"
#include "Managers/command.h"
#include "model/groupinfo.h"
#include "model/groupinfomembers.h"
#include "model/message.h"
#include "model/messagepair.h"
#include "model/messagereply.h"
#include "model/messagestate.h"

#include <QMap>
#include <QPointer>
#include <QVariant>
#include <QWidget>

class ChatRowOrder;
class ChatWidget;
class ChatWindow;
class CustomScrollArea;
class FlatButton;
class Members;
class MessageState;
class QLabel;
class QVBoxLayout;

// The side panel's list of the user's groups, newest activity on top: finds
// each group's row by its room id for the core's answers, filters by the
// search text and tells the side panel which group's window to show. A
// "New group" button heads the list, and an empty list says so and offers
// the same button. Everything it shows is a child of the tab or of the list's
// view, so a screen reader finds it.
class GroupTab : public QWidget
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
    void setMessageState(const MessageState& state);
    void processMembers(const Members& members);
    void filterChats(const QString& text);
    int getTotalUnreadCount() const;
    // Opens the group's window as a click on its row does; false when the
    // group is not listed.
    bool selectGroup(const QString& jid);

    ChatWidget* row(const QString& jid) const { return rows.value(jid); }
    // The shown order of the rows' room ids, top first.
    QStringList rowIds() const;
    bool placeholderShown() const;
    FlatButton* headerNewGroupButton() const { return headerNewGroup; }
    FlatButton* emptyNewGroupButton() const { return emptyNewGroup; }
    QLabel* emptyNotice() const { return notice; }
    bool emptyStateShown() const;

signals:
    void showSimpleChatWindow(ChatWindow* simplechatwindow);
    void groupTabSelected();
    void createGroupRequested();
    // "Send message" on a member's profile in one of the groups' windows.
    void startMessaging(Contact contact);
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
    void showEmptyState();
    void placeEmptyState();

    CustomScrollArea* area;
    QWidget* contents;
    QVBoxLayout* layout;
    ChatRowOrder* order;
    QMap<QString, ChatWidget*> rows;
    QPointer<ChatWidget> selected;
    QLabel* emptyLabel;
    FlatButton* headerNewGroup;
    QWidget* emptyState;
    QLabel* notice;
    FlatButton* emptyNewGroup;
    bool filtering = false;
};

#endif // GROUPTAB_H
