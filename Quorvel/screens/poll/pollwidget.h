#ifndef POLLWIDGET_H
#define POLLWIDGET_H

#include "model/polldata.h"
#include "model/pollresult.h"
#include "screens/poll/pollresultwidget.h"

#include <QList>
#include <QPointer>
#include <QStringList>
#include <QTextDocument>
#include <QWidget>

class FlatButton;
class PollOptionWidget;
class QTextEdit;
class QVBoxLayout;

// A poll inside a message: the question, one row per option, a vote button
// and a results button. Talks to the poll service directly; a known vote
// locks the poll for good, and its own results open as a chart.
class PollWidget : public QWidget
{
    Q_OBJECT
public:
    explicit PollWidget(QWidget* parent = nullptr);

    void setPollData(const PollData& pollData, bool byMe);
    PollData getPollData() const { return poll; }
    QStringList selectedOptionIds() const;

    QList<PollOptionWidget*> optionRows() const { return rows; }
    FlatButton* voteButton() const { return vote; }
    FlatButton* resultsButton() const { return results; }
    QTextEdit* questionView() const { return question; }
    bool isLocked() const { return locked; }
    bool isWaitingForResults() const { return waiting; }
    // The last chart this poll opened, while it is open.
    PollResultWidget* lastResultWidget() const;

signals:
    void resultShown(PollResultWidget* widget);

public slots:
    void onOptionSelected(const QString& optionId);
    void submitVote();
    void getResults();
    void voteSubmitted(const QString& pollId, const QString& userVote);
    void resultsReady(const PollResult& results);

private:
    QTextEdit* question;
    // Owned by the question view, so it outlives every use the view makes of it.
    QTextDocument* document;
    PollData poll;
    QList<PollOptionWidget*> rows;
    QVBoxLayout* layout;
    FlatButton* vote;
    FlatButton* results;
    bool locked = false;
    bool waiting = false;
    QPointer<PollResultWidget> shown;
};

#endif // POLLWIDGET_H
