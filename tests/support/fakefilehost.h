#ifndef FAKEFILEHOST_H
#define FAKEFILEHOST_H

#include "fakewebservice.h"
#include "localservice.h"
#include "multipartform.h"
#include "servicestore.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

// The local service's file host on the test service, its state in memory and
// its signatures not checked: the existence check ("file_exists/"), the two
// multipart uploads ("upload_file", "upload_static_file") and GETs of kept
// files under "files/" and of static files under "static_file/" (which carry
// four more path segments). On top of the files it keeps, a test can script
// files that are large and generated while they are sent, stalled part-way,
// or answered with an error status, and existence-check answers.
class FakeFileHost
{
public:
    using Part = MultipartForm::Part;

    explicit FakeFileHost(FakeWebService* service);

    QString baseUrl() const { return service->baseUrl(); }
    // base + "files/" + name
    QString fileUrl(const QString& name) const;

    void addFile(const QString& name, const QByteArray& content,
                 const QByteArray& contentDisposition = QByteArray());
    // size bytes of generatedByte(offset), written as the client takes them;
    // with pauseMs, one 256 KiB piece at a time with that pause between, so
    // the client sees the transfer in progress however loaded the machine is.
    void addGeneratedFile(const QString& name, qint64 size, int pauseMs = 0);
    // Announces size bytes, sends the first sentBytes and then nothing more.
    void addStalledFile(const QString& name, qint64 size, qint64 sentBytes);
    void addErrorFile(const QString& name, int status, const QByteArray& body);
    // A static file, served at "static_file/<name>/<four segments>".
    void addStaticFile(const QString& name, const QByteArray& content);

    // The existence check answers "exists" with these values for this hash.
    void addExisting(const QString& sha1Hex, const QString& fileId, const QString& fileUrl,
                     const QString& thumbnailUrl);

    static QList<Part> parseMultipart(const FakeRequest& request);
    static char generatedByte(qint64 offset);
    int getCount(const QString& name) const { return gets.value(name); }
    QList<QStringList> staticSegments() const { return staticRequests; }

private:
    FakeReply serveFile(const QString& name);

    struct Stored
    {
        QByteArray content;
        qint64 generatedSize = -1;
        qint64 stallAfter = -1;
        int pauseMs = 0;
        int errorStatus = 0;
    };

    FakeWebService* service;
    ServiceStore store;
    LocalService local;
    // Scripted files; plain ones are kept by the local service.
    QHash<QString, Stored> files;
    QHash<QString, QJsonObject> existing;
    QHash<QString, int> gets;
    QList<QStringList> staticRequests;
};

#endif // FAKEFILEHOST_H
