#ifndef ENTERACTIVATIONCODE_H
#define ENTERACTIVATIONCODE_H

#include <QTimer>
#include <QWidget>

class FlatButton;
class QLabel;
class QLineEdit;

// The registration page that takes the activation code sent to the number.
class EnterActivationCode : public QWidget
{
    Q_OBJECT
public:
    explicit EnterActivationCode(QWidget* parent = nullptr);

    void setNumber(const QString& number);
    // The code as typed, in ASCII digits.
    QString getCode() const;
    void resetWait();
    void showError(int result);

signals:
    void showMobileNumberPage();
    void resendActivationCodeSIGNAL();
    void ivrRequest();
    void activate();

public slots:
    void resendActivationCodeRequest();
    void changeMobileNumber();
    void activeByIVR();
    void updateProgressBar();
    void nextClick();
    void ActivateChanged();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLabel* numberHeading;
    QLabel* error;
    FlatButton* ivrButton;
    QLineEdit* code;
    QString phoneNumber;
    QTimer timer;
    int wait = 0;
};

#endif // ENTERACTIVATIONCODE_H
