#ifndef FAKEFILEHOST_H
#define FAKEFILEHOST_H

#include "fakewebservice.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

// The file host on top of the fake web service: the existence check
// ("file_exists/"), the two multipart uploads ("upload_file",
// "upload_static_file") and GETs of kept files under "files/" and of static
// files under "static_file/" (which carry four more path segments). Files can
// be plain, large and generated while they are sent, stalled part-way, or
// answered with an error status.
class FakeFileHost
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
    FakeReply upload(const FakeRequest& request);

    struct Stored
    {
        QByteArray content;
        QByteArray contentDisposition;
        qint64 generatedSize = -1;
        qint64 stallAfter = -1;
        int pauseMs = 0;
        int errorStatus = 0;
    };

    FakeWebService* service;
    QHash<QString, Stored> files;
    QHash<QString, QJsonObject> existing;
    QHash<QString, int> gets;
    QList<QStringList> staticRequests;
};

#endif // FAKEFILEHOST_H
