#include "widgets/popupwarning.h"

#include "foundation/simpleqtlogger.h"
#include "widgets/flatbutton.h"
#include "widgets/fonts.h"
#include "widgets/interfacescale.h"
#include "widgets/overlaystack.h"
#include "widgets/popupmanager.h"
#include "widgets/stylesheetpaint.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSpacerItem>
#include <QVBoxLayout>

PopUpWarning* PopUpWarning::instance = nullptr;

PopUpWarning::PopUpWarning()
    : QWidget(nullptr), message(new QLabel(this)), yes_(new FlatButton(tr("_YesString"), this)),
      no_(new FlatButton(tr("_NoString"), this)),
      continue_(new FlatButton(tr("_ContinueString"), this))
{
    const QFont font = Fonts::getFont(baseFontSize);
    message->setWordWrap(true);
    message->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    message->setTextFormat(Qt::PlainText);
    message->setFont(font);
    for (FlatButton* button : {yes_, no_, continue_}) {
        button->setFont(font);
        button->setContentsMargins(10, 1, 10, 1);
    }
    connect(yes_, &FlatButton::onClick, this, &PopUpWarning::yesButtonPressed);
    connect(no_, &FlatButton::onClick, this, &PopUpWarning::noButtonPressed);
    connect(continue_, &FlatButton::onClick, this, &PopUpWarning::continueButtonPressed);
    // Escape answers a question with No; a notice waits for its Continue.
    OverlayStack::instance()->track(this, [this] {
        if (!no_->isHidden())
            noButtonPressed();
    });

    auto* messageRow = new QHBoxLayout;
    messageRow->addWidget(message);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addWidget(yes_);
    buttonRow->addWidget(no_);
    buttonRow->addWidget(continue_);
    buttonRow->setAlignment(Qt::AlignLeft | Qt::AlignAbsolute);
    auto* column = new QVBoxLayout(this);
    column->addLayout(messageRow);
    column->addSpacerItem(new QSpacerItem(1, 1, QSizePolicy::Fixed, QSizePolicy::Expanding));
    column->addLayout(buttonRow);
}

PopUpWarning* PopUpWarning::getInstance()
{
    if (!instance)
        instance = new PopUpWarning();
    return instance;
}

void PopUpWarning::deleteInstance()
{
    PopUpWarning* old = instance;
    delete instance;
    instance = nullptr;
    L_DEBUG(QStringLiteral("PopUpWarning::deleteInstance() | ") +
            QString::number(reinterpret_cast<quintptr>(old), 16));
}

void PopUpWarning::showWarning(const QString& text, const QString& applicator, bool overMainWindow,
                               int buttons)
{
    PopUpWarning* warning = getInstance();
    warning->setMinimumWidth(300);
    warning->message->setText(text);
    warning->applicator = applicator;
    // Sized before it is hosted, so the host centres it at its real size.
    warning->setButtons(buttons);
    warning->adjustSize();
    if (overMainWindow)
        PopupManager::showWindow(warning, false);
}

void PopUpWarning::setButtons(int mode)
{
    if (mode != 0 && mode != 1)
        return;
    yes_->setVisible(mode == 0);
    no_->setVisible(mode == 0);
    continue_->setVisible(mode == 1);
}

void PopUpWarning::yesButtonPressed()
{
    hide();
    emit popUpresponse(yes, applicator);
}

void PopUpWarning::continueButtonPressed()
{
    yesButtonPressed();
}

void PopUpWarning::noButtonPressed()
{
    hide();
    emit popUpresponse(no, applicator);
}

void PopUpWarning::paintEvent(QPaintEvent*)
{
    StyleSheetPaint::plain(this);
}
