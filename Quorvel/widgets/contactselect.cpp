#include "widgets/contactselect.h"

#include "widgets/flatbutton.h"
#include "widgets/fonts.h"
#include "widgets/icontact.h"
#include "widgets/interfacescale.h"
#include "widgets/searchbar.h"
#include "widgets/stylesheetpaint.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QSet>
#include <QVBoxLayout>

ContactSelect::ContactSelect(QWidget* parent)
    : QWidget(parent), title(new QLabel(this)), counter(new QLabel(this)),
      empty(new QLabel(tr("_NoContactToChoose"), this)), search(new SearchBar(this)),
      invite(new FlatButton(tr("Invite"), this)), ignore(new FlatButton(tr("Ignore"), this))
{
    qRegisterMetaType<QList<Contact>>();
    setObjectName(QStringLiteral("ContactSelect"));
    setFixedSize(scaleSize(QSize(360, 480)));
    title->setTextFormat(Qt::PlainText);
    title->setFont(Fonts::getFont(baseFontSize + 2));
    title->hide();
    counter->setTextFormat(Qt::PlainText);
    empty->setAlignment(Qt::AlignCenter);
    empty->setWordWrap(true);
    empty->hide();
    auto* scroll = new QScrollArea(this);
    auto* contents = new QWidget;
    list = new QVBoxLayout(contents);
    list->setAlignment(Qt::AlignTop);
    list->setSpacing(0);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setWidget(contents);
    auto* buttons = new QHBoxLayout;
    for (FlatButton* button : {invite, ignore}) {
        button->setObjectName(QStringLiteral("AddNewContactButton"));
        button->setAlignment(Qt::AlignCenter);
        button->setMinimumHeight(scaleValue(32));
        buttons->addWidget(button);
    }
    invite->setEnabled(false);
    auto* heading = new QHBoxLayout;
    heading->addWidget(title, 1);
    heading->addWidget(counter);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(heading);
    layout->addWidget(search);
    layout->addWidget(empty);
    layout->addWidget(scroll, 1);
    layout->addLayout(buttons);
    connect(search, &SearchBar::textChanged, this, &ContactSelect::searchString);
    connect(invite, &FlatButton::onClick, this, &ContactSelect::inviteClicked);
    connect(ignore, &FlatButton::onClick, this, &ContactSelect::ignorClicked);
}

void ContactSelect::setTitle(const QString& text)
{
    title->setText(text);
    title->setVisible(!text.isEmpty());
}

void ContactSelect::setConfirmText(const QString& text)
{
    invite->setText(text.isEmpty() ? tr("Invite") : text);
}

void ContactSelect::setEmptyText(const QString& text)
{
    empty->setText(text.isEmpty() ? tr("_NoContactToChoose") : text);
}

QString ContactSelect::titleText() const
{
    return title->text();
}

void ContactSelect::setContacts(const QList<Contact>& contacts)
{
    for (IContact* item : qAsConst(order)) {
        list->removeWidget(item);
        item->hide();
        item->deleteLater();
    }
    rows.clear();
    order.clear();
    selected.clear();
    selectedCount = 0;
    for (const Contact& contact : contacts) {
        if (contact.getNumber().isEmpty() || rows.contains(contact.getNumber()))
            continue;
        auto* item = new IContact(contact, this);
        connect(item, &IContact::select, this, &ContactSelect::iContactSelect);
        connect(item, &IContact::unSelect, this, &ContactSelect::iContactUnselect);
        list->addWidget(item);
        rows.insert(contact.getNumber(), item);
        order << item;
    }
    empty->setVisible(order.isEmpty());
    search->setVisible(!order.isEmpty());
    searchString(search->getInput()->text());
    showCount();
}

QList<Contact> ContactSelect::without(const QList<Contact>& all, const QStringList& excluded)
{
    const QSet<QString> skip(excluded.cbegin(), excluded.cend());
    QList<Contact> left;
    for (const Contact& contact : all) {
        if (!skip.contains(contact.getNumber()))
            left << contact;
    }
    return left;
}

void ContactSelect::setLimit(int value)
{
    limit = value;
    showCount();
}

QList<Contact> ContactSelect::selectedContacts() const
{
    QList<Contact> chosen;
    for (const QString& id : selected) {
        if (IContact* item = rows.value(id))
            chosen << item->getContact();
    }
    return chosen;
}

QList<IContact*> ContactSelect::visibleRows() const
{
    QList<IContact*> shown;
    for (IContact* item : order) {
        if (!item->isHidden())
            shown << item;
    }
    return shown;
}

QString ContactSelect::counterText() const
{
    return counter->text();
}

void ContactSelect::showCount()
{
    invite->setEnabled(selectedCount > 0);
    if (selectedCount == 0 && limit == 0)
        counter->clear();
    else if (limit > 0)
        counter->setText(QStringLiteral("%1/%2").arg(limit).arg(selectedCount));
    else
        counter->setText(QString::number(selectedCount));
}

void ContactSelect::iContactSelect(QString id)
{
    if (selected.contains(id) || !rows.contains(id))
        return;
    selected.append(id);
    ++selectedCount;
    showCount();
}

void ContactSelect::iContactUnselect(QString id)
{
    if (!selected.removeOne(id))
        return;
    selectedCount = qMax(0, selectedCount - 1);
    showCount();
}

void ContactSelect::searchString(QString str)
{
    for (IContact* item : qAsConst(order)) {
        if (item->isFiltered())
            continue;
        const Contact c = item->getContact();
        bool match = false;
        for (const QString& field :
             {c.getFirstName(), c.getLastName(), c.getNickName(), c.getNumber()})
            match = match || field.contains(str, Qt::CaseInsensitive);
        item->setVisible(match);
    }
}

void ContactSelect::inviteClicked()
{
    if (selected.isEmpty())
        return;
    const QList<QString> ids = selected;
    const QList<Contact> chosen = selectedContacts();
    reset();
    hide();
    emit inviteList(ids);
    emit contactsChosen(chosen);
}

void ContactSelect::ignorClicked()
{
    reset();
    hide();
    emit closeWindow();
}

void ContactSelect::reset()
{
    selected.clear();
    for (IContact* item : qAsConst(order))
        item->reset();
    selectedCount = 0;
    limit = 0;
    search->clear();
    showCount();
}

void ContactSelect::paintEvent(QPaintEvent*)
{
    StyleSheetPaint::plain(this);
}
