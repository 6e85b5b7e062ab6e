#ifndef CHANNELTAB_H
#define CHANNELTAB_H

#include "Managers/command.h"
#include "model/channelinfo.h"
#include "model/channelmembersreply.h"
#include "model/lvreply.h"
#include "model/message.h"
#include "model/messagepair.h"
#include "model/messagereply.h"
#include "model/messagestate.h"
#include "widgets/customscrollarea.h"

#include <QMap>
#include <QPointer>
#include <QVariant>

class ChatRowOrder;
class ChatWidget;
class ChatWindow;
class QLabel;
class QVBoxLayout;

// The channels the user follows, in the side panel, newest activity on top.
// Answers for a channel without a row are dropped.
class ChannelTab : public CustomScrollArea
{
    Q_OBJECT
public:
    explicit ChannelTab(QWidget* parent = nullptr);

    // Adds a row on top, or refreshes the channel's row where it stands.
    void addChannel(const ChannelInfo& info);
    // A list new to the tab shows in list order, first entry on top.
    void setChannels(const QList<ChannelInfo>& channels);
    void removeChannel(const QString& id);
    void selectChannel(const QString& id);
    // A new or edited post: its row takes it and goes on top.
    void processMessage(const Message& message);
    void newMessage(const MessagePair& pair);
    // The channel's last message changed: the row moves to its place in time.
    void setLastMessage(const Message& message);
    void processMessageReply(const MessageReply& reply);
    void processLVReply(const LVReply& reply);
    // A page of the channel's members, for its administrators' panel.
    void processChannelMembersReply(const ChannelMembersReply& reply);
    void setMessageState(const MessageState& state);
    // Sum over the rows; a muted channel counts 0.
    int getUnreadCount() const;
    void filterChats(const QString& str);

    ChatWidget* row(const QString& id) const { return rows.value(id); }
    ChatWidget* selectedRow() const;
    // The shown order of the rows' ids, top first.
    QStringList rowIds() const;
    bool placeholderShown() const;

signals:
    void showChannelWindow(ChatWindow* simplechatwindow);
    void channelTabSelected();
    void command(Command command, QVariant request = QVariant());

public slots:
    void channelWidgetClicked(ChatWindow* chatwindow);
    // Keeps the list newest first after a row's last message changed.
    void lastMessageTimeChanged(QString id);

protected:
    void showEvent(QShowEvent* event) override;

private:
    QMap<QString, ChatWidget*> rows;
    QPointer<ChatWidget> selected;
    QWidget* contents;
    QVBoxLayout* layout;
    ChatRowOrder* order;
    QLabel* placeholder;
};

#endif // CHANNELTAB_H
