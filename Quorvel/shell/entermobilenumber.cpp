#include "shell/entermobilenumber.h"

#include "foundation/simpleqtlogger.h"
#include "shell/asciidigits.h"
#include "widgets/checkbox.h"
#include "widgets/flatbutton.h"
#include "widgets/fonts.h"
#include "widgets/formerrorline.h"
#include "widgets/hintlineedit.h"
#include "widgets/iconbutton.h"
#include "widgets/keyboardreach.h"

#include <QDesktopServices>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QUrl>
#include <QVBoxLayout>

EnterMobileNumber::EnterMobileNumber(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->addSpacing(30);
    auto* heading = new QLabel(tr("EnterMobileNumber"), this);
    heading->setObjectName(QStringLiteral("RegisterPageLabel"));
    heading->setFont(Fonts::getFont(30));
    layout->addWidget(heading, 0, Qt::AlignCenter);
    layout->addSpacing(50);

    // A frame, so that the style sheet's underline reaches it.
    auto* frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("mobileNumberFrame"));
    auto* row = new QHBoxLayout(frame);
    row->setContentsMargins(0, 0, 0, 0);
    number = new HintLineEdit(frame);
    number->setFont(Fonts::getFont(30));
    number->setAlignment(Qt::AlignCenter);
    number->setPlaceholderText(QStringLiteral("0912 345 67 89"));
    number->setObjectName(QStringLiteral("MobileNumberInput"));
    number->setAccessibleName(tr("_MobileNumberField"));
    number->setMaxLength(11);
    // Digits of any of the scripts a Persian keyboard types; the range is
    // checked on the ASCII form when the user goes on.
    number->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9\\x{06F0}-\\x{06F9}\\x{0660}-\\x{0669}]{0,11}")),
        number));
    row->addWidget(number);
    auto* phoneIcon = new IconButton(
        QSize(32, 32), QStringLiteral(":/Images/ic_communication_call bold .png"), frame);
    phoneIcon->setAccessibleName(tr("_MobileNumberField"));
    row->addWidget(phoneIcon);
    layout->addWidget(frame, 0, Qt::AlignCenter);
    layout->addSpacing(20);

    error = new QLabel(tr("_ErrorMobileNumberNotValid"), this);
    error->setFont(Fonts::getFont(20));
    FormErrorLine::setUp(error);
    layout->addWidget(error, 0, Qt::AlignCenter);
    layout->addStretch();

    terms = new CheckBox(tr("TermOfAgrementLink"), this);
    terms->setFont(Fonts::getFont(20));
    layout->addWidget(terms, 0, Qt::AlignCenter);
    layout->addSpacing(5);
    next = new FlatButton(tr("into_nextbutton"), this);
    next->setObjectName(QStringLiteral("InvisibleNextButton"));
    next->setFont(Fonts::getFont(25));
    next->setFixedSize(128, 32);
    layout->addWidget(next, 0, Qt::AlignCenter);
    layout->addSpacing(50);
    number->setFocus();
    // Tab goes from the number to the terms box, its link and the button.
    KeyboardReach::enable(terms);
    KeyboardReach::enableLinks(terms->textLabel());
    KeyboardReach::enable(next);

    connect(terms, &CheckBox::linkClicked, this, &EnterMobileNumber::termOfAgrementClicked);
    connect(terms, &CheckBox::selected, this, &EnterMobileNumber::TermAreAccepted);
    connect(terms, &CheckBox::unselected, this, &EnterMobileNumber::TermNotAccepted);
    connect(next, &FlatButton::onClick, this, &EnterMobileNumber::nextClick);
    // A changed number clears its error; Enter goes on (keyPressEvent).
    connect(number, &QLineEdit::textChanged, this, &EnterMobileNumber::numberChanged);
}

QString EnterMobileNumber::getNumber() const
{
    return number->text();
}

bool EnterMobileNumber::isValidNumber(const QString& typed)
{
    bool ok = false;
    const qint64 value = toAsciiDigits(typed).toLongLong(&ok, 10);
    return ok && value >= 9000000001LL && value <= 9999999998LL;
}

void EnterMobileNumber::showError(int result)
{
    error->setText(result == 330 ? tr("_ErrorMobileNumberNotValid") : tr("_ErrorNetwork"));
    error->adjustSize();
    error->show();
}

void EnterMobileNumber::nextClick()
{
    // Nothing goes out before the terms are accepted; the person is told why.
    if (!terms->isChecked()) {
        error->setText(tr("_AcceptTermsFirst"));
        error->adjustSize();
        error->show();
        return;
    }
    L_DEBUG(QStringLiteral("EnterMobileNumber::nextClick ") + number->text());
    if (isValidNumber(number->text())) {
        error->hide();
        emit nextClicked();
        return;
    }
    error->setText(tr("_ErrorMobileNumberNotValid"));
    error->adjustSize();
    error->show();
}

void EnterMobileNumber::numberChanged()
{
    error->hide();
}

void EnterMobileNumber::termOfAgrementClicked(const QString& link)
{
    L_DEBUG(QStringLiteral("LINK:") + link);
    QDesktopServices::openUrl(QUrl(link));
}

void EnterMobileNumber::TermAreAccepted()
{
    setNextButtonName(QStringLiteral("NextButton"));
    if (error->text() == tr("_AcceptTermsFirst"))
        error->hide();
}

void EnterMobileNumber::keyPressEvent(QKeyEvent* event)
{
    // Enter in the number field or on the terms box goes on as the button
    // does (the button and the link take their own).
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        nextClick();
        return;
    }
    QWidget::keyPressEvent(event);
}

void EnterMobileNumber::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    number->setFocus(Qt::OtherFocusReason);
}

void EnterMobileNumber::TermNotAccepted()
{
    setNextButtonName(QStringLiteral("InvisibleNextButton"));
}

void EnterMobileNumber::setNextButtonName(const QString& name)
{
    next->setObjectName(name);
    next->setStyleSheet(QString());
}
