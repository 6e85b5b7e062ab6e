#include "localfiles.h"

#include "localservice.h"
#include "multipartform.h"
#include "servicestore.h"

#include <QCryptographicHash>
#include <QRegularExpression>

namespace {

const QString kFiles = QStringLiteral("files");
const QString kHashes = QStringLiteral("filehashes");

QString sha1Hex(const QByteArray& content)
{
    return QString::fromLatin1(QCryptographicHash::hash(content, QCryptographicHash::Sha1).toHex());
}

// "attachment" with the last segment of the sender's file name, stripped of
// anything that could break the header.
QByteArray dispositionFor(const QByteArray& sentName)
{
    QString name = QString::fromUtf8(sentName);
    name =
        name.mid(qMax(name.lastIndexOf(QLatin1Char('/')), name.lastIndexOf(QLatin1Char('\\'))) + 1);
    static const QRegularExpression unsafe(QStringLiteral("[\"\\x00-\\x1f\\x7f;]"));
    name.remove(unsafe);
    name = name.left(200);
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return "attachment";
    return "attachment; filename=\"" + name.toUtf8() + '"';
}

QJsonObject linksOf(const LocalService& service, const QString& id)
{
    const QJsonObject stored = service.store()->object(kFiles, id);
    const QString thumbnail = stored.value("Thumbnail").toString();
    return {{"FileId", id},
            {"FileURL", service.fileUrl(id)},
            {"ThumbnailURL", thumbnail.isEmpty() ? QString() : service.fileUrl(thumbnail)}};
}

} // namespace

bool LocalFiles::keep(ServiceStore* store, const QString& name, const QByteArray& content,
                      const QByteArray& contentDisposition)
{
    QJsonObject entry = store->object(kFiles, name);
    entry.insert("Disposition", QString::fromUtf8(contentDisposition));
    entry.insert("Size", QString::number(content.size()));
    return store->setBlob(name, content) && store->setValue(kFiles, name, entry);
}

ServiceReply LocalFiles::serve(const ServiceStore* store, const QString& name)
{
    if (!store->contains(kFiles, name) || !store->hasBlob(name))
        return ServiceReply::raw("not found", 404);
    ServiceReply reply = ServiceReply::raw(store->blob(name), 200, "application/octet-stream");
    const QByteArray disposition =
        store->object(kFiles, name).value("Disposition").toString().toUtf8();
    if (!disposition.isEmpty())
        reply.headers.insert("Content-Disposition", disposition);
    return reply;
}

ServiceReply LocalFiles::exists(LocalService& service, const ServiceRequest& request)
{
    QJsonObject body;
    ServiceReply error;
    if (!LocalService::readBody(request, {"FileHash"}, &body, &error))
        return error;
    const QString id =
        service.store()->value(kHashes, body.value("FileHash").toString().toLower()).toString();
    if (id.isEmpty() || !service.store()->hasBlob(id))
        return ServiceReply::result(200, {{"State", "new"}});
    QJsonObject reply = linksOf(service, id);
    reply.insert("State", "exists");
    return ServiceReply::result(200, reply);
}

ServiceReply LocalFiles::upload(LocalService& service, const ServiceRequest& request)
{
    MultipartForm::Part data, file, thumbnail;
    for (const MultipartForm::Part& part : MultipartForm::parse(request)) {
        if (part.name == "Data")
            data = part;
        else if (part.name == "File")
            file = part;
        else if (part.name == "Thumbnail")
            thumbnail = part;
    }
    ServiceRequest signedPart;
    signedPart.body = data.body;
    QString username;
    const int code = service.verifySigned(signedPart, &username);
    if (code != 0)
        return LocalService::failure(code, QStringLiteral("signature not verified"));
    ServiceReply refusal;
    if (!service.admitRequestId(data.body, &refusal))
        return refusal;
    if (file.body.isEmpty())
        return LocalService::failure(400, QStringLiteral("no file"));
    const QString hash = sha1Hex(file.body);
    const QString id = hash.left(16);
    ServiceStore* store = service.store();
    if (!keep(store, id, file.body, dispositionFor(file.fileName)))
        return LocalService::failure(500, QStringLiteral("cannot keep the file"));
    if (!thumbnail.body.isEmpty()) {
        const QString thumbnailId = id + QStringLiteral("thumbnail");
        QJsonObject entry = store->object(kFiles, id);
        entry.insert("Thumbnail", thumbnailId);
        if (!keep(store, thumbnailId, thumbnail.body, dispositionFor(thumbnail.fileName)) ||
            !store->setValue(kFiles, id, entry))
            return LocalService::failure(500, QStringLiteral("cannot keep the thumbnail"));
    }
    if (!store->setValue(kHashes, hash, id))
        return LocalService::failure(500, QStringLiteral("cannot keep the file"));
    return ServiceReply::result(200, linksOf(service, id));
}
