#include "servicerequest.h"

#include <QJsonDocument>

QJsonObject ServiceRequest::json() const
{
    return QJsonDocument::fromJson(body).object();
}
