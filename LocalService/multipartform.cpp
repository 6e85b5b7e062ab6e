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
    const QByteArray separator = "\r\n" + delimiter;
    const QByteArray& body = request.body;
    int position = body.indexOf(delimiter);
    while (position >= 0) {
        position += delimiter.size();
        if (body.mid(position, 2) == "--")
            break;
        position += 2; // CRLF after the delimiter
        const int next = body.indexOf(separator, position);
        if (next < 0)
            break;
        // The part's head only is copied; its body is copied once, straight
        // out of the request's.
        const int headerEnd = body.indexOf("\r\n\r\n", position);
        if (headerEnd < 0 || headerEnd + 4 > next)
            break;
        Part part;
        for (const QByteArray& line : body.mid(position, headerEnd - position).split('\n')) {
            const int colon = line.indexOf(':');
            if (colon > 0)
                part.headers.insert(line.left(colon).trimmed().toLower(),
                                    line.mid(colon + 1).trimmed());
        }
        part.body = body.mid(headerEnd + 4, next - headerEnd - 4);
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
