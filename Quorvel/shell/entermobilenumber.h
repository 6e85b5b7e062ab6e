#ifndef ENTERMOBILENUMBER_H
#define ENTERMOBILENUMBER_H

#include <QWidget>

class CheckBox;
class FlatButton;
class QLabel;
class QLineEdit;

// The registration page that takes the mobile number and the terms.
class EnterMobileNumber : public QWidget
{
    Q_OBJECT
public:
    explicit EnterMobileNumber(QWidget* parent = nullptr);

    QString getNumber() const;
    void showError(int result);

    // Range check of a number as typed (any digit script, leading 0 or not).
    static bool isValidNumber(const QString& typed);

signals:
    void nextClicked();

public slots:
    void nextClick();
    void numberChanged();
    void termOfAgrementClicked(const QString& link);
    void TermAreAccepted();
    void TermNotAccepted();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    // The number field has the keyboard.
    void showEvent(QShowEvent* event) override;

private:
    void setNextButtonName(const QString& name);

    QLineEdit* number;
    CheckBox* terms;
    FlatButton* next;
    QLabel* error;
};

#endif // ENTERMOBILENUMBER_H
