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

// Picks several contacts at once: a search, a "chosen / limit" counter and
// Invite or Ignore.
class ContactSelect : public QWidget
{
    Q_OBJECT
public:
    explicit ContactSelect(QWidget* parent = nullptr);

    void setContacts(const QList<Contact>& contacts);
    // The number shown before the "/" of the counter.
    void setLimit(int value) { limit = value; }
    QStringList selectedIds() const { return selected; }
    QString counterText() const;
    IContact* row(const QString& id) const { return rows.value(id); }
    FlatButton* inviteButton() const { return invite; }
    FlatButton* ignoreButton() const { return ignore; }

signals:
    void closeWindow();
    void inviteList(QList<QString> ids);

public slots:
    void searchString(QString str);
    void iContactSelect(QString id);
    void iContactUnselect(QString id);
    void ignorClicked();
    void inviteClicked();

private:
    void reset();
    void showCount();

    QLabel* counter;
    QHash<QString, IContact*> rows;
    QStringList selected;
    int limit = 0;
    int selectedCount = 0;
    QVBoxLayout* list;
    FlatButton* invite;
    FlatButton* ignore;
};

#endif // CONTACTSELECT_H
