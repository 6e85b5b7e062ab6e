#include "model/editmessage.h"

#include "model/controlbodyreader.h"
#include "model/messagekeys.h"

using namespace MessageKeys;

EditMessage::EditMessage(const QString& editedText, qint64 updateTimestamp,
                         const QString& editedMessageId)
    : editedText(editedText), updateTimestamp(updateTimestamp), editedMessageId(editedMessageId)
{
}

void EditMessage::clear()
{
    editedText.clear();
    updateTimestamp = 0;
    editedMessageId.clear();
}

bool EditMessage::isEmpty() const
{
    return updateTimestamp == 0 || editedMessageId.isEmpty();
}

QJsonObject EditMessage::toJson() const
{
    return {{EditedText, editedText},
            {UpdateTimestamp, QString::number(updateTimestamp)},
            {SecondaryMessageId, editedMessageId}};
}

bool EditMessage::fromJson(const QJsonObject& object)
{
    const ControlBodyReader reader(object, "EditMessage");
    editedText = reader.text(EditedText);
    updateTimestamp = reader.timestamp(UpdateTimestamp);
    editedMessageId = reader.text(SecondaryMessageId);
    return !isEmpty();
}
