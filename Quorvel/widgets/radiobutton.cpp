#include "widgets/radiobutton.h"

#include "widgets/checkimages.h"
#include "widgets/fonts.h"
#include "widgets/interfacescale.h"
#include "widgets/label.h"
#include "widgets/stylesheetpaint.h"

#include <QHBoxLayout>
#include <QSpacerItem>

RadioButton::RadioButton(QWidget* parent)
    : QWidget(parent), image(new Label(this)), text(new QLabel(this)), layout(new QHBoxLayout(this))
{
    setObjectName(QStringLiteral("CustomRadioButton"));
    image->setObjectName(QStringLiteral("TransparentLabel"));
    text->setObjectName(QStringLiteral("TransparentLabel"));
    text->setTextFormat(Qt::PlainText);
    text->setFont(Fonts::getFont(checkFontSize));
    image->setFixedSize(checkIconSize, checkIconSize);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    layout->addWidget(image, 0, Qt::AlignHCenter);
    layout->addWidget(text, 0, Qt::AlignHCenter);
    layout->addSpacerItem(new QSpacerItem(1, 1, QSizePolicy::Expanding, QSizePolicy::Maximum));
    connect(image, &Label::clicked, this, &RadioButton::_clicked);
    CheckImages::radioButton().cacheAll();
    redraw();
}

void RadioButton::setText(const QString& caption)
{
    text->setText(caption);
    text->adjustSize();
}

void RadioButton::redraw()
{
    image->setPixmap(CheckImages::radioButton().pixmapFor(checked, isEnabled()));
}

void RadioButton::setSelected(bool value)
{
    checked = value;
    redraw();
}

void RadioButton::deselect()
{
    setSelected(false);
}

void RadioButton::_clicked()
{
    if (!isEnabled())
        return;
    checked = true;
    redraw();
    emit clicked();
}

void RadioButton::paintEvent(QPaintEvent*)
{
    StyleSheetPaint::plain(this);
}
