#ifndef FORCEUPDATEERROR_H
#define FORCEUPDATEERROR_H

#include <QWidget>

class FlatButton;
class QLabel;

// The notice shown when the service no longer accepts this version.
class ForceUpdateError : public QWidget
{
    Q_OBJECT
public:
    explicit ForceUpdateError(QWidget* parent = nullptr);

    QLabel* messageLabel() const { return message; }
    FlatButton* button() const { return updateButton; }

signals:
    // The person pressed the button: this version can do nothing more, so
    // the program ends (the window quits the application).
    void quitRequested();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QLabel* message;
    FlatButton* updateButton;
};

#endif // FORCEUPDATEERROR_H
