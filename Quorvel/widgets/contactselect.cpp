#include "widgets/contactselect.h"

#include "widgets/flatbutton.h"
#include "widgets/icontact.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QScrollArea>
#include <QVBoxLayout>

ContactSelect::ContactSelect(QWidget* parent)
    : QWidget(parent), counter(new QLabel(this)), invite(new FlatButton(tr("Invite"), this)),
      ignore(new FlatButton(tr("Ignore"), this))
{
    setObjectName(QStringLiteral("ContactSelect"));
    counter->setTextFormat(Qt::PlainText);
    auto* scroll = new QScrollArea(this);
    auto* contents = new QWidget;
    list = new QVBoxLayout(contents);
    list->setAlignment(Qt::AlignTop);
    list->setSpacing(0);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setWidget(contents);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(invite);
    buttons->addWidget(ignore);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(counter, 0, Qt::AlignHCenter);
    layout->addWidget(scroll, 1);
    layout->addLayout(buttons);
    connect(invite, &FlatButton::onClick, this, &ContactSelect::inviteClicked);
    connect(ignore, &FlatButton::onClick, this, &ContactSelect::ignorClicked);
}

void ContactSelect::setContacts(const QList<Contact>& contacts)
{
    for (const Contact& contact : contacts) {
        if (rows.contains(contact.getNumber()))
            continue;
        auto* item = new IContact(contact, this);
        connect(item, &IContact::select, this, &ContactSelect::iContactSelect);
        connect(item, &IContact::unSelect, this, &ContactSelect::iContactUnselect);
        list->addWidget(item);
        rows.insert(contact.getNumber(), item);
    }
}

QString ContactSelect::counterText() const
{
    return counter->text();
}

void ContactSelect::showCount()
{
    counter->setText(QStringLiteral("%1/%2").arg(limit).arg(selectedCount));
}

void ContactSelect::iContactSelect(QString id)
{
    if (selected.contains(id))
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
    for (IContact* item : qAsConst(rows)) {
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
    const QList<QString> ids = selected;
    emit inviteList(ids);
    reset();
    hide();
}

void ContactSelect::ignorClicked()
{
    emit closeWindow();
    reset();
    hide();
}

void ContactSelect::reset()
{
    selected.clear();
    counter->clear();
    for (IContact* item : qAsConst(rows))
        item->reset();
    limit = 0;
    selectedCount = 0;
}
