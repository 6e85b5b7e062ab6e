#include "shell/contentpanel.h"

#include "chat/chatwindow.h"
#include "widgets/stylesheetpaint.h"

#include <QLabel>

ContentPanel::ContentPanel(QWidget* parent) : QWidget(parent), placeholder(new QLabel(this))
{
    setObjectName(QStringLiteral("ContentPanel"));
    placeholder->setObjectName(QStringLiteral("ContentPanelPlaceholder"));
    placeholder->setPixmap(QPixmap(QStringLiteral(":/Images/QuorvelLogo128.png")));
    placeholder->setAlignment(Qt::AlignCenter);
}

void ContentPanel::setContentWidget(ChatWindow* window)
{
    if (current && current != window)
        current->hideChatWindow();
    current = window;
    if (!window) {
        placeholder->show();
        return;
    }
    placeholder->hide();
    window->setParent(this);
    window->setGeometry(rect());
    window->showChatWindow();
    window->focusInput();
    window->raise();
}

void ContentPanel::setWindowActive(bool active)
{
    windowActive = active;
    if (active && current) {
        current->sendSeenIfActive();
        current->startLikeViewAnalysis();
    }
}

void ContentPanel::selectSidePanelWidget()
{
    if (current)
        current->selectSidePanelWidget();
}

void ContentPanel::forgetChatById(const QString& id)
{
    if (current && current->getChatId() == id) {
        current->hideChatWindow();
        current = nullptr;
        placeholder->show();
    }
}

void ContentPanel::closeChatById(const QString& id)
{
    forgetChatById(id);
}

void ContentPanel::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    placeholder->setGeometry(rect());
    if (current)
        current->setGeometry(rect());
}

void ContentPanel::paintEvent(QPaintEvent*)
{
    StyleSheetPaint::plain(this);
}
