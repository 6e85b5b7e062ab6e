#ifndef CONTACTTAB_H
#define CONTACTTAB_H

#include "Managers/Contact/contact.h"
#include "widgets/customscrollarea.h"
#include "widgets/deferredrows.h"

#include <QHash>
#include <QMap>

class ContactWidget;
class QLabel;
class QVBoxLayout;

// The contact list of the side panel, in alphabetical order of the names.
// A whole list shows its first screenful at once and builds the other rows
// while the program is idle; every other operation first builds what is left.
class ContactTab : public CustomScrollArea
{
    Q_OBJECT
public:
    explicit ContactTab(QWidget* parent = nullptr);

    void addContact(const Contact& contact);
    void setContactList(const QHash<QString, Contact>& contacts);
    void removeContact(const QString& number);
    void searchString(const QString& str);

    // The shown order of the rows' names, top first.
    QStringList rowNames();
    ContactWidget* row(const QString& number);
    bool placeholderShown();

signals:
    void contactClicked(Contact c);

public slots:
    void contactWidgetClicked(Contact c);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void placeContactWidget(ContactWidget* widget);
    void placeContact(const Contact& contact);
    // How many rows fill the list's height.
    int screenful() const;

    QMap<QString, ContactWidget*> rows;
    ContactWidget* selected = nullptr;
    int shown = 0;
    QWidget* contents;
    QLabel* placeholder;
    QVBoxLayout* layout;
    DeferredRows<Contact> deferred;
};

#endif // CONTACTTAB_H
