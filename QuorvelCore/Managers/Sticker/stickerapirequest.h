#ifndef STICKERAPIREQUEST_H
#define STICKERAPIREQUEST_H

#include "foundation/quorvelcore_export.h"

#include <QJsonObject>
#include <QMetaType>
#include <QString>

// One queued request of the sticker web-service client: its kind, the JSON
// body and the path argument of the kinds that have one.
class QUORVELCORE_EXPORT StickerApiRequest
{
public:
    enum RequestType
    {
        StickerDownload = 0,
        Authentication = 1,
        Categories = 2,
        BrowseFree = 3,
        BrowseDownloads = 4,
        BrowseStar = 5,
        BrowseDate = 6,
        BrowseCategoryIndex = 7,
        PackageView = 8,
        PackageDownload = 9,
        PackageStars = 10,
        Banner = 11,
        NoRequest = 12
    };

    StickerApiRequest() = default;
    StickerApiRequest(RequestType type, const QJsonObject& object, const QString& index = QString())
        : type(type), requestObject(object), index(index)
    {
    }

    RequestType getType() const { return type; }
    void setType(RequestType value) { type = value; }
    QJsonObject getRequestObject() const { return requestObject; }
    void setRequestObject(const QJsonObject& value) { requestObject = value; }
    QString getIndex() const { return index; }
    void setIndex(const QString& value) { index = value; }
    // Set once the session was renewed for this request: it is not renewed again.
    bool getSessionRenewed() const { return sessionRenewed; }
    void setSessionRenewed(bool value) { sessionRenewed = value; }

    void clear() { *this = StickerApiRequest(); }
    bool isEmpty() const { return type == NoRequest; }

private:
    RequestType type = NoRequest;
    QJsonObject requestObject;
    QString index;
    bool sessionRenewed = false;
};

Q_DECLARE_METATYPE(StickerApiRequest)
Q_DECLARE_METATYPE(StickerApiRequest::RequestType)

#endif // STICKERAPIREQUEST_H
