#ifndef ADDNEWCONTACT_H
#define ADDNEWCONTACT_H

#include "Managers/command.h"

#include <QVariant>
#include <QWidget>

class CustomLineEdit;
class FlatButton;
class QLabel;

// The popup form that adds a person by name and mobile number.
class AddNewContact : public QWidget
{
    Q_OBJECT
public:
    explicit AddNewContact(QWidget* parent = nullptr);

    // Every field back to its placeholder and no error: each new contact
    // starts from an empty form.
    void resetForm();

    CustomLineEdit* firstNameField() const { return firstName; }
    CustomLineEdit* lastNameField() const { return lastName; }
    CustomLineEdit* mobileField() const { return mobile; }
    FlatButton* createButton() const { return create; }
    FlatButton* ignoreButton() const { return ignore; }
    QLabel* errorLabel() const { return error; }

signals:
    void command(Command command, QVariant request = QVariant());

public slots:
    void createPressed();
    void ignorePressed();
    void ChangeInData();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    CustomLineEdit* firstName;
    CustomLineEdit* lastName;
    CustomLineEdit* mobile;
    FlatButton* create;
    FlatButton* ignore;
    QLabel* error;
};

#endif // ADDNEWCONTACT_H
