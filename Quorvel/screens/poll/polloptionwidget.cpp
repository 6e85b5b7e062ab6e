#include "screens/poll/polloptionwidget.h"

#include "widgets/checkbox.h"
#include "widgets/radiobutton.h"

#include <QHBoxLayout>
#include <QLabel>

PollOptionWidget::PollOptionWidget(PollData::PollType pollType, const PollOption& pollOption)
    : QWidget(nullptr), radio(new RadioButton), check(new CheckBox), type(pollType),
      option(pollOption), layout(new QHBoxLayout(this))
{
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    connect(radio, &RadioButton::clicked, this, &PollOptionWidget::_selected);
    connect(check, &CheckBox::selected, this, &PollOptionWidget::_selected);
    // Option texts come from whoever wrote the poll: never rich text.
    radio->textLabel()->setTextFormat(Qt::PlainText);
    check->textLabel()->setTextFormat(Qt::PlainText);
    if (type == PollData::Radio) {
        layout->insertWidget(0, radio);
        radio->setText(option.getText());
        check->setParent(this);
        check->hide();
    } else if (type == PollData::Checkbox) {
        layout->insertWidget(0, check);
        check->setText(option.getText());
        radio->setParent(this);
        radio->hide();
    } else {
        radio->setParent(this);
        check->setParent(this);
        radio->hide();
        check->hide();
    }
    layout->addSpacerItem(
        new QSpacerItem(1, 1, QSizePolicy::MinimumExpanding, QSizePolicy::Maximum));
}

bool PollOptionWidget::isChecked() const
{
    if (type == PollData::Radio)
        return radio->isSelected();
    if (type == PollData::Checkbox)
        return check->isChecked();
    return false;
}

void PollOptionWidget::select()
{
    if (type == PollData::Radio)
        radio->setSelected(true);
    else if (type == PollData::Checkbox)
        check->setChecked(true);
}

void PollOptionWidget::uncheck(bool alsoCheckBox)
{
    if (type == PollData::Radio)
        radio->setSelected(false);
    else if (type == PollData::Checkbox && alsoCheckBox)
        check->setChecked(false);
}

void PollOptionWidget::_selected()
{
    emit selected(option.getOptionId());
}
