#ifndef CONTACTSELECT_H
#define CONTACTSELECT_H

#include "Managers/Contact/contact.h"

#include <QHash>
#include <QList>
#include <QWidget>

class FlatButton;
class IContact;
class QLabel;
class QVBoxLayout;
class SearchBar;

// Picks several contacts at once: a title, a search, a counter and Invite or
// Ignore. It lists exactly the contacts it is given (the caller leaves out
// whoever may not be chosen, such as a group's current members) and hands
// back the chosen ones, as numbers and as whole contacts.
class ContactSelect : public QWidget
{
    Q_OBJECT
public:
    explicit ContactSelect(QWidget* parent = nullptr);

    void setTitle(const QString& text);
    // The confirming button's words ("Invite" unless told otherwise).
    void setConfirmText(const QString& text);
    // What it says when nobody is left to choose ("everyone you know is
    // already here" unless told otherwise).
    void setEmptyText(const QString& text);
    // Replaces the list: each number once, in the order given. Rows that
    // were ticked before are unticked.
    void setContacts(const QList<Contact>& contacts);
    // The contacts of `all` whose numbers are not in `excluded`.
    static QList<Contact> without(const QList<Contact>& all, const QStringList& excluded);
    // The number shown before the "/" of the counter; none when 0.
    void setLimit(int value);
    QStringList selectedIds() const { return selected; }
    QList<Contact> selectedContacts() const;
    QString counterText() const;
    QString titleText() const;
    IContact* row(const QString& id) const { return rows.value(id); }
    QList<IContact*> visibleRows() const;
    SearchBar* searchBar() const { return search; }
    QLabel* emptyNotice() const { return empty; }
    FlatButton* inviteButton() const { return invite; }
    FlatButton* ignoreButton() const { return ignore; }

signals:
    void closeWindow();
    void inviteList(QList<QString> ids);
    void contactsChosen(QList<Contact> contacts);

public slots:
    void searchString(QString str);
    void iContactSelect(QString id);
    void iContactUnselect(QString id);
    void ignorClicked();
    void inviteClicked();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void reset();
    void showCount();

    QLabel* title;
    QLabel* counter;
    QLabel* empty;
    SearchBar* search;
    QHash<QString, IContact*> rows;
    QList<IContact*> order;
    QStringList selected;
    int limit = 0;
    int selectedCount = 0;
    QVBoxLayout* list;
    FlatButton* invite;
    FlatButton* ignore;
};

#endif // CONTACTSELECT_H
