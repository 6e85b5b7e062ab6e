#include "servicereply.h"

#include <QJsonDocument>

ServiceReply ServiceReply::json(const QJsonObject& object, int status)
{
    ServiceReply reply;
    reply.status = status;
    reply.body = QJsonDocument(object).toJson(QJsonDocument::Compact);
    return reply;
}

ServiceReply ServiceReply::result(int code, const QJsonObject& fields)
{
    QJsonObject object = fields;
    object.insert(QStringLiteral("ResultCode"), code);
    if (!object.contains(QStringLiteral("ResultMessage")))
        object.insert(QStringLiteral("ResultMessage"),
                      code == 200 ? QStringLiteral("OK") : QStringLiteral("Failed"));
    return json(object);
}

ServiceReply ServiceReply::raw(const QByteArray& body, int status, const QByteArray& contentType)
{
    ServiceReply reply;
    reply.status = status;
    reply.body = body;
    reply.contentType = contentType;
    return reply;
}

ServiceReply ServiceReply::dropped()
{
    ServiceReply reply;
    reply.dropConnection = true;
    return reply;
}

ServiceReply ServiceReply::delayed(int msecs) const
{
    ServiceReply reply = *this;
    reply.delayMs = msecs;
    return reply;
}

int ServiceReply::resultCode() const
{
    const QJsonValue code =
        QJsonDocument::fromJson(body).object().value(QStringLiteral("ResultCode"));
    return code.isDouble() ? code.toInt() : status;
}
