#ifndef TRANSPARENTFULLSCREENWIDGET_H
#define TRANSPARENTFULLSCREENWIDGET_H

#include <QPointer>
#include <QWidget>

class Label;

// A frameless full-screen window with a dim background and a close button in
// the corner; Esc (through OverlayStack) or a left click outside the content
// closes it.
class TransparentFullScreenWidget : public QWidget
{
    Q_OBJECT
public:
    explicit TransparentFullScreenWidget(QWidget* parent = nullptr);

    void showOver(QWidget* content);
    QWidget* getContent() const { return content; }
    Label* getCloseButton() const { return closeButton; }

signals:
    void closed();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void placeContent();

private:
    void closeOverlay();

    Label* closeButton;
    QWidget* background;
    QPointer<QWidget> content;
};

#endif // TRANSPARENTFULLSCREENWIDGET_H
