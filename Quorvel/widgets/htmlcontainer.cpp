#include "widgets/htmlcontainer.h"

#include "foundation/htmlmanager.h"
#include "widgets/fonts.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QScrollBar>
#include <QTextDocumentFragment>
#include <QWheelEvent>

HtmlContainer::HtmlContainer(QWidget* parent) : QTextBrowser(parent)
{
    const QFont font = Fonts::getFont(20);
    setFont(font);
    document()->setDefaultFont(font);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::LinksAccessibleByMouse |
                            Qt::LinksAccessibleByKeyboard);
    setOpenLinks(false);
    setFrameStyle(0);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    verticalScrollBar()->setEnabled(false);
    setLineWrapMode(QTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WordWrap);
    setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Maximum);
    setContextMenuPolicy(Qt::NoContextMenu);
}

void HtmlContainer::copySelection()
{
    const QString html = textCursor().selection().toHtml(QByteArray());
    QGuiApplication::clipboard()->setText(HtmlManager::extractCopyTextFromContainerHtml(html),
                                          QClipboard::Clipboard);
}

void HtmlContainer::wheelEvent(QWheelEvent* event)
{
    event->ignore();
}
