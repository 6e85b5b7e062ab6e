#include "fakereply.h"

#include <QJsonDocument>

FakeReply FakeReply::json(const QJsonObject& object, int status)
{
    FakeReply reply;
    reply.status = status;
    reply.body = QJsonDocument(object).toJson(QJsonDocument::Compact);
    return reply;
}

FakeReply FakeReply::result(int code, const QJsonObject& fields)
{
    QJsonObject object = fields;
    object.insert(QStringLiteral("ResultCode"), code);
    if (!object.contains(QStringLiteral("ResultMessage")))
        object.insert(QStringLiteral("ResultMessage"),
                      code == 200 ? QStringLiteral("OK") : QStringLiteral("Failed"));
    return json(object);
}

FakeReply FakeReply::raw(const QByteArray& body, int status, const QByteArray& contentType)
{
    FakeReply reply;
    reply.status = status;
    reply.body = body;
    reply.contentType = contentType;
    return reply;
}

FakeReply FakeReply::dropped()
{
    FakeReply reply;
    reply.dropConnection = true;
    return reply;
}

FakeReply FakeReply::delayed(int msecs) const
{
    FakeReply reply = *this;
    reply.delayMs = msecs;
    return reply;
}
