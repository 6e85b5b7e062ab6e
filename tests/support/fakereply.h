#ifndef FAKEREPLY_H
#define FAKEREPLY_H

#include <QByteArray>
#include <QJsonObject>
#include <QMetaType>

#include <functional>

class QSslSocket;

// What the fake web service answers to one request: an HTTP status and body,
// optionally after a delay, or a connection closed without any answer.
class FakeReply
{
public:
    int status = 200;
    QByteArray body;
    QByteArray contentType = "application/json";
    int delayMs = 0;
    bool dropConnection = false;
    // When set, writes the whole answer (status line, headers, body) on the
    // socket itself instead of the fields above: for streamed or stalled
    // bodies and extra headers.
    std::function<void(QSslSocket*)> writer;

    static FakeReply json(const QJsonObject& object, int status = 200);
    // {"ResultCode": code, "ResultMessage": ...} plus the given fields.
    static FakeReply result(int code, const QJsonObject& fields = QJsonObject());
    static FakeReply raw(const QByteArray& body, int status = 200,
                         const QByteArray& contentType = "text/plain");
    static FakeReply dropped();
    FakeReply delayed(int msecs) const;
};

Q_DECLARE_METATYPE(FakeReply)

#endif // FAKEREPLY_H
