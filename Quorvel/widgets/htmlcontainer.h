#ifndef HTMLCONTAINER_H
#define HTMLCONTAINER_H

#include <QTextBrowser>

// The read-only view inside a message bubble: display HTML that grows with
// its content, selectable, links reported but never followed, wheel passed on
// to the conversation around it.
class HtmlContainer : public QTextBrowser
{
    Q_OBJECT
public:
    explicit HtmlContainer(QWidget* parent = nullptr);

    // Puts the selection on the clipboard as the copy text of its HTML.
    void copySelection();

protected:
    void wheelEvent(QWheelEvent* event) override;
};

#endif // HTMLCONTAINER_H
