#include "shell/chatwidget.h"

#include "shell/chatwindow.h"

#include <QGridLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QStyle>

ChatWidget::ChatWidget(QWidget* parent)
    : QWidget(parent), window(new ChatWindow(QString())), name(new QLabel(this)),
      last(new QLabel(this)), badge(new QLabel(this))
{
    // Remote text: never read as markup.
    name->setTextFormat(Qt::PlainText);
    last->setTextFormat(Qt::PlainText);
    badge->setTextFormat(Qt::PlainText);
    badge->setObjectName(QStringLiteral("UnreadBadge"));
    badge->hide();
    auto* layout = new QGridLayout(this);
    layout->addWidget(name, 0, 0);
    layout->addWidget(badge, 0, 1, Qt::AlignLeft);
    layout->addWidget(last, 1, 0, 1, 2);
    restyle(QStringLiteral("ChatWidgetNormal"));
    setAttribute(Qt::WA_StyledBackground);
}

ChatWidget::~ChatWidget()
{
    delete window.data();
}

void ChatWidget::setChatRecipient(const ChatRecipient& value)
{
    recipient = value;
    delete window.data();
    window = new ChatWindow(recipient.getContact().getNumber());
    setContact(recipient.getContact());
    setUnreadCount(recipient.getUnreadCount());
}

void ChatWidget::setContact(const Contact& contact)
{
    recipient.setContact(contact);
    name->setText(contact.getDisplayName());
    window->setTitle(contact.getDisplayName());
}

void ChatWidget::setLastMessage(const Message& message)
{
    if (!message.isValid())
        return;
    if (lastMessage.isValid() && message.getMessageId() != lastMessage.getMessageId() &&
        message.getSendTimeInGMT() < lastMessage.getSendTimeInGMT())
        return;
    lastMessage = message;
    last->setText(message.getMessageBody().simplified());
    emit lastMessageTimeChanged(getId());
}

qint64 ChatWidget::getLastMessageTime() const
{
    return lastMessage.isValid() ? lastMessage.getSendTimeInGMT() : 0;
}

void ChatWidget::setUnreadCount(int count)
{
    recipient.setUnreadCount(count);
    badge->setText(QString::number(count));
    badge->setVisible(count > 0);
}

int ChatWidget::getUnreadCount() const
{
    return recipient.getUnreadCount();
}

bool ChatWidget::containsText(const QString& text) const
{
    return name->text().contains(text, Qt::CaseInsensitive) ||
           last->text().contains(text, Qt::CaseInsensitive);
}

QString ChatWidget::getId() const
{
    return recipient.getContact().getNumber();
}

QString ChatWidget::nameText() const
{
    return name->text();
}

QString ChatWidget::lastMessageText() const
{
    return last->text();
}

bool ChatWidget::unreadBadgeVisible() const
{
    return !badge->isHidden();
}

void ChatWidget::select()
{
    restyle(QStringLiteral("ChatWidgetSelected"));
    emit clicked(window);
}

void ChatWidget::deselect()
{
    restyle(QStringLiteral("ChatWidgetNormal"));
}

void ChatWidget::closeChatWindow()
{
    window->hide();
    window->close();
}

void ChatWidget::processMessage(const Message& message)
{
    setLastMessage(message);
}

void ChatWidget::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        select();
}

void ChatWidget::restyle(const QString& objectName)
{
    setObjectName(objectName);
    style()->unpolish(this);
    style()->polish(this);
}
