#include "screens/poll/pollwidget.h"

#include "Managers/Poll/pollmanager.h"
#include "foundation/simpleqtlogger.h"
#include "screens/poll/polloptionwidget.h"
#include "screens/poll/pollresultwidget.h"
#include "widgets/flatbutton.h"
#include "widgets/fonts.h"
#include "widgets/interfacescale.h"
#include "widgets/toastmessage.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QTextEdit>
#include <QVBoxLayout>
#include <QtMath>

PollWidget::PollWidget(QWidget* parent)
    : QWidget(parent), question(new QTextEdit), document(new QTextDocument(question)),
      layout(new QVBoxLayout(this)), vote(new FlatButton), results(new FlatButton)
{
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    document->setDefaultFont(Fonts::getFont(20));
    question->setFrameStyle(0);
    question->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    question->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    question->setLineWrapMode(QTextEdit::WidgetWidth);
    question->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    question->setTextInteractionFlags(Qt::TextSelectableByMouse);
    question->setDocument(document);
    for (FlatButton* button : {vote, results}) {
        button->setFont(Fonts::getFont(20));
        button->setFixedHeight(25);
        button->setTextAlignment(Qt::AlignCenter);
    }
    vote->setText(tr("_vote"));
    results->setText(tr("_showResults"));
    // 70 pixels wide, or wider where a translation needs it: never cut short.
    for (FlatButton* button : {vote, results})
        button->setFixedWidth(
            qMax(70, QFontMetrics(button->font()).horizontalAdvance(button->text()) + 10));
    connect(vote, &FlatButton::onClick, this, &PollWidget::submitVote);
    connect(results, &FlatButton::onClick, this, &PollWidget::getResults);
}

void PollWidget::setPollData(const PollData& pollData, bool byMe)
{
    poll = pollData;
    const int width = messageMaxWidth - 2 * 10;
    document->setTextWidth(width);
    // The question is the poll author's text: shown as written, never as markup.
    document->setPlainText(pollData.getQuestion());
    document->adjustSize();
    const QSize size(qCeil(document->size().width()), qCeil(document->size().height()));
    question->setMaximumWidth(width);
    question->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Minimum);
    question->setFixedSize(size);
    question->setObjectName(byMe ? QStringLiteral("SimpleChatMessageContentBodyByMe")
                                 : QStringLiteral("SimpleChatMessageContentBodyByOthers"));
    layout->addWidget(question);
    // On the author's own bubble the buttons are white like its text: the
    // kit's blue does not read on that bubble's green.
    for (FlatButton* button : {vote, results})
        button->setObjectName(byMe ? QStringLiteral("PollButtonByMe") : QString());

    const QMap<QString, PollOption> options = pollData.getPollOptions();
    for (auto it = options.cbegin(); it != options.cend(); ++it) {
        PollOptionWidget* row = new PollOptionWidget(pollData.getPollType(), it.value());
        rows << row;
        connect(row, &PollOptionWidget::selected, this, &PollWidget::onOptionSelected);
        layout->addWidget(row);
    }
    QHBoxLayout* buttons = new QHBoxLayout;
    buttons->setSpacing(5);
    buttons->addSpacerItem(new QSpacerItem(1, 1, QSizePolicy::Expanding, QSizePolicy::Maximum));
    buttons->addWidget(results);
    buttons->addWidget(vote);
    layout->addLayout(buttons);

    PollManager* manager = PollManager::getInstance();
    connect(manager, &PollManager::voteSubmitted, this, &PollWidget::voteSubmitted,
            Qt::UniqueConnection);
    QString stored;
    if (manager->getUserVote(poll.getPollId(), &stored) && !stored.isEmpty())
        voteSubmitted(poll.getPollId(), stored);
}

PollResultWidget* PollWidget::lastResultWidget() const
{
    return shown;
}

QStringList PollWidget::selectedOptionIds() const
{
    QStringList ids;
    for (const PollOptionWidget* row : rows)
        if (row->isChecked())
            ids << row->getPollOption().getOptionId();
    return ids;
}

void PollWidget::onOptionSelected(const QString& optionId)
{
    for (PollOptionWidget* row : qAsConst(rows))
        if (row->getPollOption().getOptionId() != optionId)
            row->uncheck(false);
}

void PollWidget::submitVote()
{
    const QStringList ids = selectedOptionIds();
    if (ids.isEmpty()) {
        ToastMessage::getInstance()->showMessage(tr("_noOptionSelected"));
        return;
    }
    PollManager::getInstance()->startPollVote(poll.getPollId(), ids.join(QLatin1Char(',')),
                                              QString());
}

void PollWidget::voteSubmitted(const QString& pollId, const QString& userVote)
{
    if (pollId.isEmpty() || pollId != poll.getPollId())
        return;
    const QStringList chosen = userVote.split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (PollOptionWidget* row : qAsConst(rows)) {
        row->setEnabled(false);
        row->uncheck(true);
        if (chosen.contains(row->getPollOption().getOptionId(), Qt::CaseSensitive))
            row->select();
    }
    vote->setEnabled(false);
    locked = true;
}

void PollWidget::getResults()
{
    PollManager* manager = PollManager::getInstance();
    manager->startPollResults(poll.getPollId());
    // One answer opens one chart, however often the button was pressed.
    connect(manager, &PollManager::resultsReady, this, &PollWidget::resultsReady,
            Qt::UniqueConnection);
    waiting = true;
}

void PollWidget::resultsReady(const PollResult& result)
{
    L_DEBUG(QStringLiteral("PollWidget::resultsReady"));
    // Results name their poll: another poll's answer is not for this one.
    if (result.getPollId().isEmpty() || result.getPollId() != poll.getPollId())
        return;
    disconnect(PollManager::getInstance(), &PollManager::resultsReady, this,
               &PollWidget::resultsReady);
    waiting = false;
    PollResultWidget* overlay = new PollResultWidget();
    overlay->setResult(result);
    overlay->show();
    shown = overlay;
    emit resultShown(overlay);
}
