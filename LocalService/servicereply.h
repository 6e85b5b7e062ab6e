#ifndef SERVICEREPLY_H
#define SERVICEREPLY_H

#include <QByteArray>
#include <QHash>
#include <QJsonObject>
#include <QMetaType>

#include <functional>

class QSslSocket;

// What the web service answers to one request: an HTTP status and body,
// optionally after a delay, or a connection closed without any answer.
class ServiceReply
{
public:
    int status = 200;
    QByteArray body;
    QByteArray contentType = "application/json";
    // Further headers of the answer (name to value).
    QHash<QByteArray, QByteArray> headers;
    int delayMs = 0;
    bool dropConnection = false;
    // When set, writes the whole answer (status line, headers, body) on the
    // socket itself instead of the fields above: for streamed or stalled
    // bodies and extra headers.
    std::function<void(QSslSocket*)> writer;

    static ServiceReply json(const QJsonObject& object, int status = 200);
    // {"ResultCode": code, "ResultMessage": ...} plus the given fields.
    static ServiceReply result(int code, const QJsonObject& fields = QJsonObject());
    static ServiceReply raw(const QByteArray& body, int status = 200,
                            const QByteArray& contentType = "text/plain");
    static ServiceReply dropped();
    ServiceReply delayed(int msecs) const;
    // "ResultCode" of a JSON body, else the HTTP status.
    int resultCode() const;
};

Q_DECLARE_METATYPE(ServiceReply)

#endif // SERVICEREPLY_H
