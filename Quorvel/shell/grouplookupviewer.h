#ifndef GROUPLOOKUPVIEWER_H
#define GROUPLOOKUPVIEWER_H

#include "model/grouplookup.h"
#include "shell/lookuppreview.h"

// The preview of a group reached through a link. There is no command that
// joins a group through a link, so only Return is offered.
class GroupLookupViewer : public LookupPreview
{
    Q_OBJECT
public:
    explicit GroupLookupViewer(QWidget* parent = nullptr);

    void setGroupLookup(const GroupLookup& value);
    GroupLookup getGroupLookup() const { return lookup; }
    FlatButton* returnButton() const { return firstButton(); }
    FlatButton* joinButton() const { return secondButton(); }

public slots:
    void joinClicked();
    void returnClicked();

private:
    GroupLookup lookup;
};

#endif // GROUPLOOKUPVIEWER_H
