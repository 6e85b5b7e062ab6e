#ifndef CONTENTPANEL_H
#define CONTENTPANEL_H

#include "chat/chatwindow.h"
#include "webapi/FileApi/staticfile.h"

#include <QLabel>
#include <QPixmap>
#include <QPointer>
#include <QWidget>

// The left part of the main window: the open conversation over the chat
// background, or the background with a note asking to pick a chat.
class ContentPanel : public QWidget
{
    Q_OBJECT
public:
    explicit ContentPanel(QWidget* parent = nullptr);

    void setContentWidget(ChatWindow* window);
    ChatWindow* currentWidget() const { return current; }
    // The chat, channel or group went away: its window leaves the panel.
    void forgetChatById(const QString& id);
    void closeChatById(const QString& id);
    // On becoming active the shown conversation counts as seen.
    void setWindowActive(bool active);
    bool isWindowActive() const { return windowActive; }
    void updatePlaceholder();
    void fitBackground();
    // The pixmap's height at that width (its width at that height), keeping
    // its proportions; the panel's own height (width) for a null pixmap.
    int backgroundHeight(const QPixmap& pixmap, int width) const;
    int backgroundWidth(const QPixmap& pixmap, int height) const;
    QLabel* getPlaceholder() { return &placeholder; }
    QLabel* getBackgroundLabel() const { return backgroundLabel; }
    QPixmap getBackground() const { return background; }

public slots:
    void selectSidePanelWidget();
    void imageReady(const QImage& image);
    void downloadError(const QString&) {}
    void downloadCanceled() {}
    void backgroundChanged(const QString& url);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void downloadBackground(const QString& url);

    QPointer<ChatWindow> current;
    QPixmap background;
    QLabel* backgroundLabel;
    QLabel placeholder;
    StaticFile backgroundFile;
    bool windowActive = false;
};

#endif // CONTENTPANEL_H
