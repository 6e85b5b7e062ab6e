#include "screens/poll/createpollwidget.h"

#include "screens/poll/pollchoicewidget.h"
#include "widgets/checkbox.h"
#include "widgets/flatbutton.h"
#include "widgets/fonts.h"
#include "widgets/formerrorline.h"
#include "widgets/radiobutton.h"

#include <QGridLayout>
#include <QLabel>
#include <QScrollArea>
#include <QTextEdit>
#include <QVBoxLayout>

CreatePollWidget* CreatePollWidget::instance = nullptr;

CreatePollWidget* CreatePollWidget::getInstance()
{
    if (!instance)
        instance = new CreatePollWidget();
    return instance;
}

CreatePollWidget::CreatePollWidget()
    : SPopup(nullptr), font(Fonts::getFont(20)), questionLabel(new QLabel), typeLabel(new QLabel),
      choicesLabel(new QLabel), error(new QLabel), single(new RadioButton),
      multiple(new RadioButton), question(new QTextEdit), choicesArea(new QScrollArea),
      board(new QWidget), boardLayout(new QVBoxLayout), addButton(new FlatButton),
      postButtonWidget(new FlatButton), viewResults(new CheckBox)
{
    hide();
    buildForm();
}

void CreatePollWidget::buildForm()
{
    setTitle(tr("_title"));
    grid = new QGridLayout;
    grid->setAlignment(Qt::AlignRight);
    grid->setContentsMargins(5, 5, 5, 5);
    grid->setSpacing(5);

    questionLabel->setText(tr("_pollQuestion"));
    questionLabel->setFont(font);
    questionLabel->setStyleSheet(QStringLiteral("QLabel{background-color:transparent;}"));
    grid->addWidget(questionLabel, 0, 0, Qt::AlignLeft | Qt::AlignTop);
    question->setFont(font);
    question->setMaximumHeight(100);
    question->setAcceptRichText(false);
    grid->addWidget(question, 0, 1, 1, 2);

    typeLabel->setText(tr("_pollType"));
    typeLabel->setFont(font);
    typeLabel->setStyleSheet(QStringLiteral("QLabel{background-color:transparent;}"));
    grid->addWidget(typeLabel, 1, 0, Qt::AlignLeft | Qt::AlignTop);
    single->setText(tr("_singleChoice"));
    single->setFont(font);
    multiple->setText(tr("_multipleChoice"));
    multiple->setFont(font);
    grid->addWidget(single, 1, 1, Qt::AlignLeft);
    grid->addWidget(multiple, 1, 2, Qt::AlignLeft);
    connect(single, &RadioButton::clicked, multiple, &RadioButton::deselect);
    connect(multiple, &RadioButton::clicked, single, &RadioButton::deselect);
    single->setSelected(true);

    choicesLabel->setText(tr("_questionChoices"));
    choicesLabel->setFont(font);
    choicesLabel->setStyleSheet(QStringLiteral("QLabel{background-color:transparent;}"));
    grid->addWidget(choicesLabel, 2, 0, 1, 3, Qt::AlignLeft);

    choicesArea->setMinimumHeight(160);
    choicesArea->setAlignment(Qt::AlignTop);
    choicesArea->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    choicesArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    choicesArea->setFrameShape(QFrame::Box);
    choicesArea->setWidgetResizable(true);
    board->setObjectName(QStringLiteral("CreatePollWidget_ChoicesBoard"));
    board->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    boardLayout->setSpacing(3);
    boardLayout->setContentsMargins(0, 0, 0, 0);
    boardLayout->setAlignment(Qt::AlignTop);
    board->setLayout(boardLayout);
    choicesArea->setWidget(board);
    grid->addWidget(choicesArea, 3, 0, 1, 3, Qt::AlignLeft);
    addChoice();

    addButton->setText(tr("_addChoice"));
    addButton->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    addButton->setTextAlignment(Qt::AlignCenter);
    addButton->setMinimumWidth(280);
    connect(addButton, &FlatButton::onClick, this, &CreatePollWidget::addChoice);
    grid->addWidget(addButton, 4, 0, 1, 3, Qt::AlignLeft);

    viewResults->setText(tr("_viewResults"));
    viewResults->setFont(font);
    viewResults->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    viewResults->setChecked(true);
    grid->addWidget(viewResults, 5, 0, 1, 3, Qt::AlignLeft);

    FormErrorLine::setUp(error);
    grid->addWidget(error, 6, 0, 1, 2, Qt::AlignLeft);

    postButtonWidget->setText(tr("_postPoll"));
    postButtonWidget->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    postButtonWidget->setTextAlignment(Qt::AlignCenter);
    postButtonWidget->setMinimumHeight(30);
    postButtonWidget->setMinimumWidth(50);
    connect(postButtonWidget, &FlatButton::onClick, this, &CreatePollWidget::post);
    grid->addWidget(postButtonWidget, 6, 2, Qt::AlignRight);

    addContentLayout(grid);
    connect(question, &QTextEdit::textChanged, error, &QLabel::hide);
}

