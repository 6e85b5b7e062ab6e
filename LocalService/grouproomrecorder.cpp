#include "grouproomrecorder.h"

#include "grouproomkeeper.h"

#include <QDomElement>

bool GroupRoomRecorder::handleStanza(const QDomElement& element)
{
    if (element.tagName() == QLatin1String("message") && !keeper->recordArchivedMessage(element))
        keeper->recordRoomMessage(element);
    // The room manager still sees it.
    return false;
}
