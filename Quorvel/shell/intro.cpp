#include "shell/intro.h"

#include "widgets/flatbutton.h"
#include "widgets/fonts.h"
#include "widgets/keyboardreach.h"

#include <QLabel>
#include <QVBoxLayout>

Intro::Intro(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setAlignment(Qt::AlignCenter);
    layout->addSpacing(50);
    auto* logo = new QLabel(this);
    logo->setPixmap(QPixmap(QStringLiteral(":/Images/QuorvelLogo128.png")));
    layout->addWidget(logo, 0, Qt::AlignCenter);
    layout->addStretch();
    auto* message = new QLabel(tr("Quorvel_Intro_Message"), this);
    message->setWordWrap(true);
    message->setAlignment(Qt::AlignCenter);
    message->setMinimumWidth(300);
    message->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    layout->addWidget(message, 0, Qt::AlignCenter);
    layout->addStretch();
    auto* next = new FlatButton(tr("_IntroButton"), this);
    next->setContentsMargins(5, 2, 5, 2);
    next->setObjectName(QStringLiteral("NextButton"));
    next->setFont(Fonts::getFont(25));
    next->setFixedSize(128, 32);
    layout->addWidget(next, 0, Qt::AlignCenter);
    layout->addSpacing(50);
    KeyboardReach::enable(next);
    start = next;
    connect(next, &FlatButton::onClick, this, &Intro::nextClicked);
}

void Intro::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    start->setFocus(Qt::OtherFocusReason);
}
