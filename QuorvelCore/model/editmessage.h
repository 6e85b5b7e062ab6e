#ifndef EDITMESSAGE_H
#define EDITMESSAGE_H

#include "foundation/quorvelcore_export.h"
#include "model/abstractjsonable.h"

#include <QMetaType>
#include <QString>

// Body of an EDIT_MESSAGE control message: the new text of a one-to-one or
// group message.
class QUORVELCORE_EXPORT EditMessage : public AbstractJsonable
{
public:
    EditMessage() = default;
    EditMessage(const QString& editedText, qint64 updateTimestamp, const QString& editedMessageId);

    void clear() override;
    bool isEmpty() const override;
    QJsonObject toJson() const override;
    // Returns whether the body is usable (not isEmpty()).
    bool fromJson(const QJsonObject& object) override;

    QString getEditedText() const { return editedText; }
    void setEditedText(const QString& value) { editedText = value; }
    qint64 getUpdateTimestamp() const { return updateTimestamp; }
    void setUpdateTimestamp(qint64 value) { updateTimestamp = value; }
    QString getEditedMessageId() const { return editedMessageId; }
    void setEditedMessageId(const QString& value) { editedMessageId = value; }

private:
    QString editedText;
    qint64 updateTimestamp = 0;
    QString editedMessageId;
};

Q_DECLARE_METATYPE(EditMessage)

#endif // EDITMESSAGE_H
