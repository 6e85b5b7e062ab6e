// Message JSON as peers, the web service and the archive send it: the public
// form (Message::fromJson), the stored form (fromDBJson) and the archive's "M"
// documents (fromUserChatArchiveJson), given one object or an array of them.

#include "fuzzsupport.h"
#include "messagereads.h"

#include "model/message.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

void readObject(const QJsonObject& object)
{
    Message message;
    if (message.fromJson(object))
        fuzz::readEverything(message);
    Message stored;
    if (stored.fromDBJson(object))
        fuzz::readEverything(stored);
    Message archived;
    if (archived.fromUserChatArchiveJson(object, QStringLiteral("989120000002")))
        fuzz::readEverything(archived);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    fuzz::setUp(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QJsonDocument document = QJsonDocument::fromJson(fuzz::input(data, size));
    if (document.isObject()) {
        readObject(document.object());
    } else if (document.isArray()) {
        const QJsonArray array = document.array();
        for (const QJsonValue& value : array)
            readObject(value.toObject());
    }
    return 0;
}
