#include "shell/register.h"

#include "foundation/simpleqtlogger.h"
#include "shell/asciidigits.h"
#include "shell/enteractivationcode.h"
#include "shell/entermobilenumber.h"
#include "shell/failuretoast.h"
#include "shell/intro.h"
#include "shell/localdatawiper.h"
#include "shell/stylesheetloader.h"
#include "widgets/toastmessage.h"

#include <QDateTime>
#include <QGuiApplication>
#include <QScreen>

Register::Register(QWidget* parent) : QWidget(parent)
{
    setFixedSize(720, 480);
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.x() + (area.width() - 720) / 2, area.y() + (area.height() - 480) / 2);
    }
    loadStyleSheet(this);
    // Toasts appear over this window until the main window takes over.
    ToastMessage::setMainWindow(this);
    failureToast = new FailureToast(this);

    intro = new Intro(this);
    intro->setGeometry(0, 0, width(), height());
    connect(intro, &Intro::nextClicked, this, &Register::introNextClicked);

    mobilePage = new EnterMobileNumber(this);
    mobilePage->setGeometry(0, 0, width(), height());
    mobilePage->hide();
    connect(mobilePage, &EnterMobileNumber::nextClicked, this,
            &Register::enterMobileNumberNextClicked);

    codePage = new EnterActivationCode(this);
    codePage->setGeometry(0, 0, width(), height());
    codePage->hide();
    connect(codePage, &EnterActivationCode::showMobileNumberPage, this,
            &Register::showMobileNumberPage);
    connect(codePage, &EnterActivationCode::resendActivationCodeSIGNAL, this,
            &Register::sendActivationCode);
    connect(codePage, &EnterActivationCode::ivrRequest, this, &Register::ivrRequest);
    connect(codePage, &EnterActivationCode::activate, this, &Register::activate);

    L_DEBUG(QStringLiteral("Register::Register ") +
            QString::number(QDateTime::currentMSecsSinceEpoch()));
    LocalDataWiper::wipe();
    L_DEBUG(QStringLiteral("Register::Register ") +
            QString::number(QDateTime::currentMSecsSinceEpoch()));
}

void Register::introNextClicked()
{
    intro->hide();
    mobilePage->show();
}

void Register::enterMobileNumberNextClicked()
{
    codePage->setNumber(toAsciiDigits(mobilePage->getNumber()));
    mobilePage->close();
    codePage->show();
    codePage->resetWait();
    emit startRegistration(normalizePhoneNumber(mobilePage->getNumber()));
}

void Register::sendActivationCode()
{
    emit startRegistration(normalizePhoneNumber(mobilePage->getNumber()));
}

void Register::showMobileNumberPage()
{
    mobilePage->show();
    codePage->hide();
}

void Register::ivrRequest()
{
    failureToast->noteProcedure(PROC_IVRRequest);
    emit startIVRRequest();
}

void Register::activate()
{
    emit startActivation(codePage->getCode());
}

void Register::apiResult(Procedure procedure, int result)
{
    L_DEBUG(QStringLiteral("Register::apiResult | #START"));
    // The voice-call request is told through the failure toast, or by a
    // line that the call is coming; the pages' error lines are not its own.
    if (procedure == PROC_IVRRequest) {
        failureToast->procedureResult(procedure, result);
        if (result == 200)
            ToastMessage::getInstance()->showMessage(tr("_VoiceCallComing"));
        return;
    }
    if (result != 200) {
        L_DEBUG(QStringLiteral("Register::apiResult error code:") + QString::number(result));
        if (!codePage->isHidden())
            codePage->showError(result);
        else if (!mobilePage->isHidden())
            mobilePage->showError(result);
        return;
    }
    if (procedure == PROC_Register) {
        if (!mobilePage->isHidden()) {
            mobilePage->hide();
            codePage->show();
        }
    } else if (procedure == PROC_Activation) {
        emit activationCompleted();
        hide();
    }
}
