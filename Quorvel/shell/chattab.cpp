#include "shell/chattab.h"

#include "chat/chatwidget.h"
#include "chat/chatwindow.h"
#include "widgets/interfacescale.h"
#include "widgets/listarea.h"
#include "widgets/phonetext.h"

#include <QEvent>
#include <QLabel>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>

ChatTab::ChatTab(QWidget* parent)
    : CustomScrollArea(parent), contents(new QWidget), placeholder(new QLabel(this))
{
    // The rows are placed by hand, not by the list's layout.
    setUpListArea(this, contents, placeholder, QStringLiteral("ChatTabContactsListContents"),
                  tr("No chat find."))
        ->setSizeConstraint(QLayout::SetNoConstraint);
    contents->installEventFilter(this);
    // Rows scrolled into view are made before they are painted.
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &ChatTab::place);
    connect(this, &CustomScrollArea::resized, this, &ChatTab::place);
}

ChatTab::~ChatTab()
{
    qDeleteAll(entries);
}

void ChatTab::addChatRecipient(const ChatRecipient& recipient)
{
    if (placeRecipient(recipient, 0))
        placeLater();
}

bool ChatTab::placeRecipient(const ChatRecipient& recipient, int index)
{
    const QString key = recipient.getContact().getNumber();
    if (Entry* existing = entry(key)) {
        if (existing->row) {
            existing->row->setChatRecipient(recipient);
        } else {
            existing->recipient = recipient;
            existing->counted = recipient.getLastMsg().getMessageId();
        }
        return false;
    }
    auto* added = new Entry;
    added->recipient = recipient;
    added->counted = recipient.getLastMsg().getMessageId();
    entries.insert(key, added);
    order.insert(qBound(0, index, order.size()), added);
    return true;
}

void ChatTab::setChatRecipients(const QList<ChatRecipient>& recipients)
{
    // New chats go on top in list order, above the rows already there.
    int at = 0;
    for (const ChatRecipient& recipient : recipients) {
        if (placeRecipient(recipient, at))
            ++at;
    }
    // A shown list has its first screenful at once.
    if (isVisible())
        place();
}

ChatWidget* ChatTab::makeRow(Entry* entry)
{
    if (entry->row)
        return entry->row;
    auto* widget = new ChatWidget(contents);
    widget->setObjectName(QStringLiteral("ChatWidgetNormal"));
    widget->setFixedHeight(chatRowHeight);
    connect(widget, &ChatWidget::command, this, &ChatTab::command);
    connect(widget, &ChatWidget::clicked, this, &ChatTab::ChatWidgetClicked);
    widget->setChatRecipient(entry->recipient, entry->counted);
    entry->row = widget;
    return widget;
}

ChatWidget* ChatTab::rowOf(Entry* entry)
{
    if (!entry->row) {
        makeRow(entry);
        place();
    }
    return entry->row;
}

void ChatTab::place()
{
    if (placing) {
        placeAgain = true;
        return;
    }
    placing = true;
    placeWaiting = false;
    if (paintWatched)
        paintWatched->removeEventFilter(this);
    paintWatched = nullptr;
    // A few rows beyond each edge of the view are made too, so that a short
    // scroll finds them there.
    for (int pass = 0; pass < 3; ++pass) {
        placeAgain = false;
        const int height = chatRowHeight;
        const int margin = 2 * height;
        const int top = verticalScrollBar()->value() - margin;
        const int bottom = verticalScrollBar()->value() + viewport()->height() + margin;
        const int width = contents->width();
        int y = 0;
        shown = 0;
        for (Entry* entry : qAsConst(order)) {
            if (!entry->matches) {
                if (entry->row && !entry->row->isHidden())
                    entry->row->hide();
                continue;
            }
            ++shown;
            if (!entry->row && y + height > top && y < bottom && isVisible())
                makeRow(entry);
            if (entry->row) {
                entry->row->setGeometry(0, y, width, height);
                if (entry->row->isHidden())
                    entry->row->show();
            }
            y += height;
        }
        contents->setMinimumHeight(y);
        if (!placeAgain)
            break;
    }
    placing = false;
}

void ChatTab::placeLater()
{
    if (placeWaiting)
        return;
    placeWaiting = true;
    // Queued behind the events already waiting (the rest of a burst); a paint
    // already asked for places the rows first.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (placeWaiting)
                place();
        },
        Qt::QueuedConnection);
    paintWatched = window();
    paintWatched->installEventFilter(this);
}

bool ChatTab::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == paintWatched && event->type() == QEvent::UpdateRequest && placeWaiting)
        place();
    else if (watched == contents && event->type() == QEvent::Resize)
        place();
    return CustomScrollArea::eventFilter(watched, event);
}

