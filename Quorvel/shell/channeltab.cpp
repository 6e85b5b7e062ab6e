#include "shell/channeltab.h"

#include "chat/chatroworder.h"
#include "chat/chatwidget.h"
#include "chat/chatwindow.h"
#include "foundation/simpleqtlogger.h"
#include "widgets/interfacescale.h"
#include "widgets/listarea.h"

#include <QJsonDocument>
#include <QLabel>
#include <QVBoxLayout>

ChannelTab::ChannelTab(QWidget* parent)
    : CustomScrollArea(parent), contents(new QWidget), placeholder(new QLabel(this))
{
    layout =
        setUpListArea(this, contents, placeholder, QStringLiteral("ContactTabContactsListContents"),
                      tr("No channel find."));
    order = new ChatRowOrder(layout, this);
}

void ChannelTab::addChannel(const ChannelInfo& info)
{
    if (ChatWidget* existing = rows.value(info.getId())) {
        existing->setChannelInfo(info);
        return;
    }
    auto* widget = new ChatWidget(contents);
    widget->setFixedHeight(chatRowHeight);
    connect(widget, &ChatWidget::clicked, this, &ChannelTab::channelWidgetClicked);
    connect(widget, &ChatWidget::command, this, &ChannelTab::command);
    connect(widget, &ChatWidget::lastMessageTimeChanged, this, &ChannelTab::lastMessageTimeChanged);
    widget->setChannelInfo(info);
    rows.insert(info.getId(), widget);
    layout->insertWidget(0, widget);
    widget->show();
}

void ChannelTab::setChannels(const QList<ChannelInfo>& channels)
{
    for (auto it = channels.crbegin(); it != channels.crend(); ++it)
        addChannel(*it);
}

void ChannelTab::removeChannel(const QString& id)
{
    ChatWidget* widget = rows.take(id);
    if (!widget)
        return;
    if (selected == widget)
        selected = nullptr;
    widget->closeChatWindow();
    layout->removeWidget(widget);
    // Not inside a signal of the row itself: the answer comes from the core.
    widget->deleteLater();
    widget->hide();
}

void ChannelTab::selectChannel(const QString& id)
{
    ChatWidget* widget = rows.value(id);
    if (!widget)
        return;
    widget->select();
    order->settle();
    ensureWidgetVisible(widget, 50, 50);
}

void ChannelTab::processMessage(const Message& message)
{
    ChatWidget* widget = rows.value(message.getChatId());
    if (!widget)
        return;
    widget->processMessage(message);
    order->moveToTop(widget);
}

void ChannelTab::newMessage(const MessagePair& pair)
{
    L_DEBUG(QStringLiteral("ChannelTab::newMessage | ") +
            QString::fromUtf8(
                QJsonDocument(pair.getMessage().toJson()).toJson(QJsonDocument::Compact)));
    ChatWidget* widget = rows.value(pair.getChatId());
    if (!widget)
        return;
    L_DEBUG(QStringLiteral("ChannelTab::newMessage | contains"));
    widget->processMessagePair(pair);
    order->moveToTop(widget);
}

void ChannelTab::setLastMessage(const Message& message)
{
    if (ChatWidget* widget = rows.value(message.getChatId()))
        widget->updateLastMessage(message);
}

void ChannelTab::processMessageReply(const MessageReply& reply)
{
    if (ChatWidget* widget = rows.value(reply.getRequest().getChatId()))
        widget->processMessageReply(reply);
}

void ChannelTab::processLVReply(const LVReply& reply)
{
    if (ChatWidget* widget = rows.value(reply.getChatId()))
        widget->processLVReply(reply);
}

void ChannelTab::processChannelMembersReply(const ChannelMembersReply& reply)
{
    if (ChatWidget* widget = rows.value(reply.getReq().getChannelId()))
        widget->processChannelMembersReply(reply);
}

void ChannelTab::setMessageState(const MessageState& state)
{
    if (ChatWidget* widget = rows.value(state.getChatId()))
        widget->setMessageState(state);
}

int ChannelTab::getUnreadCount() const
{
    int total = 0;
    for (ChatWidget* widget : rows)
        total += widget->getUnreadCount();
    return total;
}

void ChannelTab::filterChats(const QString& str)
{
    int shown = 0;
    for (ChatWidget* widget : qAsConst(rows)) {
        const bool match = str.isEmpty() || widget->containsText(str);
        widget->setVisible(match);
        shown += match ? 1 : 0;
    }
    placeholder->setVisible(!str.isEmpty() && shown == 0);
}

QStringList ChannelTab::rowIds() const
{
    QStringList ids;
    for (int i = 0; i < layout->count(); ++i) {
        if (auto* widget = qobject_cast<ChatWidget*>(layout->itemAt(i)->widget()))
            ids << widget->getId();
    }
    return ids;
}

bool ChannelTab::placeholderShown() const
{
    return !placeholder->isHidden();
}

void ChannelTab::channelWidgetClicked(ChatWindow* chatwindow)
{
    emit showChannelWindow(chatwindow);
    if (selected)
        selected->deselect();
    selected = chatwindow ? rows.value(chatwindow->getChatId()) : nullptr;
    emit channelTabSelected();
}

void ChannelTab::lastMessageTimeChanged(QString id)
{
    if (ChatWidget* moved = rows.value(id))
        order->placeByLastMessage(moved);
}

void ChannelTab::showEvent(QShowEvent* event)
{
    CustomScrollArea::showEvent(event);
    emit showChannelWindow(selected ? selected->getChatWindow() : nullptr);
}

ChatWidget* ChannelTab::selectedRow() const
{
    return selected;
}
