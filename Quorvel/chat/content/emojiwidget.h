#ifndef EMOJIWIDGET_H
#define EMOJIWIDGET_H

#include "foundation/database.h"

#include <QFrame>
#include <QList>
#include <QPointer>
#include <QStringList>

class EmojiButtonsPanel;
class QKeyEvent;
class QScrollArea;
class QVBoxLayout;

// The emoji picker shared by every chat window: a recent page (kept in its
// own encrypted store) and one page per category. A click hands the chat
// window the emoji's image tag for its input. Category pages get their
// buttons when they first come into view.
class EmojiWidget : public QFrame
{
    Q_OBJECT
public:
    static const int kRecentLimit = 32;

    static EmojiWidget* getInstance();
    static void deleteInstance();
    // True once the picker exists (getInstance would not build it).
    static bool exists();

    // The text that puts the emoji at path into a message input.
    static QString imageTag(const QString& path);
    // Only the picker's own small pictures go into messages and the store.
    static bool isEmojiPath(const QString& path);

    QWidget* chatWindow() const { return window; }
    QStringList recentEmojis() const { return recent; }
    EmojiButtonsPanel* recentPage() const { return recentPanel; }
    QList<EmojiButtonsPanel*> categoryPages() const { return pages; }
    QScrollArea* scrollArea() const { return scroll; }

public slots:
    void open(QWidget* chatWindow, QWidget* emojiBtn);
    // Fills every category page that the scroll area shows now.
    void fillShownPages();
    void emojiClicked(const QString& emojiFile);

signals:
    void addTag(const QString& emojiTag);
    void keyPressed(QKeyEvent* e);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    EmojiWidget();
    ~EmojiWidget() override;
    void refreshRecentPage();
    void setupEmojis();
    void resolvePosition(QWidget* emojiBtn);
    void resolveSize();

    QVBoxLayout* outer;
    QScrollArea* scroll;
    QWidget* content;
    QVBoxLayout* pagesLayout;
    EmojiButtonsPanel* recentPanel = nullptr;
    QList<EmojiButtonsPanel*> pages;
    QStringList recent;
    DataBase store;
    QPointer<QWidget> window;

    static EmojiWidget* instance;
};

#endif // EMOJIWIDGET_H
