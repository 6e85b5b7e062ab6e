#include "screens/addnewcontact.h"

#include "Managers/Contact/contact.h"
#include "screens/screenfonts.h"
#include "widgets/customlineedit.h"
#include "widgets/flatbutton.h"
#include "widgets/formerrorline.h"
#include "widgets/stylesheetpaint.h"

#include <QBoxLayout>
#include <QCoreApplication>
#include <QIcon>
#include <QLabel>
#include <QRegExpValidator>

namespace {

QLabel* formIcon(QWidget* parent)
{
    auto* icon = new QLabel(parent);
    icon->setFixedSize(32, 32);
    icon->setPixmap(
        QIcon(QStringLiteral(":/Images/menu_black.png")).pixmap(32, 32, QIcon::Normal, QIcon::Off));
    return icon;
}

QString numberNotValid()
{
    return QCoreApplication::translate("EnterMobileNumber", "_ErrorMobileNumberNotValid");
}

} // namespace

AddNewContact::AddNewContact(QWidget* parent)
    : QWidget(parent), firstName(new CustomLineEdit(tr("_Name"), this)),
      lastName(new CustomLineEdit(tr("_Family"), this)),
      mobile(new CustomLineEdit(QStringLiteral("09********"), this)),
      create(new FlatButton(tr("_Create"), this)), ignore(new FlatButton(tr("_Ignor"), this)),
      error(new QLabel(numberNotValid(), this))
{
    const QFont form = ScreenFonts::digits(12);
    for (CustomLineEdit* field : {firstName, lastName, mobile}) {
        field->setObjectName(QStringLiteral("UserProfileUsername"));
        field->setAttribute(Qt::WA_MacShowFocusRect, false);
        field->setFont(form);
    }
    mobile->setValidator(new QRegExpValidator(
        QRegExp(QStringLiteral("[0-9*]{0,11}"), Qt::CaseSensitive, QRegExp::RegExp), this));
    for (FlatButton* button : {create, ignore}) {
        button->setObjectName(QStringLiteral("AddNewContactButton"));
        button->setFont(ScreenFonts::digits(14));
    }
    error->setAlignment(Qt::AlignCenter);
    error->setFont(form);
    FormErrorLine::setUp(error);

    auto* layout = new QVBoxLayout(this);
    auto* title = new QHBoxLayout;
    title->addWidget(new QLabel(tr("_AddNewContact"), this));
    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(formIcon(this));
    nameRow->addWidget(firstName);
    auto* familyRow = new QHBoxLayout;
    familyRow->addWidget(lastName);
    auto* mobileRow = new QHBoxLayout;
    mobileRow->addWidget(formIcon(this));
    mobileRow->addWidget(mobile);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(create);
    buttons->addWidget(ignore);
    for (QHBoxLayout* row : {title, nameRow, familyRow, mobileRow})
        layout->addLayout(row);
    // The error goes where it can be read whole, above the buttons.
    layout->addWidget(error);
    layout->addLayout(buttons);

    connect(create, &FlatButton::onClick, this, &AddNewContact::createPressed);
    connect(ignore, &FlatButton::onClick, this, &AddNewContact::ignorePressed);
    connect(mobile, &QLineEdit::textChanged, this, &AddNewContact::ChangeInData);
    connect(firstName, &QLineEdit::textChanged, this, &AddNewContact::ChangeInData);
}

void AddNewContact::createPressed()
{
    const QString number = mobile->text();
    const bool numberValid = number.length() == 11 && !number.contains(QLatin1Char('*')) &&
                             number.startsWith(QLatin1String("09"));
    if (firstName->isEmptyText() || !numberValid) {
        error->setText(firstName->isEmptyText() ? tr("_EnterName") : numberNotValid());
        error->show();
        return;
    }
    Contact contact;
    contact.setFirstName(firstName->text());
    if (!lastName->isEmptyText())
        contact.setLastName(lastName->text());
    contact.setNumber(QStringLiteral("98") + number.mid(1));
    emit command(CMD_AddContact, QVariant::fromValue(contact));
    resetForm();
    hide();
}

void AddNewContact::ignorePressed()
{
    resetForm();
    hide();
}

void AddNewContact::ChangeInData()
{
    error->hide();
}

void AddNewContact::resetForm()
{
    error->hide();
    for (CustomLineEdit* field : {mobile, firstName, lastName})
        field->onTextChanged(QString());
}

void AddNewContact::paintEvent(QPaintEvent*)
{
    StyleSheetPaint::plain(this);
}