QList<PollChoiceWidget*> CreatePollWidget::choices() const
{
    QList<PollChoiceWidget*> list;
    for (int i = 0; i < boardLayout->count(); ++i)
        if (PollChoiceWidget* row =
                qobject_cast<PollChoiceWidget*>(boardLayout->itemAt(i)->widget()))
            list << row;
    return list;
}

void CreatePollWidget::addChoice()
{
    PollChoiceWidget* row = new PollChoiceWidget(nullptr);
    boardLayout->addWidget(row);
    connect(row, &PollChoiceWidget::remove, this, &CreatePollWidget::removeChoice,
            Qt::QueuedConnection);
    connect(row->editor(), &QTextEdit::textChanged, error, &QLabel::hide);
    row->setFocus(Qt::OtherFocusReason);
}

void CreatePollWidget::removeChoice(PollChoiceWidget* pollChoice)
{
    if (!pollChoice || boardLayout->indexOf(pollChoice) < 0)
        return;
    boardLayout->removeWidget(pollChoice);
    disconnect(pollChoice, &PollChoiceWidget::remove, this, &CreatePollWidget::removeChoice);
    delete pollChoice;
}

void CreatePollWidget::clearChoices()
{
    for (PollChoiceWidget* row : choices())
        removeChoice(row);
}

void CreatePollWidget::reset()
{
    question->clear();
    clearChoices();
    addChoice();
    single->setSelected(true);
    multiple->setSelected(false);
    viewResults->setChecked(true);
    error->hide();
}

void CreatePollWidget::start(const QString& channelId)
{
    reset();
    chatId = channelId;
    showPopup();
}

void CreatePollWidget::post()
{
    PollData pollData;
    if (!buildPollData(pollData)) {
        // Nothing written is lost: the form stays open and says what is missing.
        error->setText(tr("_invalidPoll"));
        error->show();
        return;
    }
    emit postPoll(chatId, pollData);
    startClose();
}

bool CreatePollWidget::buildPollData(PollData& pollData)
{
    const QString text = question->toPlainText();
    if (text.isEmpty())
        return false;
    pollData.setQuestion(text);
    pollData.setEnable(true);
    pollData.setHaveCommentBox(false);
    pollData.setCommentBoxCharLimit(0);
    pollData.setPollType(single->isSelected() ? PollData::Radio : PollData::Checkbox);
    const QList<PollChoiceWidget*> rows = choices();
    bool any = false;
    for (int i = 0; i < rows.size(); ++i) {
        PollOption option;
        option.setOptionId(QString::number(i + 1));
        if (rows.at(i)->getPollOption(option)) {
            pollData.addOption(option);
            any = true;
        }
    }
    if (!any)
        return false;
    pollData.setChannelId(chatId);
    pollData.setViewResults(viewResults->isChecked());
    return true;
}
