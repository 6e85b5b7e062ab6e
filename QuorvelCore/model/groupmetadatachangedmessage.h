#ifndef GROUPMETADATACHANGEDMESSAGE_H
#define GROUPMETADATACHANGEDMESSAGE_H

#include "foundation/quorvelcore_export.h"
#include "model/abstractdata.h"

#include <QJsonObject>
#include <QMetaType>
#include <QString>

// Body of a GROUP_CHANGE_METADATA message: the group jid changed its data.
class QUORVELCORE_EXPORT GroupMetaDataChangedMessage : public AbstractData
{
public:
    GroupMetaDataChangedMessage() = default;

    void clear() override { jid.clear(); }
    bool isEmpty() const override { return jid.isEmpty(); }
    void setDataFromJson(const QJsonObject& object);

    QString getJid() const { return jid; }
    void setJid(const QString& value) { jid = value; }

private:
    QString jid;
};

Q_DECLARE_METATYPE(GroupMetaDataChangedMessage)

#endif // GROUPMETADATACHANGEDMESSAGE_H
