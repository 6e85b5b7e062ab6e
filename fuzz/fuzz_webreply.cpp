// Web-service replies as the procedure queue receives them: a procedure is
// put in flight, the input arrives as its reply (ProcedureHandler::replyReady:
// JSON, result code, required keys, stored reply settings, the token derived
// after activation), and an accepted reply goes on to the readers of the
// messages in replies (group stanzas, one-to-one archive documents).
//
// Input: one byte that picks the procedure, then the reply body.

#include "fuzzsupport.h"
#include "messagereads.h"

#include "Managers/Group/groupstanzareader.h"
#include "webapi/GeneralApi/networkhandler.h"
#include "webapi/GeneralApi/procedurehandler.h"

#include <QJsonArray>
#include <QJsonObject>

namespace {

ProcedureHandler* handler = nullptr;

// What a signed-in user has stored, and what the procedure asks its caller
// for: without them the request would not go out and no reply would count.
QHash<QString, QJsonValue> prepare(Procedure procedure)
{
    PacketGenerator* generator = handler->getPacketGenerator();
    const ApiFields& fields = generator->getApiFields();
    for (const QString& key : fields.getInputSettingKeys(procedure)) {
        QString value;
        if (!generator->getSetting(key, &value))
            generator->addSetting(key, key == QLatin1String("HashMethod")         ? "SHA256"
                                       : key == QLatin1String("EncryptionMethod") ? "AES256CBC"
                                                                                  : "989120000001");
    }
    QHash<QString, QJsonValue> inputs;
    for (const QString& key : fields.getUserInputKeys(procedure))
        inputs.insert(key, QStringLiteral("1"));
    return inputs;
}

void readMessages(Procedure procedure, const QJsonObject& reply)
{
    if (procedure == PROC_GroupArchive || procedure == PROC_GroupNewMessages) {
        const QList<Message> messages =
            GroupStanzaReader::readReply(reply, MessageBase::MsgState_Delivered);
        for (const Message& message : messages)
            fuzz::readEverything(message);
    } else if (procedure == PROC_UserChatArchive) {
        const QJsonArray documents = reply.value(QStringLiteral("Messages")).toArray();
        for (const QJsonValue& document : documents) {
            Message message;
            if (message.fromUserChatArchiveJson(document.toObject(), QStringLiteral("bob")))
                fuzz::readEverything(message);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    fuzz::setUp(argc, argv);
    handler = new ProcedureHandler;
    QObject::connect(handler, &ProcedureHandler::replyReport, readMessages);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    // Every procedure that goes out; 64, the local log-out, never does.
    const auto procedure = Procedure(1 + data[0] % (PROC_RemoveAllSettings - 1));
    handler->start(procedure, prepare(procedure));
    handler->replyReady(fuzz::input(data + 1, size - 1));
    handler->getNetworkHandler()->abortRequests();
    fuzz::drainEvents();
    return 0;
}
