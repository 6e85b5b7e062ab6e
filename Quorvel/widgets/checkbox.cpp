#include "widgets/checkbox.h"

#include "widgets/checkimages.h"
#include "widgets/fonts.h"
#include "widgets/interfacescale.h"
#include "widgets/keyboardreach.h"
#include "widgets/label.h"
#include "widgets/stylesheetpaint.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QSpacerItem>
#include <QTextDocumentFragment>

CheckBox::CheckBox(QWidget* parent)
    : QWidget(parent), text(new QLabel(this)), image(new Label(this)), layout(new QHBoxLayout)
{
    build();
}

CheckBox::CheckBox(const QString& caption, QWidget* parent)
    : QWidget(parent), text(new QLabel(this)), image(new Label(this)), layout(new QHBoxLayout)
{
    text->setText(caption);
    build();
    setAccessibleName(QTextDocumentFragment::fromHtml(caption).toPlainText());
}

void CheckBox::build()
{
    setLayout(layout);
    text->setFont(Fonts::getFont(checkFontSize));
    text->setTextFormat(Qt::RichText);
    connect(text, &QLabel::linkActivated, this, &CheckBox::linkActivated);
    connect(image, &Label::clicked, this, &CheckBox::imageClicked);

    layout->addWidget(image);
    layout->addSpacerItem(new QSpacerItem(5, 1, QSizePolicy::Fixed, QSizePolicy::Fixed));
    layout->addWidget(text);
    layout->addSpacerItem(new QSpacerItem(1, 1, QSizePolicy::Expanding, QSizePolicy::Maximum));
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(1);

    checked = false;
    redraw();
    CheckImages::checkBox().cacheAll();
}

void CheckBox::redraw()
{
    image->setPixmap(CheckImages::checkBox().pixmapFor(checked, isEnabled()));
}

void CheckBox::setChecked(bool value)
{
    checked = value;
    redraw();
}

void CheckBox::setText(const QString& caption)
{
    text->setText(caption);
    // Read out by its caption's words (the caption may hold a link).
    setAccessibleName(QTextDocumentFragment::fromHtml(caption).toPlainText());
}

void CheckBox::setFont(const QFont& font)
{
    text->setFont(font);
}

void CheckBox::imageClicked()
{
    if (!isEnabled())
        return;
    checked = !checked;
    redraw();
    if (checked)
        emit selected();
    else
        emit unselected();
}

void CheckBox::linkActivated(const QString& str)
{
    emit linkClicked(str);
}

void CheckBox::keyPressEvent(QKeyEvent* event)
{
    const bool space = event->key() == Qt::Key_Space &&
                       (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (!space) {
        // Return goes on to the form the box is part of.
        QWidget::keyPressEvent(event);
        return;
    }
    imageClicked();
}

void CheckBox::paintEvent(QPaintEvent*)
{
    StyleSheetPaint::plain(this);
    // Around the box itself: the caption beside it stays clear.
    QRect box(QPoint(), image->pixmap(Qt::ReturnByValue).size());
    box.moveCenter(image->geometry().center());
    KeyboardReach::paintRing(this, box.adjusted(-3, -3, 3, 3));
}
