#include "shell/contacttab.h"

#include "foundation/simpleqtlogger.h"
#include "screens/contactwidget.h"
#include "widgets/interfacescale.h"
#include "widgets/listarea.h"

#include <QLabel>
#include <QVBoxLayout>

ContactTab::ContactTab(QWidget* parent)
    : CustomScrollArea(parent), contents(new QWidget), placeholder(new QLabel(this)),
      layout(setUpListArea(this, contents, placeholder,
                           QStringLiteral("ContactTabContactsListContents"),
                           tr("No contact find."))),
      deferred(layout, [this](const Contact& contact) { placeContact(contact); })
{
}

void ContactTab::addContact(const Contact& contact)
{
    deferred.finish();
    placeContact(contact);
}

ContactWidget* ContactTab::row(const QString& number)
{
    deferred.finish();
    return rows.value(number);
}

void ContactTab::placeContact(const Contact& contact)
{
    L_DEBUG(QStringLiteral("ContactTab::addContact | ") + contact.getNumber());
    ContactWidget* widget = rows.value(contact.getNumber());
    if (!widget) {
        widget = new ContactWidget(contents);
        widget->setFixedHeight(listRowHeight);
        widget->setContact(contact);
        connect(widget, &ContactWidget::contactClicked, this, &ContactTab::contactWidgetClicked);
        rows.insert(contact.getNumber(), widget);
        widget->show();
        ++shown;
    } else {
        widget->setContact(contact);
    }
    placeContactWidget(widget);
}

void ContactTab::placeContactWidget(ContactWidget* widget)
{
    // Take the row out first, so that a renamed contact moves to its place
    // in whichever direction its name moved.
    layout->removeWidget(widget);
    const QString name = widget->getName().toLower();
    // The rows stay sorted: the first row whose name is not before this one.
    int first = 0;
    int count = layout->count();
    while (count > 0) {
        const int step = count / 2;
        auto* other = qobject_cast<ContactWidget*>(layout->itemAt(first + step)->widget());
        if (!other || other->getName().toLower() < name) {
            first += step + 1;
            count -= step + 1;
        } else {
            count = step;
        }
    }
    layout->insertWidget(first, widget);
}

void ContactTab::setContactList(const QHash<QString, Contact>& contacts)
{
    L_DEBUG(QStringLiteral("ContactTab::setContactList |") +
            QStringList(contacts.keys()).join(','));
    QList<Contact> sorted = contacts.values();
    std::stable_sort(sorted.begin(), sorted.end(), [](const Contact& a, const Contact& b) {
        return a.getDisplayName().toLower() < b.getDisplayName().toLower();
    });
    if (isVisible())
        deferred.start(sorted, screenful());
    else
        deferred.keep(sorted);
}

int ContactTab::screenful() const
{
    return viewport()->height() / qMax(1, listRowHeight) + 2;
}

void ContactTab::showEvent(QShowEvent* event)
{
    CustomScrollArea::showEvent(event);
    deferred.resume(screenful());
}

void ContactTab::removeContact(const QString& number)
{
    deferred.finish();
    ContactWidget* widget = rows.value(number);
    if (!widget)
        return;
    if (selected == widget)
        selected = nullptr;
    if (!widget->isHidden())
        --shown;
    L_DEBUG(QStringLiteral("ContactTab::removeContact | ") + number);
    layout->removeWidget(widget);
    rows.remove(number);
    delete widget;
}

void ContactTab::searchString(const QString& str)
{
    deferred.finish();
    L_DEBUG(QStringLiteral("ContactTab::searchString str|") + str);
    if (str.isEmpty()) {
        if (shown != layout->count()) {
            shown = layout->count();
            for (ContactWidget* widget : qAsConst(rows))
                widget->show();
        }
    } else {
        shown = 0;
        for (ContactWidget* widget : qAsConst(rows)) {
            const bool match = widget->containsText(str);
            widget->setVisible(match);
            shown += match ? 1 : 0;
        }
    }
    placeholder->setVisible(shown == 0);
}

QStringList ContactTab::rowNames()
{
    deferred.finish();
    QStringList names;
    for (int i = 0; i < layout->count(); ++i) {
        if (auto* widget = qobject_cast<ContactWidget*>(layout->itemAt(i)->widget()))
            names << widget->getName();
    }
    return names;
}

bool ContactTab::placeholderShown()
{
    deferred.finish();
    return !placeholder->isHidden();
}

void ContactTab::contactWidgetClicked(Contact c)
{
    emit contactClicked(c);
    if (selected)
        selected->deselect();
    selected = rows.value(c.getNumber());
}
