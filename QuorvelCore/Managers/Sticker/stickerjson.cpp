#include "Managers/Sticker/stickerjson.h"

#include <QList>

bool StickerJson::walk(const QJsonObject& object, const QList<Field>& fields)
{
    for (const Field& field : fields) {
        const QString key = QString::fromLatin1(field.key);
        if (!object.contains(key) || !field.read(object.value(key)))
            return false;
    }
    return true;
}

int StickerJson::toInt(const QJsonValue& value)
{
    return value.toString().toInt(nullptr, 10);
}

double StickerJson::toDouble(const QJsonValue& value)
{
    return value.toString().toDouble();
}

QString StickerJson::numberText(double value)
{
    return QString::number(value, 'g', 6);
}
