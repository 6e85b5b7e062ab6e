#ifndef POPUPWINDOW_H
#define POPUPWINDOW_H

#include <QWidget>

class CustomScrollArea;
class IconButton;
class QFrame;
class QLabel;

// The framed popup: a white window with a title bar, a back button and a
// scroll area, laid out over its parent at up to 80% of its size.
class PopupWindow : public QWidget
{
    Q_OBJECT
public:
    explicit PopupWindow(QWidget* parent = nullptr);

    void setTitle(const QString& text);
    void setBackButtonIcon(const QString& path);
    void fitToParent();

    QWidget* getWindow() const { return window; }
    QWidget* getBoard() const { return board; }
    QFrame* getTitleBar() const { return titleBar; }
    QLabel* getTitle() const { return title; }
    IconButton* getBackButton() const { return backButton; }

signals:
    void windowIconClicked();

public slots:
    void wClicked();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QWidget* window;
    QLabel* title;
    QFrame* titleBar;
    IconButton* backButton;
    CustomScrollArea* scroll;
    QWidget* board;
};

#endif // POPUPWINDOW_H
