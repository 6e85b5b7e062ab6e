#ifndef MULTIPARTFORM_H
#define MULTIPARTFORM_H

#include "servicerequest.h"

#include <QByteArray>
#include <QHash>
#include <QList>

// The parts of a multipart/form-data request body.
class MultipartForm
{
public:
    struct Part
    {
        QByteArray name;
        QByteArray fileName; // raw text between the quotes, empty when none
        QByteArray disposition;
        QHash<QByteArray, QByteArray> headers; // names in lower case
        QByteArray body;
    };

    // Empty when the request carries no boundary or no well-formed part.
    static QList<Part> parse(const ServiceRequest& request);
};

#endif // MULTIPARTFORM_H
