#include "shell/chattab.h"

#include "chat/chatwidget.h"
#include "chat/chatwindow.h"
#include "widgets/bulklayout.h"
#include "widgets/interfacescale.h"
#include "widgets/listarea.h"

#include <QLabel>
#include <QVBoxLayout>

ChatTab::ChatTab(QWidget* parent)
    : CustomScrollArea(parent), contents(new QWidget), placeholder(new QLabel(this))
{
    layout = setUpListArea(this, contents, placeholder,
                           QStringLiteral("ChatTabContactsListContents"), tr("No chat find."));
}

void ChatTab::addChatRecipient(const ChatRecipient& recipient)
{
    const QString key = recipient.getContact().getNumber();
    if (ChatWidget* existing = rows.value(key)) {
        existing->setChatRecipient(recipient);
        return;
    }
    auto* widget = new ChatWidget(contents);
    widget->setObjectName(QStringLiteral("ChatWidgetNormal"));
    widget->setFixedHeight(chatRowHeight);
    connect(widget, &ChatWidget::command, this, &ChatTab::command);
    connect(widget, &ChatWidget::clicked, this, &ChatTab::ChatWidgetClicked);
    widget->setChatRecipient(recipient);
    layout->insertWidget(0, widget);
    widget->show();
    ++shown;
    rows.insert(key, widget);
}

void ChatTab::setChatRecipients(const QList<ChatRecipient>& recipients)
{
    // Each shown row would lay out the whole list again: the list is laid
    // out once, after the last row.
    const BulkLayout bulk(layout);
    for (auto it = recipients.crbegin(); it != recipients.crend(); ++it)
        addChatRecipient(*it);
}

void ChatTab::setContact(const Contact& contact)
{
    if (ChatWidget* widget = rows.value(contact.getNumber()))
        widget->setContact(contact);
}

void ChatTab::processMessage(const Message& message)
{
    ChatWidget* widget = rows.value(message.getChatId());
    if (!widget)
        return;
    widget->processMessage(message);
    moveToTop(widget);
}

void ChatTab::processMessagePair(const MessagePair& pair)
{
    ChatWidget* widget = rows.value(pair.getChatId());
    if (!widget)
        return;
    widget->processMessagePair(pair);
    moveToTop(widget);
}

void ChatTab::processMessageReply(const QString& chatId, const MessageReply& reply)
{
    if (ChatWidget* widget = rows.value(chatId))
        widget->processMessageReply(reply);
}

void ChatTab::setMessageState(const QString& chatId, const QString& msgId,
                              MessageBase::MsgState state)
{
    if (ChatWidget* widget = rows.value(chatId))
        widget->setMessageState(msgId, state);
}

void ChatTab::processMembers(const Members& members)
{
    if (ChatWidget* widget = rows.value(members.getRequestId()))
        widget->processMembers(members);
}

void ChatTab::moveToTop(ChatWidget* widget)
{
    // Out of the layout first: inserting a row that is still in it would
    // leave a second item for the same row behind.
    layout->removeWidget(widget);
    layout->insertWidget(0, widget);
}

void ChatTab::removeChat(const QString& id)
{
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
    ChatWidget* widget = rows.value(id);
    if (!widget)
        return;
    if (widget->getChatRecipient().getUnreadCount() != 0)
        widget->setUnreadCount(0);
    widget->select();
}

void ChatTab::filterChats(const QString& str)
{
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
    int total = 0;
    for (ChatWidget* widget : rows)
        total += widget->getUnreadCount();
    return total;
}

QStringList ChatTab::rowIds() const
{
    QStringList ids;
    for (int i = 0; i < layout->count(); ++i) {
        if (auto* widget = qobject_cast<ChatWidget*>(layout->itemAt(i)->widget()))
            ids << widget->getId();
    }
    return ids;
}

bool ChatTab::placeholderShown() const
{
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
    emit showSimpleChatWindow(selected ? selected->getChatWindow() : nullptr);
}
