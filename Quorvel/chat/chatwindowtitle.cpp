#include "chat/chatwindowtitle.h"

#include "Managers/Contact/contact.h"
#include "model/channelinfo.h"
#include "model/groupinfo.h"
#include "widgets/biditext.h"
#include "widgets/fonts.h"
#include "widgets/interfacescale.h"
#include "widgets/phonetext.h"
#include "widgets/titleshadow.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QVBoxLayout>

ChatWindowTitle::ChatWindowTitle(QWidget* parent)
    : QFrame(parent), titleLabel(new QLabel(this)), subtitleLabel(new QLabel(this))
{
    setFixedHeight(scaleValue(50));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(scaleValue(5), scaleValue(5), scaleValue(5), scaleValue(5));
    layout->setSpacing(0);
    auto* column = new QVBoxLayout;
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(titleLabel);
    column->addWidget(subtitleLabel);
    column->addItem(new QSpacerItem(1, 1, QSizePolicy::Preferred, QSizePolicy::Expanding));
    layout->addLayout(column);
    layout->addItem(new QSpacerItem(1, 1, QSizePolicy::Expanding, QSizePolicy::Preferred));

    // Names come from peers: shown as text, never as markup.
    titleLabel->setTextFormat(Qt::PlainText);
    subtitleLabel->setTextFormat(Qt::PlainText);
    titleLabel->setObjectName(QStringLiteral("ChatWindowTitleMain"));
    subtitleLabel->setObjectName(QStringLiteral("ChatWindowTitleSub"));
    titleLabel->setAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignTop);
    subtitleLabel->setAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignBottom);
    titleLabel->setFont(Fonts::getFont(baseFontSize));
    subtitleLabel->setFont(Fonts::getFont(baseFontSize));

    // The shadow on what lies below; a graphics effect here would render
    // the title again whenever the board under its shadow repaints.
    if (parentWidget())
        new TitleShadow(this);
}

void ChatWindowTitle::setContact(const Contact& contact)
{
    if (contact.getNumber() != contactNumber) {
        contactNumber = contact.getNumber();
        shownNumber.clear();
        seenText.clear();
    }
    titleLabel->setText(PhoneText::name(contact));
    if (contact.getIsMyContact())
        shownNumber = PhoneText::number(contact.getNumber());
    showContactLine();
}

void ChatWindowTitle::setLastSeen(const QString& number, const QString& text)
{
    if (number.isEmpty() || number != contactNumber)
        return;
    seenText = text;
    showContactLine();
}

void ChatWindowTitle::showContactLine()
{
    // Until something is known the line keeps what it showed.
    if (shownNumber.isEmpty() && seenText.isEmpty())
        return;
    QStringList parts;
    if (!seenText.isEmpty())
        parts << seenText;
    if (!shownNumber.isEmpty())
        parts << shownNumber;
    subtitleLabel->setText(parts.join(QStringLiteral("  \u00b7  ")));
}

void ChatWindowTitle::setGroupInfo(const GroupInfo& info)
{
    contactNumber.clear();
    titleLabel->setText(BidiText::visibleControls(info.getName()));
    subtitleLabel->setText(memberCountText(info.getMemberCount()));
}

void ChatWindowTitle::setChannelInfo(const ChannelInfo& info)
{
    contactNumber.clear();
    titleLabel->setText(BidiText::visibleControls(info.getName()));
    subtitleLabel->setText(memberCountText(int(info.getMembersCount())));
}

QString ChatWindowTitle::memberCountText(int count) const
{
    return QString::number(count, 10) + QLatin1Char(' ') + tr("_members");
}

QString ChatWindowTitle::titleText() const
{
    return titleLabel->text();
}

QString ChatWindowTitle::subtitleText() const
{
    return subtitleLabel->text();
}

void ChatWindowTitle::enterEvent(QEvent* event)
{
    QFrame::enterEvent(event);
    QGuiApplication::setOverrideCursor(Qt::PointingHandCursor);
}

void ChatWindowTitle::leaveEvent(QEvent* event)
{
    QFrame::leaveEvent(event);
    QGuiApplication::restoreOverrideCursor();
}

void ChatWindowTitle::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    emit clicked();
    QGuiApplication::restoreOverrideCursor();
}
