#include "chat/replymessagewidget.h"

#include "chat/messagesummary.h"
#include "widgets/biditext.h"
#include "widgets/elidedlabel.h"
#include "widgets/flatbutton.h"
#include "widgets/fonts.h"
#include "widgets/interfacescale.h"
#include "widgets/phonetext.h"
#include "widgets/stylesheetpaint.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

ReplyMessageWidget::ReplyMessageWidget(QWidget* parent)
    : QWidget(parent), iconLabel(new QLabel(this)), closeButton(new FlatButton(this)),
      senderLabel(new QLabel(this)), textLabel(new ElidedLabel(this))
{
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    row->addSpacerItem(new QSpacerItem(10, 1, QSizePolicy::Fixed, QSizePolicy::Fixed));
    row->addWidget(iconLabel);
    row->addSpacerItem(new QSpacerItem(20, 1, QSizePolicy::Fixed, QSizePolicy::Fixed));
    auto* column = new QVBoxLayout;
    column->addWidget(senderLabel, 0, Qt::AlignVCenter);
    column->addWidget(textLabel, 0, Qt::AlignVCenter);
    row->addLayout(column, 1);
    row->addSpacerItem(new QSpacerItem(20, 1, QSizePolicy::Fixed, QSizePolicy::Fixed));
    row->addWidget(closeButton);
    row->addSpacerItem(new QSpacerItem(5, 1, QSizePolicy::Fixed, QSizePolicy::Fixed));

    for (QLabel* label : {senderLabel, static_cast<QLabel*>(textLabel)}) {
        label->setTextFormat(Qt::PlainText);
        label->setFont(Fonts::getFont(baseFontSize));
        label->setAlignment(Qt::AlignRight | Qt::AlignAbsolute);
    }
    senderLabel->setObjectName(QStringLiteral("MessageSenderColor"));

    const int icon = scaleValue(32);
    iconLabel->setPixmap(QPixmap(QStringLiteral(":/Images/ic_reply.png"))
                             .scaled(icon, icon, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    iconLabel->setFixedSize(scaleSize(QSize(32, 32)));
    const int close = scaleValue(16);
    closeButton->setPixmap(
        QPixmap(QStringLiteral(":/Images/ic_close.png"))
            .scaled(close, close, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    closeButton->setObjectName(QStringLiteral("ReplyMessageWidgetCloseIcon"));
    closeButton->setAlignment(Qt::AlignCenter);
    closeButton->setFixedSize(scaleSize(QSize(32, 32)));
    closeButton->setStyleSheet(QStringLiteral("border-radius:%1px;").arg(scaleValue(32) / 2));
    connect(closeButton, &FlatButton::onClick, this, &ReplyMessageWidget::closed);
}

void ReplyMessageWidget::setMessage(const Message& mess, const QString& id)
{
    message = mess;
    messageId = id;
    const QString body = MessageSummary::plainBody(mess);
    // A kind without a word clears the line, so no earlier reply's text stays.
    const char* key = MessageSummary::kindKey(mess, "_Poll");
    if (!body.isEmpty())
        textLabel->setText(body);
    else
        textLabel->setText(key ? MessageSummary::kindText(mess, tr(key)) : QString());
}

void ReplyMessageWidget::setSenderName(const QString& name)
{
    senderLabel->setText(PhoneText::nameOr(name, QString()));
}

QString ReplyMessageWidget::senderText() const
{
    return senderLabel->text();
}

QString ReplyMessageWidget::summaryText() const
{
    return textLabel->fullText();
}

QString ReplyMessageWidget::shownSummary() const
{
    return textLabel->text();
}

void ReplyMessageWidget::paintEvent(QPaintEvent*)
{
    StyleSheetPaint::plain(this);
}
