#include "fakerequest.h"

#include <QJsonDocument>

QJsonObject FakeRequest::json() const
{
    return QJsonDocument::fromJson(body).object();
}
