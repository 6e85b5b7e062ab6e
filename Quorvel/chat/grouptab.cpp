#include "chat/grouptab.h"

#include "chat/chatroworder.h"
#include "chat/chatwidget.h"
#include "chat/chatwindow.h"
#include "model/members.h"
#include "widgets/customscrollarea.h"
#include "widgets/flatbutton.h"
#include "widgets/fonts.h"
#include "widgets/interfacescale.h"
#include "widgets/listarea.h"

#include <QLabel>
#include <QVBoxLayout>

GroupTab::GroupTab(QWidget* parent)
    : QWidget(parent), area(new CustomScrollArea(this)), contents(new QWidget(area)),
      emptyLabel(new QLabel(area)), headerNewGroup(new FlatButton(tr("_NewGroup"), this)),
      emptyState(new QWidget(area->viewport())), notice(new QLabel(tr("_NoGroupYet"), emptyState)),
      emptyNewGroup(new FlatButton(tr("_NewGroup"), emptyState))
{
    layout = setUpListArea(area, contents, emptyLabel,
                           QStringLiteral("ChatTabContactsListContents"), tr("No chat find."));
    order = new ChatRowOrder(layout, this);

    // The header stays above the scrolled rows.
    headerNewGroup->setObjectName(QStringLiteral("GroupTabNewGroup"));
    headerNewGroup->setFont(Fonts::getFont(baseFontSize));
    headerNewGroup->setAlignment(Qt::AlignCenter);
    headerNewGroup->setCursor(Qt::PointingHandCursor);
    headerNewGroup->setFixedHeight(scaleValue(36));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(headerNewGroup);
    column->addWidget(area);

    notice->setWordWrap(true);
    notice->setAlignment(Qt::AlignCenter);
    notice->setFont(Fonts::getFont(baseFontSize));
    emptyNewGroup->setObjectName(QStringLiteral("AddNewContactButton"));
    emptyNewGroup->setFont(Fonts::getFont(baseFontSize));
    emptyNewGroup->setAlignment(Qt::AlignCenter);
    emptyNewGroup->setMinimumHeight(scaleValue(32));
    auto* emptyColumn = new QVBoxLayout(emptyState);
    emptyColumn->addWidget(notice);
    emptyColumn->addWidget(emptyNewGroup);
    emptyState->setAttribute(Qt::WA_TranslucentBackground);
    connect(headerNewGroup, &FlatButton::onClick, this, &GroupTab::createGroupRequested);
    connect(emptyNewGroup, &FlatButton::onClick, this, &GroupTab::createGroupRequested);
    connect(area, &CustomScrollArea::resized, this, &GroupTab::placeEmptyState);
    showEmptyState();
}

void GroupTab::showEmptyState()
{
    emptyState->setVisible(rows.isEmpty() && !filtering);
    placeEmptyState();
}

bool GroupTab::emptyStateShown() const
{
    return !emptyState->isHidden();
}

void GroupTab::placeEmptyState()
{
    const int width = area->viewport()->width();
    const QSize size(qMin(width - 20, scaleValue(260)), emptyState->sizeHint().height());
    emptyState->setGeometry((width - size.width()) / 2, scaleValue(40), size.width(),
                            size.height());
    emptyState->raise();
}

void GroupTab::addGroup(const GroupInfo& info)
{
    addOrUpdateGroup(info);
}

void GroupTab::setGroups(const QList<GroupInfo>& groups)
{
    for (auto it = groups.crbegin(); it != groups.crend(); ++it)
        addOrUpdateGroup(*it);
}

void GroupTab::addOrUpdateGroup(const GroupInfo& info)
{
    if (ChatWidget* existing = rows.value(info.getJid())) {
        existing->updateGroupInfo(info);
        return;
    }
    auto* widget = new ChatWidget(this);
    widget->setObjectName(QStringLiteral("ChatWidgetNormal"));
    widget->setFixedHeight(chatRowHeight);
    connect(widget, &ChatWidget::command, this, &GroupTab::command);
    connect(widget, &ChatWidget::clicked, this, &GroupTab::ChatWidgetClicked);
    connect(widget, &ChatWidget::startMessaging, this, &GroupTab::startMessaging);
    connect(widget, &ChatWidget::lastMessageTimeChanged, this, &GroupTab::lastMessageTimeChanged);
    widget->setGroupInfo(info);
    layout->insertWidget(0, widget);
    widget->show();
    rows.insert(info.getJid(), widget);
    showEmptyState();
}

