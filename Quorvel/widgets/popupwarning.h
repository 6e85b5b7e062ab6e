#ifndef POPUPWARNING_H
#define POPUPWARNING_H

#include <QString>
#include <QWidget>

class FlatButton;
class QLabel;

// The program's one confirmation dialog: a message with Yes and No, or with
// Continue. The caller names the question with an applicator and hears the
// answer, with that applicator, through popUpresponse.
class PopUpWarning : public QWidget
{
    Q_OBJECT
public:
    enum response
    {
        yes = 0, // also Continue
        no = 1
    };
    Q_ENUM(response)

    static PopUpWarning* getInstance();
    static void deleteInstance();
    // The message is shown as plain text.
    static void showWarning(const QString& text, const QString& applicator, bool overMainWindow,
                            int buttons);

    void setButtons(int mode);
    QString getApplicator() const { return applicator; }
    QLabel* messageLabel() const { return message; }
    FlatButton* yesButton() const { return yes_; }
    FlatButton* noButton() const { return no_; }
    FlatButton* continueButton() const { return continue_; }

signals:
    void popUpresponse(PopUpWarning::response answer, const QString& applicator);

public slots:
    void yesButtonPressed();
    void continueButtonPressed();
    void noButtonPressed();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    PopUpWarning();

    QLabel* message;
    FlatButton* yes_;
    FlatButton* no_;
    FlatButton* continue_;
    QString applicator;

    static PopUpWarning* instance;
};

#endif // POPUPWARNING_H
