#include "chat/replymessageoutline.h"

#include "chat/messagesummary.h"
#include "model/message.h"
#include "widgets/biditext.h"
#include "widgets/fonts.h"
#include "widgets/interfacescale.h"
#include "widgets/phonetext.h"
#include "widgets/stylesheetpaint.h"

#include <QLabel>
#include <QMouseEvent>
#include <QVBoxLayout>

ReplyMessageOutLine::ReplyMessageOutLine(QWidget* parent)
    : QWidget(parent), senderLabel(new QLabel(this)), textLabel(new QLabel(this))
{
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->setAlignment(Qt::AlignRight | Qt::AlignAbsolute);
    for (QLabel* label : {senderLabel, textLabel}) {
        label->setTextFormat(Qt::PlainText);
        label->setFont(Fonts::getFont(baseFontSize));
        label->setContentsMargins(0, 0, 5, 0);
        label->setTextInteractionFlags(Qt::NoTextInteraction);
        column->addWidget(label, 0, Qt::AlignRight | Qt::AlignAbsolute);
    }
    setStyleByOther();
}

void ReplyMessageOutLine::setMessage(const Message& message)
{
    repliedId = message.getMessageId();
    const char* key = MessageSummary::kindKey(message, "_MsgMinorType_Poll");
    const QString prefix = key ? MessageSummary::kindText(message, tr(key)) : QString();
    fullText = prefix + MessageSummary::plainBody(message);
    showText();
}

void ReplyMessageOutLine::fitTo(int width)
{
    setMaximumWidth(width);
    showText();
}

void ReplyMessageOutLine::showText()
{
    // The start of the quoted message, cut at its end to fit.
    const int room =
        maximumWidth() - textLabel->contentsMargins().left() - textLabel->contentsMargins().right();
    textLabel->setText(textLabel->fontMetrics().elidedText(fullText, Qt::ElideRight, room));
    textLabel->adjustSize();
}

void ReplyMessageOutLine::setSenderName(const QString& name)
{
    senderLabel->setText(PhoneText::nameOr(name, QString()));
    senderLabel->adjustSize();
}

void ReplyMessageOutLine::setStyleByMe()
{
    restyle(QStringLiteral("Me"), QStringLiteral("ReplyMessageOutLineSenderMe"),
            QStringLiteral("ReplyMessageOutLineMessageMe"));
}

void ReplyMessageOutLine::setStyleByOther()
{
    restyle(QString(), QStringLiteral("ReplyMessageOutLineSenderOther"),
            QStringLiteral("ReplyMessageOutLineMessageOther"));
}

QString ReplyMessageOutLine::senderText() const
{
    return senderLabel->text();
}

QString ReplyMessageOutLine::summaryText() const
{
    return fullText;
}

QString ReplyMessageOutLine::shownSummary() const
{
    return textLabel->text();
}

void ReplyMessageOutLine::restyle(const QString& outline, const QString& sender,
                                  const QString& text)
{
    setObjectName(outline);
    senderLabel->setObjectName(sender);
    textLabel->setObjectName(text);
    setStyleSheet(QString());
    senderLabel->setStyleSheet(QString());
    textLabel->setStyleSheet(QString());
}

void ReplyMessageOutLine::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        emit clicked(repliedId);
}

void ReplyMessageOutLine::enterEvent(QEvent*)
{
    setCursor(Qt::PointingHandCursor);
}

void ReplyMessageOutLine::leaveEvent(QEvent*)
{
    setCursor(Qt::ArrowCursor);
}

void ReplyMessageOutLine::paintEvent(QPaintEvent*)
{
    StyleSheetPaint::plain(this);
}
