#ifndef POLLCHOICEWIDGET_H
#define POLLCHOICEWIDGET_H

#include "model/polloption.h"

#include <QWidget>

class FlatButton;
class QTextEdit;

// One editable choice of the poll composer with its remove button.
class PollChoiceWidget : public QWidget
{
    Q_OBJECT
public:
    explicit PollChoiceWidget(QWidget* parent);

    // False for an empty choice; otherwise fills the option's text.
    bool getPollOption(PollOption& option) const;
    QString getText() const;
    QTextEdit* editor() const { return edit; }
    FlatButton* removeButton() const { return remover; }

signals:
    void remove(PollChoiceWidget* w);

public slots:
    void _remove();

private:
    QTextEdit* edit;
    FlatButton* remover;
};

#endif // POLLCHOICEWIDGET_H
