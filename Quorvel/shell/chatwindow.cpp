#include "shell/chatwindow.h"

#include <QLabel>
#include <QVBoxLayout>

ChatWindow::ChatWindow(const QString& chatId, QWidget* parent)
    : QWidget(parent), chatId(chatId), title(new QLabel(this))
{
    title->setTextFormat(Qt::PlainText);
    title->setObjectName(QStringLiteral("ChatWindowTitle"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title, 0, Qt::AlignTop | Qt::AlignHCenter);
}

void ChatWindow::setTitle(const QString& text)
{
    title->setText(text);
}

void ChatWindow::hideChatWindow()
{
    hide();
}

void ChatWindow::showChatWindow()
{
    show();
}
