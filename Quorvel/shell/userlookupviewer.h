#ifndef USERLOOKUPVIEWER_H
#define USERLOOKUPVIEWER_H

#include "model/userlookup.h"
#include "shell/lookuppreview.h"

// The preview of a user reached through a link, with Send message and Return.
class UserLookupViewer : public LookupPreview
{
    Q_OBJECT
public:
    explicit UserLookupViewer(QWidget* parent = nullptr);

    UserLookup getUserLookup() const { return lookup; }
    FlatButton* sendMessageButton() const { return firstButton(); }
    FlatButton* returnButton() const { return secondButton(); }

public slots:
    void sendMsgClicked();
    void returnClicked();

private:
    UserLookup lookup;
};

#endif // USERLOOKUPVIEWER_H
