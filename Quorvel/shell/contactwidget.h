#ifndef CONTACTWIDGET_H
#define CONTACTWIDGET_H

#include "Managers/Contact/contact.h"

#include <QWidget>

class QLabel;

// One row of the contact list: name and number. This plain version is
// replaced by the contact screens' own row.
class ContactWidget : public QWidget
{
    Q_OBJECT
public:
    explicit ContactWidget(QWidget* parent = nullptr);

    void setContact(const Contact& contact);
    Contact getContact() const { return contact; }
    QString getName() const;
    bool containsText(const QString& text) const;
    void deselect();

signals:
    void contactClicked(Contact c);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void restyle(const QString& name);

    Contact contact;
    QLabel* name;
    QLabel* number;
};

#endif // CONTACTWIDGET_H
