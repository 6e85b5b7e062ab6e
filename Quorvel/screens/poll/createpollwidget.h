#ifndef CREATEPOLLWIDGET_H
#define CREATEPOLLWIDGET_H

#include "model/polldata.h"
#include "widgets/spopup.h"

#include <QFont>
#include <QString>

class CheckBox;
class FlatButton;
class PollChoiceWidget;
class QGridLayout;
class QLabel;
class QScrollArea;
class QTextEdit;
class QVBoxLayout;
class RadioButton;

// The poll composer shared by all channel windows: question, single or
// multiple choice, a growing list of choices and whether everyone may see
// the results. "Post" hands the poll to the window of its channel; a poll
// that is not complete keeps the form open with what was written.
class CreatePollWidget : public SPopup
{
    Q_OBJECT
public:
    static CreatePollWidget* getInstance();

    QString getChatId() const { return chatId; }
    void reset();
    bool buildPollData(PollData& pollData);

    QTextEdit* questionEditor() const { return question; }
    RadioButton* singleChoiceButton() const { return single; }
    RadioButton* multipleChoiceButton() const { return multiple; }
    CheckBox* viewResultsBox() const { return viewResults; }
    FlatButton* addChoiceButton() const { return addButton; }
    FlatButton* postButton() const { return postButtonWidget; }
    QLabel* errorLabel() const { return error; }
    QList<PollChoiceWidget*> choices() const;

signals:
    void postPoll(const QString& chatId, const PollData& pollData);

public slots:
    void start(const QString& channelId);
    void addChoice();
    void removeChoice(PollChoiceWidget* pollChoice);
    void post();

private:
    CreatePollWidget();
    void buildForm();
    void clearChoices();

    QString chatId;
    QGridLayout* grid = nullptr;
    QFont font;
    QLabel* questionLabel;
    QLabel* typeLabel;
    QLabel* choicesLabel;
    QLabel* error;
    RadioButton* single;
    RadioButton* multiple;
    QTextEdit* question;
    QScrollArea* choicesArea;
    QWidget* board;
    QVBoxLayout* boardLayout;
    FlatButton* addButton;
    FlatButton* postButtonWidget;
    CheckBox* viewResults;

    static CreatePollWidget* instance;
};

#endif // CREATEPOLLWIDGET_H
