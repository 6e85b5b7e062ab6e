#ifndef POLLOPTIONWIDGET_H
#define POLLOPTIONWIDGET_H

#include "model/polldata.h"
#include "model/polloption.h"

#include <QWidget>

class CheckBox;
class QHBoxLayout;
class RadioButton;

// One choice of a poll in a message: a radio button for a single-choice poll,
// a check box for a multiple-choice one, nothing for a comment-box poll.
class PollOptionWidget : public QWidget
{
    Q_OBJECT
public:
    PollOptionWidget(PollData::PollType type, const PollOption& option);

    bool isChecked() const;
    void select();
    void uncheck(bool alsoCheckBox);
    PollOption getPollOption() const { return option; }
    PollData::PollType getType() const { return type; }
    RadioButton* radioButton() const { return radio; }
    CheckBox* checkBox() const { return check; }

signals:
    void selected(const QString& optionId);

public slots:
    void _selected();

private:
    RadioButton* radio;
    CheckBox* check;
    PollData::PollType type;
    PollOption option;
    QHBoxLayout* layout;
};

#endif // POLLOPTIONWIDGET_H
