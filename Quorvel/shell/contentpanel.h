#ifndef CONTENTPANEL_H
#define CONTENTPANEL_H

#include "chat/chatwindow.h"
#include <QPointer>
#include <QWidget>

class QLabel;

// The left part of the main window: the open conversation over the chat
// background, or the background alone.
class ContentPanel : public QWidget
{
    Q_OBJECT
public:
    explicit ContentPanel(QWidget* parent = nullptr);

    void setContentWidget(ChatWindow* window);
    ChatWindow* currentWidget() const { return current; }
    void forgetChatById(const QString& id);
    void closeChatById(const QString& id);
    // On becoming active the shown conversation counts as seen.
    void setWindowActive(bool active);
    bool isWindowActive() const { return windowActive; }

public slots:
    void selectSidePanelWidget();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QPointer<ChatWindow> current;
    QLabel* placeholder;
    bool windowActive = false;
};

#endif // CONTENTPANEL_H
