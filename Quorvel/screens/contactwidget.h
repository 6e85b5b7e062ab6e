#ifndef CONTACTWIDGET_H
#define CONTACTWIDGET_H

#include "Managers/Contact/contact.h"

#include <QWidget>

class AvatarViewer;
class QLabel;

// One row of the contact list: the person's avatar, name and number. A left
// click selects the row and reports its contact.
class ContactWidget : public QWidget
{
    Q_OBJECT
public:
    explicit ContactWidget(QWidget* parent = nullptr);

    void setContact(const Contact& contact);
    Contact getContact() const { return contact; }
    QString getName() const;
    bool containsText(const QString& text) const;
    AvatarViewer* avatarViewer() const { return avatar; }

signals:
    void contactClicked(Contact c);

public slots:
    void select();
    void deselect();
    void avatarDownloadFinished(const QImage& avThImage);
    void downloadError() {}

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void restyle(const QString& name);

    Contact contact;
    AvatarViewer* avatar;
    QLabel* name;
    QLabel* number;
};

#endif // CONTACTWIDGET_H