void ChatTab::moveToTop(Entry* entry)
{
    const auto it = std::find(order.begin(), order.end(), entry);
    if (it == order.end() || it == order.begin())
        return;
    std::rotate(order.begin(), it, it + 1);
    placeLater();
}

bool ChatTab::containsChat(const QString& id)
{
    return entries.contains(id);
}

ChatWidget* ChatTab::row(const QString& id)
{
    Entry* found = entry(id);
    return found ? rowOf(found) : nullptr;
}

void ChatTab::setContact(const Contact& contact)
{
    Entry* found = entry(contact.getNumber());
    if (!found)
        return;
    if (found->row)
        found->row->setContact(contact);
    else
        found->recipient.setContact(contact);
}

void ChatTab::setLastSeen(const QString& id, const QDateTime& time)
{
    Entry* found = entry(id);
    if (found && found->row && found->row->hasChatWindow())
        found->row->getChatWindow()->setContactLastSeen(id, time);
}

void ChatTab::processMessage(const Message& message)
{
    Entry* found = entry(message.getChatId());
    if (!found)
        return;
    if (found->row)
        found->row->processMessage(message);
    else
        ChatWidget::takeIntoRecord(&found->recipient, found->counted, message);
    moveToTop(found);
}

void ChatTab::processMessagePair(const MessagePair& pair)
{
    Entry* found = entry(pair.getChatId());
    if (!found)
        return;
    if (found->row)
        found->row->processMessagePair(pair);
    else
        ChatWidget::takeIntoRecord(&found->recipient, found->counted, pair.getMessage());
    moveToTop(found);
}

void ChatTab::processMessageReply(const QString& chatId, const MessageReply& reply)
{
    // A page comes for a chat whose window asked for it: its row is made.
    if (Entry* found = entry(chatId))
        rowOf(found)->processMessageReply(reply);
}

void ChatTab::setMessageState(const MessageState& state)
{
    // Only a row's window shows states.
    Entry* found = entry(state.getChatId());
    if (found && found->row)
        found->row->setMessageState(state);
}

void ChatTab::processMembers(const Members& members)
{
    Entry* found = entry(members.getRequestId());
    if (found && found->row)
        found->row->processMembers(members);
}

void ChatTab::removeChat(const QString& id)
{
    Entry* found = entries.take(id);
    if (!found)
        return;
    order.removeOne(found);
    if (ChatWidget* widget = found->row) {
        if (selected == widget)
            selected = nullptr;
        widget->closeChatWindow();
        widget->hide();
        // Later, not now: the removal may be answering a chain that started
        // at this very row.
        widget->deleteLater();
    }
    delete found;
    placeLater();
}

void ChatTab::openChat(const QString& id)
{
    Entry* found = entry(id);
    if (!found)
        return;
    ChatWidget* widget = rowOf(found);
    if (widget->getChatRecipient().getUnreadCount() != 0)
        widget->setUnreadCount(0);
    widget->select();
}

bool ChatTab::matches(const Entry& entry, const QString& text) const
{
    if (entry.row)
        return entry.row->containsText(text);
    // What the row would show: the name and the summary of the last message.
    const Message last = entry.recipient.getLastMsg();
    return PhoneText::name(entry.recipient.getContact()).indexOf(text, 0, Qt::CaseInsensitive) >=
               0 ||
           (last.isValid() &&
            ChatWidget::summaryOf(last, ChatWidget::Chat).indexOf(text, 0, Qt::CaseInsensitive) >=
                0);
}

void ChatTab::filterChats(const QString& str)
{
    for (Entry* entry : qAsConst(order))
        entry->matches = str.isEmpty() || matches(*entry, str);
    place();
    placeholder->setVisible(shown == 0);
}

int ChatTab::getUnreadCount() const
{
    int total = 0;
    for (const Entry* entry : qAsConst(order)) {
        if (entry->row)
            total += entry->row->getUnreadCount();
        else if (!entry->recipient.getContact().getMute())
            total += entry->recipient.getUnreadCount();
    }
    return total;
}

QStringList ChatTab::rowIds()
{
    QStringList ids;
    ids.reserve(order.size());
    for (const Entry* entry : qAsConst(order))
        ids << entry->recipient.getContact().getNumber();
    return ids;
}

bool ChatTab::placeholderShown()
{
    return !placeholder->isHidden();
}

void ChatTab::ChatWidgetClicked(ChatWindow* chatwindow)
{
    emit showSimpleChatWindow(chatwindow);
    if (selected)
        selected->deselect();
    Entry* found = chatwindow ? entry(chatwindow->getChatId()) : nullptr;
    selected = found ? found->row : nullptr;
    emit chatTabSelected();
}

void ChatTab::showEvent(QShowEvent* event)
{
    CustomScrollArea::showEvent(event);
    place();
    emit showSimpleChatWindow(selected ? selected->getChatWindow() : nullptr);
}
