#include "shell/chattab.h"

#include "chat/chatwidget.h"
#include "chat/chatwindow.h"
#include "widgets/interfacescale.h"
#include "widgets/listarea.h"

#include <QHash>
#include <QLabel>
#include <QVBoxLayout>

ChatTab::ChatTab(QWidget* parent)
    : CustomScrollArea(parent), contents(new QWidget), placeholder(new QLabel(this)),
      layout(setUpListArea(this, contents, placeholder,
                           QStringLiteral("ChatTabContactsListContents"), tr("No chat find."))),
      order(layout), deferred(layout, [this](const ChatRecipient& recipient) {
          if (placeRecipient(recipient, listAt))
              ++listAt;
      })
{
}

void ChatTab::addChatRecipient(const ChatRecipient& recipient)
{
    deferred.finish();
    placeRecipient(recipient, 0);
}

bool ChatTab::placeRecipient(const ChatRecipient& recipient, int index)
{
    const QString key = recipient.getContact().getNumber();
    if (ChatWidget* existing = rows.value(key)) {
        existing->setChatRecipient(recipient);
        return false;
    }
    auto* widget = new ChatWidget(contents);
    widget->setObjectName(QStringLiteral("ChatWidgetNormal"));
    widget->setFixedHeight(chatRowHeight);
    connect(widget, &ChatWidget::command, this, &ChatTab::command);
    connect(widget, &ChatWidget::clicked, this, &ChatTab::ChatWidgetClicked);
    widget->setChatRecipient(recipient);
    layout->insertWidget(index, widget);
    widget->show();
    ++shown;
    rows.insert(key, widget);
    return true;
}

void ChatTab::setChatRecipients(const QList<ChatRecipient>& recipients)
{
    // New chats go on top in list order, above the rows already there.
    deferred.finish();
    listAt = 0;
    if (isVisible())
        deferred.start(recipients, screenful());
    else
        deferred.keep(recipients);
}

int ChatTab::screenful() const
{
    return viewport()->height() / qMax(1, chatRowHeight) + 2;
}

bool ChatTab::containsChat(const QString& id)
{
    deferred.finish();
    return rows.contains(id);
}

ChatWidget* ChatTab::row(const QString& id)
{
    deferred.finish();
    return rows.value(id);
}

void ChatTab::setContact(const Contact& contact)
{
    deferred.finish();
    if (ChatWidget* widget = rows.value(contact.getNumber()))
        widget->setContact(contact);
}

void ChatTab::setLastSeen(const QString& id, const QDateTime& time)
{
    deferred.finish();
    ChatWidget* widget = rows.value(id);
    if (widget && widget->hasChatWindow())
        widget->getChatWindow()->setContactLastSeen(id, time);
}

void ChatTab::processMessage(const Message& message)
{
    deferred.finish();
    ChatWidget* widget = rows.value(message.getChatId());
    if (!widget)
        return;
    widget->processMessage(message);
    order.moveToTop(widget);
}

void ChatTab::processMessagePair(const MessagePair& pair)
{
    deferred.finish();
    ChatWidget* widget = rows.value(pair.getChatId());
    if (!widget)
        return;
    widget->processMessagePair(pair);
    order.moveToTop(widget);
}

void ChatTab::processMessageReply(const QString& chatId, const MessageReply& reply)
{
    deferred.finish();
    if (ChatWidget* widget = rows.value(chatId))
        widget->processMessageReply(reply);
}

void ChatTab::setMessageState(const MessageState& state)
{
    deferred.finish();
    if (ChatWidget* widget = rows.value(state.getChatId()))
        widget->setMessageState(state);
}

void ChatTab::processMembers(const Members& members)
{
    deferred.finish();
    if (ChatWidget* widget = rows.value(members.getRequestId()))
        widget->processMembers(members);
}

void ChatTab::removeChat(const QString& id)
{
    deferred.finish();
    ChatWidget* widget = rows.take(id);
    if (!widget)
        return;
    if (selected == widget)
        selected = nullptr;
    if (!widget->isHidden())
        --shown;
    widget->closeChatWindow();
    layout->removeWidget(widget);
    widget->hide();
    // Later, not now: the removal may be answering a chain that started at
    // this very row.
    widget->deleteLater();
}

void ChatTab::openChat(const QString& id)
{
    deferred.finish();
    ChatWidget* widget = rows.value(id);
    if (!widget)
        return;
    if (widget->getChatRecipient().getUnreadCount() != 0)
        widget->setUnreadCount(0);
    widget->select();
}

void ChatTab::filterChats(const QString& str)
{
    deferred.finish();
    if (!str.isEmpty()) {
        shown = 0;
        for (ChatWidget* widget : qAsConst(rows)) {
            const bool match = widget->containsText(str);
            widget->setVisible(match);
            shown += match ? 1 : 0;
        }
    } else if (shown != layout->count()) {
        shown = layout->count();
        for (ChatWidget* widget : qAsConst(rows))
            widget->show();
    }
    placeholder->setVisible(shown == 0);
}

int ChatTab::getUnreadCount() const
{
    // A waiting recipient replaces the one of its row, the last one given
    // counting; a muted chat counts 0.
    QHash<QString, int> waiting;
    for (const ChatRecipient& recipient : deferred.items()) {
        waiting.insert(recipient.getContact().getNumber(),
                       recipient.getContact().getMute() ? 0 : recipient.getUnreadCount());
    }
    int total = 0;
    for (auto it = rows.cbegin(); it != rows.cend(); ++it) {
        if (!waiting.contains(it.key()))
            total += it.value()->getUnreadCount();
    }
    for (int count : qAsConst(waiting))
        total += count;
    return total;
}

QStringList ChatTab::rowIds()
{
    deferred.finish();
    QStringList ids;
    for (int i = 0; i < layout->count(); ++i) {
        if (auto* widget = qobject_cast<ChatWidget*>(layout->itemAt(i)->widget()))
            ids << widget->getId();
    }
    return ids;
}

bool ChatTab::placeholderShown()
{
    deferred.finish();
    return !placeholder->isHidden();
}

void ChatTab::ChatWidgetClicked(ChatWindow* chatwindow)
{
    emit showSimpleChatWindow(chatwindow);
    if (selected)
        selected->deselect();
    selected = chatwindow ? rows.value(chatwindow->getChatId()) : nullptr;
    emit chatTabSelected();
}

void ChatTab::showEvent(QShowEvent* event)
{
    CustomScrollArea::showEvent(event);
    deferred.resume(screenful());
    emit showSimpleChatWindow(selected ? selected->getChatWindow() : nullptr);
}
