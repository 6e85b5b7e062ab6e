#include "messagereads.h"

#include "model/message.h"

#include <QJsonDocument>

#include <cstdio>
#include <cstdlib>

namespace fuzz {

namespace {
// Keeps a value alive so the reads are not optimised away.
template <typename T> void use(const T& value)
{
    static volatile const void* sink;
    sink = &value;
}
} // namespace

void readEverything(const Message& message)
{
    use(message.getFileMessage().toDBJsonObject());
    use(message.getStickerMessage().toJsonObject());
    use(message.getLocationMessage().toJsonObject());
    use(message.getSeenMessage().toDebugJson());
    use(message.getPollData().toJsonObject());
    use(message.getEditMessage().toJson());
    use(message.getChannelEditMessage().toJson());
    use(message.getConversationMuteStatusUpdate().toJson());
    use(message.getGroupRemoveMessage().isEmpty());
    use(message.getGroupJoinMessage().isEmpty());
    use(message.getGroupChangeRoleMessage().isEmpty());
    use(message.getGroupMetaDataChangedMessage().isEmpty());
    use(message.getGroupInvitationMessage().getJid());
    use(message.getMessageParams());
    use(message.toJson());
    use(message.getFilePath());

    if (!message.isValid())
        return;
    Message stored;
    if (!stored.fromDBJson(message.toDBJson()) || stored != message) {
        // The chat id of a kind that carries none is not stored; everything
        // else must come back.
        Message expected = message;
        if (Message::chatIdKey(message.getMajorType()).isEmpty())
            expected.setChatId(QString());
        expected.setGroupControlMessage(false);
        if (stored != expected) {
            std::fprintf(stderr,
                         "a message does not read back from the store as written:\n%s\n%s\n",
                         QJsonDocument(message.toDBJson()).toJson().constData(),
                         QJsonDocument(stored.toDBJson()).toJson().constData());
            std::abort();
        }
    }
}

} // namespace fuzz
