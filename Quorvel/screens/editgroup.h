#ifndef EDITGROUP_H
#define EDITGROUP_H

#include <QWidget>

class CustomLineEdit;
class FlatButton;

// The small popup in which the user types a new name for a group.
class EditGroup : public QWidget
{
    Q_OBJECT
public:
    explicit EditGroup(QWidget* parent = nullptr);

    void setName(const QString& name);
    CustomLineEdit* nameField() const { return field; }
    FlatButton* submitButton() const { return submit; }
    FlatButton* cancelButton() const { return cancel; }

signals:
    void NameChanged(QString NewName);

public slots:
    void AckButtonPressed();
    void ignorePressed();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    CustomLineEdit* field;
    FlatButton* submit;
    FlatButton* cancel;
};

#endif // EDITGROUP_H
