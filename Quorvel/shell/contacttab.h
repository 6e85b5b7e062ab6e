#ifndef CONTACTTAB_H
#define CONTACTTAB_H

#include "Managers/Contact/contact.h"
#include "widgets/customscrollarea.h"

#include <QHash>
#include <QMap>

class ContactWidget;
class QLabel;
class QVBoxLayout;

// The contact list of the side panel, in alphabetical order of the names.
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
    QStringList rowNames() const;
    ContactWidget* row(const QString& number) const { return rows.value(number); }
    bool placeholderShown() const;

signals:
    void contactClicked(Contact c);

public slots:
    void contactWidgetClicked(Contact c);

private:
    void placeContactWidget(ContactWidget* widget);

    QMap<QString, ContactWidget*> rows;
    ContactWidget* selected = nullptr;
    int shown = 0;
    QWidget* contents;
    QVBoxLayout* layout;
    QLabel* placeholder;
};

#endif // CONTACTTAB_H
