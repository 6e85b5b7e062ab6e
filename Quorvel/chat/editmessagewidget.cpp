#include "chat/editmessagewidget.h"

#include "chat/messagesummary.h"
#include "widgets/flatbutton.h"
#include "widgets/fonts.h"
#include "widgets/stylesheetpaint.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

EditMessageWidget::EditMessageWidget(QWidget* parent)
    : QWidget(parent), iconLabel(new QLabel(this)), closeButton(new FlatButton(this)),
      titleLabel(new QLabel(this)), textLabel(new QLabel(this))
{
    // Plain pixels: this bar does not follow the interface scale.
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    row->addSpacerItem(new QSpacerItem(10, 1, QSizePolicy::Fixed, QSizePolicy::Fixed));
    iconLabel->setPixmap(QPixmap(QStringLiteral(":/Images/ic_edit_red.png"))
                             .scaled(32, 32, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    iconLabel->setFixedSize(32, 32);
    row->addWidget(iconLabel);
    row->addSpacerItem(new QSpacerItem(10, 1, QSizePolicy::Fixed, QSizePolicy::Fixed));
    auto* column = new QVBoxLayout;
    column->addWidget(titleLabel);
    column->addWidget(textLabel);
    row->addLayout(column, 1);
    titleLabel->setObjectName(QStringLiteral("MessageSenderColor"));
    titleLabel->setText(tr("_EditMessage"));
    for (QLabel* label : {titleLabel, textLabel}) {
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignRight | Qt::AlignAbsolute);
        label->setFont(Fonts::getFont(20));
    }
    closeButton->setPixmap(QPixmap(QStringLiteral(":/Images/ic_close.png"))
                               .scaled(16, 16, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    closeButton->setObjectName(QStringLiteral("ReplyMessageWidgetCloseIcon"));
    closeButton->setAlignment(Qt::AlignCenter);
    closeButton->setFixedSize(32, 32);
    row->addWidget(closeButton);
    row->addSpacerItem(new QSpacerItem(10, 1, QSizePolicy::Fixed, QSizePolicy::Fixed));
    connect(closeButton, &FlatButton::onClick, this, &EditMessageWidget::closed);
}

void EditMessageWidget::setMessage(const Message& mess)
{
    message = mess;
    textLabel->setText(MessageSummary::plainBody(mess));
}

QString EditMessageWidget::summaryText() const
{
    return textLabel->text();
}

void EditMessageWidget::paintEvent(QPaintEvent*)
{
    StyleSheetPaint::plain(this);
}
