#ifndef USERLOOKUPVIEWER_H
#define USERLOOKUPVIEWER_H

#include "Managers/Contact/contact.h"
#include "model/userlookup.h"
#include "shell/lookuppreview.h"

// The preview of a user reached through a link, with Send message and Return.
class UserLookupViewer : public LookupPreview
{
    Q_OBJECT
public:
    explicit UserLookupViewer(QWidget* parent = nullptr);

    // Fills the preview: picture, name (the number while there is none),
    // public name and motto.
    void setUserLookup(const UserLookup& value);
    UserLookup getUserLookup() const { return lookup; }
    FlatButton* sendMessageButton() const { return firstButton(); }
    FlatButton* returnButton() const { return secondButton(); }

signals:
    // Send message: the chat with this person is to be opened.
    void startMessaging(Contact contact);

public slots:
    void sendMsgClicked();
    void returnClicked();

private:
    UserLookup lookup;
};

#endif // USERLOOKUPVIEWER_H
