#include "multipartform.h"

QList<MultipartForm::Part> MultipartForm::parse(const ServiceRequest& request)
{
    QList<Part> parts;
    const QByteArray contentType = request.header("content-type");
    const int at = contentType.indexOf("boundary=");
    if (at < 0)
        return parts;
    QByteArray boundary = contentType.mid(at + 9).split(';').value(0).trimmed();
    if (boundary.startsWith('"') && boundary.endsWith('"'))
        boundary = boundary.mid(1, boundary.size() - 2);
    if (boundary.isEmpty())
        return parts;
    const QByteArray delimiter = "--" + boundary;
    const QByteArray& body = request.body;
    int position = body.indexOf(delimiter);
    while (position >= 0) {
        position += delimiter.size();
        if (body.mid(position, 2) == "--")
            break;
        position += 2; // CRLF after the delimiter
        const int next = body.indexOf("\r\n" + delimiter, position);
        if (next < 0)
            break;
        const QByteArray raw = body.mid(position, next - position);
        const int headerEnd = raw.indexOf("\r\n\r\n");
        if (headerEnd < 0)
            break;
        Part part;
        for (const QByteArray& line : raw.left(headerEnd).split('\n')) {
            const int colon = line.indexOf(':');
            if (colon > 0)
                part.headers.insert(line.left(colon).trimmed().toLower(),
                                    line.mid(colon + 1).trimmed());
        }
        part.body = raw.mid(headerEnd + 4);
        part.disposition = part.headers.value("content-disposition");
        const int nameAt = part.disposition.indexOf("name=\"");
        if (nameAt >= 0) {
            const int end = part.disposition.indexOf('"', nameAt + 6);
            if (end > nameAt)
                part.name = part.disposition.mid(nameAt + 6, end - nameAt - 6);
        }
        const int fileAt = part.disposition.indexOf("filename=\"");
        if (fileAt >= 0) {
            const int end = part.disposition.lastIndexOf('"');
            if (end > fileAt + 9)
                part.fileName = part.disposition.mid(fileAt + 10, end - fileAt - 10);
        }
        parts << part;
        position = next + 2;
    }
    return parts;
}
