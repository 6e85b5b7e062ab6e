#ifndef LOCALFILES_H
#define LOCALFILES_H

#include "servicereply.h"

#include <QByteArray>
#include <QString>

class LocalService;
class ServiceRequest;
class ServiceStore;

// The file host's state and answers: files kept as blobs of the service's
// store under their id, the SHA-1 of each upload mapped to its id, and the
// Content-Disposition a download carries.
class LocalFiles
{
public:
    // Keeps content under name (an uploaded file's id, or a static file's name).
    static bool keep(ServiceStore* store, const QString& name, const QByteArray& content,
                     const QByteArray& contentDisposition = QByteArray());
    // The kept file, or 404.
    static ServiceReply serve(const ServiceStore* store, const QString& name);
    // "file_exists/": "exists" with the kept file's links, else "new".
    static ServiceReply exists(LocalService& service, const ServiceRequest& request);
    // "upload_file" and "upload_static_file": the multipart form, its "Data"
    // part signed like a procedure body.
    static ServiceReply upload(LocalService& service, const ServiceRequest& request);
};

#endif // LOCALFILES_H
