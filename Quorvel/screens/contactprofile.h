#ifndef CONTACTPROFILE_H
#define CONTACTPROFILE_H

#include "Managers/Contact/contact.h"
#include "Managers/command.h"
#include "widgets/popupwarning.h"

#include <QDateTime>
#include <QFont>
#include <QVariant>
#include <QWidget>

class AvatarViewer;
class CheckBox;
class FlatButton;
class IconButton;
class PanelSlider;
class QLabel;
class StaticFile;

// The panel that shows one person: avatar, name, last seen and number, with
// mute, block and the deletions. It slides in from the left over its parent.
class ContactProfile : public QWidget
{
    Q_OBJECT
public:
    explicit ContactProfile(QWidget* parent = nullptr);
    ~ContactProfile() override;

    void setContact(const Contact& contact);
    void showContact(const Contact& contact);
    void setLastSeen(const QString& number, const QDateTime& time);
    void refreshView();
    void slideIn();
    void slideOut();
    Contact getContact() const { return contact; }

    QLabel* nameLabel() const { return name; }
    QLabel* lastSeenLabel() const { return lastSeen; }
    QLabel* numberLabel() const { return number; }
    FlatButton* sendMessageButton() const { return sendMessage; }
    FlatButton* callButton() const { return call; }
    CheckBox* muteSwitch() const { return mute; }
    CheckBox* blockSwitch() const { return block; }
    FlatButton* deleteHistoryLink() const { return deleteHistory; }
    FlatButton* deleteContactLink() const { return deleteContact; }
    IconButton* backButton() const { return back; }
    AvatarViewer* avatarViewer() const { return avatar; }

signals:
    void startMessaging(Contact c);
    void command(Command cm, QVariant var);
    void contactProfileBackPressed();

public slots:
    void backButtonPressed();
    void sendMessagePressed();
    void hideWidget();
    void avatarClicked();
    void notifSelected();
    void notifDeselected();
    void blockedSelected();
    void blockedDeselected();
    void DeleteContactPressed();
    void DeleteHistoryPressed();
    void DeleteContactListPressed();
    void warningPopupResponse(PopUpWarning::response res, QString applicator);
    void exitAnimationFinished();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void ask(const QString& message, const QString& applicator);
    // Asks for the shown number's last-seen time unless a question for that
    // number is still waiting for its answer.
    void requestLastSeen(bool evenIfPending);

    Contact contact;
    QDateTime lastSeenTime;
    QString pendingLastSeen;
    StaticFile* fullPicture = nullptr;
    PanelSlider* slider;
    QFont large;
    QFont small;
    QWidget* header;
    IconButton* back;
    QLabel* title;
    FlatButton* deleteContact;
    QWidget* content;
    AvatarViewer* avatar;
    QLabel* name;
    QLabel* lastSeen;
    QLabel* number;
    FlatButton* sendMessage;
    FlatButton* call;
    QLabel* config;
    CheckBox* mute;
    CheckBox* block;
    FlatButton* deleteHistory;
    FlatButton* deleteContactList;
};

#endif // CONTACTPROFILE_H
