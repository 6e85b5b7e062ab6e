#include "shell/enteractivationcode.h"

#include "foundation/simpleqtlogger.h"
#include "shell/asciidigits.h"
#include "widgets/flatbutton.h"
#include "widgets/fonts.h"
#include "widgets/formerrorline.h"
#include "widgets/iconbutton.h"
#include "widgets/keyboardreach.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace {
QLabel* headingLabel(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QStringLiteral("RegisterPageLabel"));
    label->setFont(Fonts::getFont(40));
    return label;
}
} // namespace

EnterActivationCode::EnterActivationCode(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->addSpacing(20);
    layout->addWidget(headingLabel(tr("ActivationCodeSent"), this), 0, Qt::AlignCenter);
    numberHeading = headingLabel(QString(), this);
    numberHeading->setTextFormat(Qt::PlainText);
    layout->addWidget(numberHeading, 0, Qt::AlignCenter);

    ivrButton = new FlatButton(tr("SendActivationCodebyIVR"), this);
    ivrButton->setObjectName(QStringLiteral("TransparentButton"));
    ivrButton->setFont(Fonts::getFont(20));
    layout->addWidget(ivrButton, 0, Qt::AlignCenter);
    auto* edit = new QLabel(tr("EditMobileNumber"), this);
    edit->setFont(Fonts::getFont(20));
    layout->addWidget(edit, 0, Qt::AlignCenter);
    layout->addStretch();

    // A frame, so that the style sheet's underline reaches it.
    auto* frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("activationFrame"));
    frame->setMaximumSize(200, 50);
    auto* row = new QHBoxLayout(frame);
    row->setContentsMargins(5, 5, 5, 5);
    row->setSpacing(5);
    auto* codeIcon = new IconButton(QSize(24, 24),
                                    QStringLiteral(":/Images/ic_checkable_items bold .png"), frame);
    codeIcon->setAccessibleName(tr("_ActivationCodeField"));
    row->addWidget(codeIcon);
    code = new QLineEdit(frame);
    code->setObjectName(QStringLiteral("activationCodeLineEdit"));
    code->setAccessibleName(tr("_ActivationCodeField"));
    code->setFont(Fonts::getFont(30));
    code->setMinimumWidth(100);
    code->setMaxLength(6);
    code->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9\\x{06F0}-\\x{06F9}\\x{0660}-\\x{0669}]{0,6}")),
        code));
    row->addWidget(code);
    layout->addWidget(frame, 0, Qt::AlignCenter);

    auto* resendRow = new QHBoxLayout;
    auto* resend = new FlatButton(tr("ResendActivationCode"), this);
    resend->setObjectName(QStringLiteral("TransparentButton"));
    resend->setFont(Fonts::getFont(20));
    resendRow->addStretch();
    resendRow->addWidget(resend);
    // The arrow beside the words resends too.
    auto* resendIcon =
        new IconButton(QSize(20, 20), QStringLiteral(":/Images/ic_rotate_left bold.png"), this);
    resendIcon->setAccessibleName(tr("_ResendIcon"));
    connect(resendIcon, &IconButton::onClick, this,
            &EnterActivationCode::resendActivationCodeRequest);
    resendRow->addWidget(resendIcon);
    resendRow->addStretch();
    layout->addLayout(resendRow);

    error = new QLabel(tr("_ErrorCodeInvalid"), this);
    error->setFont(Fonts::getFont(20));
    FormErrorLine::setUp(error);
    layout->addWidget(error, 0, Qt::AlignCenter);
    layout->addStretch();
    auto* submit = new FlatButton(tr("_submit"), this);
    submit->setObjectName(QStringLiteral("NextButton"));
    submit->setFont(Fonts::getFont(30));
    submit->setFixedSize(128, 32);
    layout->addWidget(submit, 0, Qt::AlignCenter);
    layout->addSpacing(30);

    // Tab goes from the code to the submit button, then to the other ways on.
    for (QWidget* button : {static_cast<QWidget*>(submit), static_cast<QWidget*>(resend),
                            static_cast<QWidget*>(ivrButton)})
        KeyboardReach::enable(button);
    KeyboardReach::enableLinks(edit);
    setTabOrder(code, submit);
    setTabOrder(submit, resend);
    setTabOrder(resend, ivrButton);
    setTabOrder(ivrButton, edit);

    timer.setInterval(1000);
    connect(ivrButton, &FlatButton::onClick, this, &EnterActivationCode::activeByIVR);
    connect(edit, &QLabel::linkActivated, this, &EnterActivationCode::changeMobileNumber);
    connect(resend, &FlatButton::onClick, this, &EnterActivationCode::resendActivationCodeRequest);
    connect(submit, &FlatButton::onClick, this, &EnterActivationCode::nextClick);
    connect(code, &QLineEdit::textChanged, this, &EnterActivationCode::ActivateChanged);
    connect(code, &QLineEdit::returnPressed, this, &EnterActivationCode::nextClick);
    connect(&timer, &QTimer::timeout, this, &EnterActivationCode::updateProgressBar);
}

void EnterActivationCode::setNumber(const QString& number)
{
    phoneNumber = number;
    numberHeading->setText(number);
    numberHeading->adjustSize();
}

QString EnterActivationCode::getCode() const
{
    return toAsciiDigits(code->text());
}

void EnterActivationCode::resetWait()
{
    wait = 0;
}

void EnterActivationCode::showError(int result)
{
    error->setText(result == 311 ? tr("_ErrorCodeInvalid") : tr("_ErrorNetwork"));
    error->adjustSize();
    error->show();
}

void EnterActivationCode::resendActivationCodeRequest()
{
    L_DEBUG(QStringLiteral("resendActivationCodeRequest"));
    // A new code is on its way: the old one and its error go.
    error->hide();
    code->clear();
    code->setFocus();
    emit resendActivationCodeSIGNAL();
}

void EnterActivationCode::changeMobileNumber()
{
    emit showMobileNumberPage();
}

void EnterActivationCode::activeByIVR()
{
    L_DEBUG(QStringLiteral("EnterActivationCode::activeByIVR()"));
    emit ivrRequest();
}

void EnterActivationCode::updateProgressBar()
{
    wait += 10;
    if (wait >= 100) {
        wait = 100;
        ivrButton->show();
    }
    update();
}

void EnterActivationCode::nextClick()
{
    error->hide();
    emit activate();
}

void EnterActivationCode::ActivateChanged()
{
    error->hide();
}

void EnterActivationCode::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    code->setFocus();
}
