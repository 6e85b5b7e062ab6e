#include "model/groupmetadatachangedmessage.h"

#include "model/controlbodyreader.h"
#include "model/messagekeys.h"

void GroupMetaDataChangedMessage::setDataFromJson(const QJsonObject& object)
{
    jid = ControlBodyReader(object, "GroupMetaDataChangedMessage").text(MessageKeys::Jid);
}
