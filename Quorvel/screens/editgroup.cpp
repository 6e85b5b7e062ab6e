#include "screens/editgroup.h"

#include "screens/screenfonts.h"
#include "widgets/customlineedit.h"
#include "widgets/flatbutton.h"
#include "widgets/stylesheetpaint.h"

#include <QBoxLayout>
#include <QCoreApplication>
#include <QIcon>
#include <QLabel>

EditGroup::EditGroup(QWidget* parent)
    : QWidget(parent), field(new CustomLineEdit(tr("_Name"), this)),
      submit(new FlatButton(tr("_Submit"), this)),
      cancel(new FlatButton(QCoreApplication::translate("AddNewContact", "_Ignor"), this))
{
    auto* icon = new QLabel(this);
    icon->resize(32, 32);
    icon->setPixmap(
        QIcon(QStringLiteral(":/Images/menu_black.png")).pixmap(32, 32, QIcon::Normal, QIcon::Off));
    field->setAttribute(Qt::WA_MacShowFocusRect, false);
    field->setObjectName(QStringLiteral("UserProfileUsername"));
    field->setFont(ScreenFonts::digits(12));
    for (FlatButton* button : {submit, cancel}) {
        button->setObjectName(QStringLiteral("AddNewContactButton"));
        button->setFont(ScreenFonts::digits(14));
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("_EditGroup"), this));
    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(icon);
    nameRow->addWidget(field);
    layout->addLayout(nameRow);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(submit);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    connect(submit, &FlatButton::onClick, this, &EditGroup::AckButtonPressed);
    connect(cancel, &FlatButton::onClick, this, &EditGroup::ignorePressed);
}

void EditGroup::setName(const QString& name)
{
    field->setText(name);
    field->adjustSize();
}

void EditGroup::AckButtonPressed()
{
    if (!field->isEmptyText())
        emit NameChanged(field->text());
    hide();
}

void EditGroup::ignorePressed()
{
    hide();
}

void EditGroup::paintEvent(QPaintEvent*)
{
    StyleSheetPaint::plain(this);
}
