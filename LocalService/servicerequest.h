#ifndef SERVICEREQUEST_H
#define SERVICEREQUEST_H

#include <QByteArray>
#include <QHash>
#include <QJsonObject>
#include <QString>

// One HTTP request as the web service received it.
class ServiceRequest
{
public:
    QByteArray method;
    // Without the leading "/" and without the query, still percent-encoded.
    QString path;
    QString query;
    // Header names in lower case.
    QHash<QByteArray, QByteArray> headers;
    QByteArray body;
    // Set when the client closed the connection before its reply was written.
    bool closedByClient = false;

    QByteArray header(const QByteArray& name) const { return headers.value(name.toLower()); }
    // The body as a JSON object (empty when it is not one).
    QJsonObject json() const;
};

#endif // SERVICEREQUEST_H
