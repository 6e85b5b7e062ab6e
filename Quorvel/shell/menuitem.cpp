#include "shell/menuitem.h"

#include "widgets/fonts.h"
#include "widgets/interfacescale.h"
#include "widgets/stylesheetpaint.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QMouseEvent>

namespace {
QHBoxLayout* rowLayout(QWidget* row)
{
    auto* layout = new QHBoxLayout(row);
    layout->setSpacing(0);
    layout->setContentsMargins(0, 0, 0, 0);
    return layout;
}
} // namespace

MenuItem::MenuItem(const QString& label, const QString& iconPath, const QString& id,
                   QWidget* parent)
    : QWidget(parent), kind(Action), id(id)
{
    setObjectName(QStringLiteral("MenuItemMenuAction"));
    QHBoxLayout* layout = rowLayout(this);
    const QSize iconSize(scaleValue(20), scaleValue(20));
    icon.setPixmap(QIcon(iconPath).pixmap(iconSize, QIcon::Normal, QIcon::Off));
    icon.resize(iconSize);
    text.setFont(Fonts::getFont(baseFontSize));
    // Menu labels are the program's own texts, never markup.
    text.setTextFormat(Qt::PlainText);
    text.setText(label);
    setAccessibleName(label);
    layout->addSpacerItem(new QSpacerItem(10, 1, QSizePolicy::Fixed, QSizePolicy::Fixed));
    layout->addWidget(&icon);
    layout->addSpacerItem(new QSpacerItem(10, 1, QSizePolicy::Fixed, QSizePolicy::Fixed));
    layout->addWidget(&text);
    layout->addSpacerItem(new QSpacerItem(1, 1, QSizePolicy::Expanding, QSizePolicy::Fixed));
}

MenuItem::MenuItem(bool splitter, QWidget* parent)
    : QWidget(parent), kind(splitter ? Splitter : Empty)
{
    if (!splitter)
        return;
    line.setFrameShape(QFrame::HLine);
    line.setFrameShadow(QFrame::Plain);
    line.setObjectName(QStringLiteral("MenuItemSplitter"));
    rowLayout(this)->addWidget(&line);
}

void MenuItem::mousePressEvent(QMouseEvent* event)
{
    if (kind == Action)
        emit menuClicked(id, event);
}

void MenuItem::paintEvent(QPaintEvent*)
{
    StyleSheetPaint::plain(this);
}
