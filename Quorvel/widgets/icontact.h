#ifndef ICONTACT_H
#define ICONTACT_H

#include "Managers/Contact/contact.h"

#include <QWidget>

class AvatarViewer;
class QLabel;

// One contact of the contact selector: a click on the row or its avatar
// ticks or unticks it. A filtered row stays hidden whatever the search.
class IContact : public QWidget
{
    Q_OBJECT
public:
    explicit IContact(const Contact& contact, QWidget* parent = nullptr);

    QString getId() const { return id; }
    Contact getContact() const { return contact; }
    bool isSelected() const { return selected; }
    bool isFiltered() const { return filtered; }
    void setFiltered(bool value);
    // Clears the tick and the filter and shows the row.
    void reset();
    AvatarViewer* getAvatar() const { return avatar; }
    // The name the row shows.
    QString shownName() const;

signals:
    void select(QString id);
    void unSelect(QString id);

public slots:
    void avatarClick();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    AvatarViewer* avatar;
    QString id;
    Contact contact;
    QLabel* name;
    bool selected = false;
    bool filtered = false;
};

#endif // ICONTACT_H
