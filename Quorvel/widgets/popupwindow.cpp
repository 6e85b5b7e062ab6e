#include "widgets/popupwindow.h"

#include "widgets/customscrollarea.h"
#include "widgets/fonts.h"
#include "widgets/iconbutton.h"
#include "widgets/overlaystack.h"
#include "widgets/stylesheetpaint.h"

#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

PopupWindow::PopupWindow(QWidget* parent)
    : QWidget(parent), window(new QWidget(this)), title(new QLabel(window)),
      titleBar(new QFrame(window)), backButton(new IconButton(QSize(32, 32), window)),
      scroll(new CustomScrollArea(window)), board(new QWidget)
{
    setObjectName(QStringLiteral("PopupWindowTransparentArea"));
    backButton->setAccessibleName(tr("_Back"));
    window->setAutoFillBackground(true);
    QPalette white = window->palette();
    white.setColor(QPalette::Window, Qt::white);
    window->setPalette(white);
    title->setObjectName(QStringLiteral("PopupWindowTitleString"));
    title->setTextFormat(Qt::PlainText);
    QFont font = Fonts::getInstance()->bold;
    font.setWeight(75);
    font.setPointSize(14);
    title->setFont(font);
    titleBar->setObjectName(QStringLiteral("PopupWindowTitleFrame"));
    titleBar->setMinimumHeight(32);
    titleBar->lower();
    connect(backButton, &IconButton::onClick, this, &PopupWindow::wClicked);
    // Escape leaves it as its back button does.
    OverlayStack::instance()->track(this, [this] { wClicked(); });
    scroll->setObjectName(QStringLiteral("PopupWindowScrollArea"));
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Without a frame the board, sized as the area, fits without scrolling.
    scroll->setFrameShape(QFrame::NoFrame);
    board->setObjectName(QStringLiteral("PopupWindowBoard"));
    scroll->setWidget(board);
}

void PopupWindow::setTitle(const QString& text)
{
    title->setText(text);
}

void PopupWindow::setBackButtonIcon(const QString& path)
{
    backButton->setIcon(path);
    backButton->setObjectName(QStringLiteral("BackButton"));
}

void PopupWindow::wClicked()
{
    emit windowIconClicked();
}

void PopupWindow::fitToParent()
{
    QWidget* holder = parentWidget();
    if (!holder)
        return;
    setGeometry(0, 0, holder->width(), holder->height());

    QSize size = window->size();
    if (size.width() >= holder->width())
        size.setWidth(static_cast<int>(holder->width() * 0.8));
    if (size.height() >= holder->height())
        size.setHeight(static_cast<int>(holder->height() * 0.8));
    window->resize(size);

    const int lineHeight = Fonts::fontHeight(title->font());
    titleBar->setGeometry(0, 0, window->width(), lineHeight + 5);
    window->move(width() / 2 - window->width() / 2, height() / 2 - window->height() / 2);
    scroll->setGeometry(0, titleBar->height(), window->width(),
                        window->height() - titleBar->height());
    board->resize(scroll->size());

    if (layoutDirection() != Qt::RightToLeft)
        return;
    title->resize(titleBar->size());
    if (titleBar->height() < lineHeight)
        titleBar->resize(width(), lineHeight + 10);
    title->setGeometry(10, titleBar->height() / 2 - title->height() / 2, title->width() - 20,
                       title->height());
    backButton->move(0, titleBar->height() / 2 - backButton->height() / 2);
}

void PopupWindow::paintEvent(QPaintEvent*)
{
    // Opened over another framed popup, whose backdrop already dims the rest,
    // it dims only that popup's own window: nothing is dimmed twice.
    const auto* below = qobject_cast<PopupWindow*>(parentWidget());
    if (!below) {
        StyleSheetPaint::plain(this);
        return;
    }
    QStyleOption option;
    option.initFrom(this);
    QPainter painter(this);
    const QRect covered = below->getWindow()->geometry();
    painter.setClipRect(QRect(mapFrom(below, covered.topLeft()), covered.size()));
    style()->drawPrimitive(QStyle::PE_Widget, &option, &painter, this);
}
