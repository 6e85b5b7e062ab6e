#ifndef GROUPROOMRECORDER_H
#define GROUPROOMRECORDER_H

#include <QXmppClientExtension.h>

class GroupRoomKeeper;

// Hands every incoming stanza of the keeper's stream to the keeper before the
// room manager sees it, so that all of a message's bodies are kept.
class GroupRoomRecorder : public QXmppClientExtension
{
public:
    explicit GroupRoomRecorder(GroupRoomKeeper* keeper) : keeper(keeper) {}
    bool handleStanza(const QDomElement& element) override;

private:
    GroupRoomKeeper* keeper;
};

#endif // GROUPROOMRECORDER_H
