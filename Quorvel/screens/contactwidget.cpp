#include "screens/contactwidget.h"

#include "foundation/simpleqtlogger.h"
#include "widgets/avatarviewer.h"
#include "widgets/biditext.h"
#include "widgets/fonts.h"
#include "widgets/interfacescale.h"
#include "widgets/phonetext.h"
#include "widgets/stylesheetpaint.h"

#include <QBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QStyle>

ContactWidget::ContactWidget(QWidget* parent)
    : QWidget(parent), avatar(new AvatarViewer(this)), name(new QLabel(this)),
      number(new QLabel(this))
{
    const QSize avatarSize(listAvatarSize, listAvatarSize);
    avatar->setMaximumSize(avatarSize);
    avatar->setAvatarSize(avatarSize);
    avatar->setClickable(false);
    for (QLabel* label : {name, number}) {
        // Names come from other people: shown as they are, never as markup.
        label->setTextFormat(Qt::PlainText);
        label->setFont(Fonts::getFont(baseFontSize));
        label->setAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter);
        label->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Maximum);
    }
    auto* row = new QHBoxLayout(this);
    row->setMargin(0);
    row->setSpacing(0);
    row->setContentsMargins(10, 0, 10, 0);
    row->setAlignment(Qt::AlignRight | Qt::AlignAbsolute);
    auto* avatarColumn = new QVBoxLayout;
    avatarColumn->addWidget(avatar);
    auto* textColumn = new QVBoxLayout;
    textColumn->setContentsMargins(0, 0, 10, 0);
    textColumn->addWidget(name);
    textColumn->addWidget(number);
    row->addLayout(avatarColumn);
    row->addLayout(textColumn);
    connect(avatar, &AvatarViewer::avatarDownloadFinished, this,
            &ContactWidget::avatarDownloadFinished);
    restyle(QStringLiteral("ContactWidgetNormal"));
}

void ContactWidget::setContact(const Contact& value)
{
    contact = value;
    name->setText(BidiText::visibleControls(value.getDisplayName()));
    number->setText(PhoneText::number(value.getNumber()));
    avatar->setAvatarType(AvatarViewer::Person);
    avatar->setAvatarId(value.getMemberID());
    if (!value.getAvatarThumbnailUrl().isEmpty())
        avatar->downloadAvatar(value.getAvatarThumbnailUrl());
}

QString ContactWidget::getName() const
{
    return name->text();
}

bool ContactWidget::containsText(const QString& text) const
{
    return name->text().contains(text, Qt::CaseInsensitive) || number->text().contains(text);
}

void ContactWidget::select()
{
    restyle(QStringLiteral("ContactWidgetSelected"));
}

void ContactWidget::deselect()
{
    restyle(QStringLiteral("ContactWidgetNormal"));
}

void ContactWidget::avatarDownloadFinished(const QImage& avThImage)
{
    contact.setAvThumbnail(avThImage);
}

void ContactWidget::mouseReleaseEvent(QMouseEvent* event)
{
    L_DEBUG(QStringLiteral("ContactWidget::mouseReleaseEvent | ") +
            (contact.getAvThumbnail().isNull() ? QStringLiteral("true") : QStringLiteral("false")));
    if (event->button() != Qt::LeftButton)
        return;
    emit contactClicked(contact);
    select();
}

void ContactWidget::paintEvent(QPaintEvent*)
{
    StyleSheetPaint::plain(this);
}

void ContactWidget::restyle(const QString& objectName)
{
    setObjectName(objectName);
    // A row not yet polished takes the sheet when it is first shown.
    if (!testAttribute(Qt::WA_WState_Polished))
        return;
    setStyleSheet(QString());
    style()->unpolish(this);
    style()->polish(this);
    update();
}
