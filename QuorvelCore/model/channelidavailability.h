#ifndef CHANNELIDAVAILABILITY_H
#define CHANNELIDAVAILABILITY_H

#include "foundation/quorvelcore_export.h"

#include <QMetaType>
#include <QString>

// Whether a wanted channel id is still free.
class QUORVELCORE_EXPORT ChannelIdAvailability
{
public:
    ChannelIdAvailability() = default;
    ChannelIdAvailability(const QString& channelId, bool available)
        : channelId(channelId), available(available)
    {
    }

    QString getChannelId() const { return channelId; }
    void setChannelId(const QString& value) { channelId = value; }
    bool getAvailable() const { return available; }
    void setAvailable(bool value) { available = value; }

    bool operator==(const ChannelIdAvailability& other) const
    {
        return channelId == other.channelId && available == other.available;
    }

private:
    QString channelId;
    bool available = false;
};

Q_DECLARE_METATYPE(ChannelIdAvailability)

#endif // CHANNELIDAVAILABILITY_H
