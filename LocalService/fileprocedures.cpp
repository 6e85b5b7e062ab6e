// The file host: existence check, uploads, downloads and static files.

#include "backgroundimages.h"
#include "localfiles.h"
#include "localprocedures.h"
#include "localservice.h"

#include <QUrl>

void LocalProcedures::installFiles(LocalService& service)
{
    LocalService* s = &service;
    service.handleSigned("file_exists/", [s](const ServiceRequest& request, const QString&) {
        return LocalFiles::exists(*s, request);
    });
    service.handle("upload_file",
                   [s](const ServiceRequest& r) { return LocalFiles::upload(*s, r); });
    service.handle("upload_static_file",
                   [s](const ServiceRequest& r) { return LocalFiles::upload(*s, r); });
    service.handlePrefix("files/", [s](const ServiceRequest& request) {
        return LocalFiles::serve(s->store(),
                                 QUrl::fromPercentEncoding(request.path.mid(6).toLatin1()));
    });
    // "static_file/<name>/<four segments>", or the service's own pictures
    // ("static_file/d5/<file>", "static_file/d6/<file>"), open to everyone.
    service.handlePrefix("static_file/", [s](const ServiceRequest& request) {
        const QString rest = request.path.mid(12);
        const QStringList segments = rest.split(QLatin1Char('/'));
        if (segments.size() == 2) {
            const QByteArray image =
                BackgroundImages::file(QUrl::fromPercentEncoding(rest.toLatin1()));
            return image.isEmpty() ? ServiceReply::raw("not found", 404)
                                   : ServiceReply::raw(image, 200, "image/jpeg");
        }
        if (segments.size() < 5)
            return ServiceReply::raw("missing segments", 400);
        const QString name = segments.mid(0, segments.size() - 4).join(QLatin1Char('/'));
        return LocalFiles::serve(s->store(), QUrl::fromPercentEncoding(name.toLatin1()));
    });
}
