#ifndef CHANNELLOOKUPVIEWER_H
#define CHANNELLOOKUPVIEWER_H

#include "Managers/command.h"
#include "model/channellookup.h"

#include <QVariant>
#include <QWidget>

class AvatarViewer;
class FlatButton;
class QLabel;

// The preview of a channel reached through a link: avatar, name, public id,
// member count and description, with Join and Return.
class ChannelLookupViewer : public QWidget
{
    Q_OBJECT
public:
    explicit ChannelLookupViewer(QWidget* parent = nullptr);

    void setChannelLookup(const ChannelLookup& value);
    ChannelLookup getChannelLookup() const { return lookup; }

    QLabel* nameLabel() const { return name; }
    QLabel* idLabel() const { return id; }
    QLabel* membersLabel() const { return members; }
    QLabel* descriptionLabel() const { return description; }
    FlatButton* joinButton() const { return join; }
    FlatButton* returnButton() const { return back; }

signals:
    void command(Command cmd, QVariant var);

public slots:
    void joinClicked();
    void returnClicked();
    void previewClicked();

private:
    ChannelLookup lookup;
    AvatarViewer* avatar;
    QLabel* id;
    QLabel* name;
    QLabel* description;
    QLabel* members;
    FlatButton* join;
    FlatButton* back;
    FlatButton* preview;
};

#endif // CHANNELLOOKUPVIEWER_H