void GroupTab::removeGroup(const QString& jid)
{
    ChatWidget* widget = rows.take(jid);
    if (!widget)
        return;
    layout->removeWidget(widget);
    widget->hide();
    if (selected == widget)
        selected = nullptr;
    showEmptyState();
    // Later, not now: the answer that removes the group may be on its way
    // through a chain that started at this row.
    widget->deleteLater();
}

void GroupTab::ChatWidgetClicked(ChatWindow* chatwindow)
{
    emit showSimpleChatWindow(chatwindow);
    if (selected)
        selected->deselect();
    selected = chatwindow ? rows.value(chatwindow->getChatId()) : nullptr;
    emit groupTabSelected();
}

bool GroupTab::selectGroup(const QString& jid)
{
    ChatWidget* widget = rows.value(jid);
    if (!widget)
        return false;
    widget->select();
    order->settle();
    area->ensureWidgetVisible(widget, 50, 50);
    return true;
}

void GroupTab::deselectLastChat()
{
    if (selected)
        selected->deselect();
    selected = nullptr;
}

void GroupTab::lastMessageTimeChanged(QString id)
{
    if (ChatWidget* moved = rows.value(id))
        order->placeByLastMessage(moved);
}

void GroupTab::processNewMessage(const Message& message)
{
    ChatWidget* widget = rows.value(message.getChatId());
    if (!widget)
        return;
    widget->processMessage(message);
    order->moveToTop(widget);
}

void GroupTab::processNewMessagePair(const MessagePair& pair)
{
    ChatWidget* widget = rows.value(pair.getChatId());
    if (!widget)
        return;
    widget->processMessagePair(pair);
    order->moveToTop(widget);
}

void GroupTab::processMessageReply(const QString& chatId, const MessageReply& reply)
{
    if (ChatWidget* widget = rows.value(chatId))
        widget->processMessageReply(reply);
}

void GroupTab::processGroupInfoMembers(const GroupInfoMembers& members)
{
    if (ChatWidget* widget = rows.value(members.getInfo().getJid()))
        widget->processGroupInfoMembers(members);
}

void GroupTab::processMessage(const Message& message)
{
    if (ChatWidget* widget = rows.value(message.getChatId()))
        widget->updateLastMessage(message);
}

void GroupTab::setMessageState(const MessageState& state)
{
    if (ChatWidget* widget = rows.value(state.getChatId()))
        widget->setMessageState(state);
}

void GroupTab::processMembers(const Members& members)
{
    if (ChatWidget* widget = rows.value(members.getRequestId()))
        widget->processMembers(members);
}

void GroupTab::filterChats(const QString& text)
{
    filtering = !text.isEmpty();
    showEmptyState();
    if (text.isEmpty()) {
        emptyLabel->hide();
        for (ChatWidget* widget : qAsConst(rows))
            widget->show();
        return;
    }
    bool any = false;
    for (ChatWidget* widget : qAsConst(rows)) {
        const bool match = widget->containsText(text);
        widget->setVisible(match);
        any = any || match;
    }
    emptyLabel->setVisible(!any);
}

int GroupTab::getTotalUnreadCount() const
{
    int total = 0;
    for (ChatWidget* widget : rows)
        total += widget->getUnreadCount();
    return total;
}

QStringList GroupTab::rowIds() const
{
    QStringList ids;
    for (int i = 0; i < layout->count(); ++i) {
        if (auto* widget = qobject_cast<ChatWidget*>(layout->itemAt(i)->widget()))
            ids << widget->getId();
    }
    return ids;
}

bool GroupTab::placeholderShown() const
{
    return !emptyLabel->isHidden();
}

void GroupTab::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    contents->setFixedWidth(width());
    placeEmptyState();
}

void GroupTab::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    emit showSimpleChatWindow(selected ? selected->getChatWindow() : nullptr);
}
