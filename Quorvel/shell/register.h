#ifndef REGISTER_H
#define REGISTER_H

#include "webapi/GeneralApi/procedure.h"

#include <QWidget>

class EnterActivationCode;
class EnterMobileNumber;
class FailureToast;
class Intro;

// The sign-up window: welcome, mobile number and activation code pages.
class Register : public QWidget
{
    Q_OBJECT
public:
    explicit Register(QWidget* parent = nullptr);

    Intro* introPage() const { return intro; }
    EnterMobileNumber* mobileNumberPage() const { return mobilePage; }
    EnterActivationCode* activationCodePage() const { return codePage; }
    FailureToast* getFailureToast() const { return failureToast; }

signals:
    void startRegistration(const QString& phoneNo);
    void startActivation(const QString& pinCode);
    void startIVRRequest();
    void activationCompleted();

public slots:
    void introNextClicked();
    void enterMobileNumberNextClicked();
    void sendActivationCode();
    void showMobileNumberPage();
    void ivrRequest();
    void apiResult(Procedure procedure, int result);
    void activate();

private:
    Intro* intro;
    EnterMobileNumber* mobilePage;
    EnterActivationCode* codePage;
    FailureToast* failureToast;
};

#endif // REGISTER_H
