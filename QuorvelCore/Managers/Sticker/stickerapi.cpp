#include "Managers/Sticker/stickerapi.h"

#include "foundation/datetime.h"
#include "foundation/serviceconfig.h"
#include "foundation/simpleqtlogger.h"
#include "model/globalconstants.h"
#include "webapi/GeneralApi/networkhandler.h"
#include "webapi/GeneralApi/packetgenerator.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QUrl>

namespace {
const char* const kResolution = "xxhdpi";

template <typename T> QList<T> readList(const QJsonValue& array)
{
    QList<T> list;
    for (const QJsonValue& element : array.toArray()) {
        T value;
        if (value.setDataFromJson(element.toObject()))
            list.append(value);
    }
    return list;
}
} // namespace

StickerApi::StickerApi(QObject* parent) : QObject(parent), network(new NetworkHandler())
{
    network->setApiURL(ServiceConfig::stickerServiceBaseUrl());
    connect(network, &NetworkHandler::replyReady, this, &StickerApi::replyReady);
    connect(network, &NetworkHandler::error, this,
            [this] { dropInFlight(QStringLiteral("transport error")); });
    timeoutTimer.setSingleShot(true);
    timeoutTimer.setInterval(kDefaultTimeout);
    connect(&timeoutTimer, &QTimer::timeout, this,
            [this] { dropInFlight(QStringLiteral("no answer in time")); });
}

StickerApi::~StickerApi()
{
    network->abortRequests();
    delete network;
}

QString StickerApi::getTimestamp() const
{
    return QString::number(DateTime::getDateTimeInMSecs());
}

// ---- Request bodies ----

QJsonObject StickerApi::baseObject() const
{
    const QString user = GlobalConstants::getUserName();
    return {{"RequestId", PacketGenerator::generateRequestID(user)}};
}

QJsonObject StickerApi::sessionObject() const
{
    QJsonObject object = baseObject();
    object.insert("SessionKey", sessionKey);
    return object;
}

QJsonObject StickerApi::listObject(int offset, int count) const
{
    QJsonObject object = sessionObject();
    object.insert("Offset", offset);
    object.insert("Count", count);
    return object;
}

void StickerApi::insertAuthValue(QJsonObject* object) const
{
    object->insert("AuthValue", QString());
    object->insert("AuthValue", PacketGenerator::getAuthValue(*object, GlobalConstants::getToken(),
                                                              GlobalConstants::getHashMethod()));
}

QJsonObject StickerApi::authenticationObject() const
{
    QJsonObject object = baseObject();
    object.insert("PhoneNo", GlobalConstants::getUserName());
    object.insert("HashMethod", GlobalConstants::getHashMethod());
    object.insert("Language", GlobalConstants::getLanguage());
    object.insert("DeviceId", deviceInfo.getDeviceID());
    object.insert("Resolution", QString::fromLatin1(kResolution));
    insertAuthValue(&object);
    return object;
}

// ---- Public requests ----

void StickerApi::requestStickerUrl(const StickerMessage& message)
{
    QJsonObject object = baseObject();
    object.insert("PhoneNo", GlobalConstants::getUserName());
    object.insert("HashMethod", GlobalConstants::getHashMethod());
    object.insert("FromUsername", message.getFrom());
    object.insert("StickerVersion", message.getStickerVersion());
    object.insert("PackageID", message.getStickerPackageId());
    object.insert("StickerID", message.getStickerId());
    object.insert("Resolution", QString::fromLatin1(kResolution));
    object.insert("DeviceId", deviceInfo.getDeviceID());
    insertAuthValue(&object);
    addToRequestQueue(StickerApiRequest(StickerApiRequest::StickerDownload, object));
}

void StickerApi::requestNewSession()
{
    addToRequestQueue(StickerApiRequest(StickerApiRequest::Authentication, authenticationObject()));
}

void StickerApi::requestCategories()
{
    request(StickerApiRequest(StickerApiRequest::Categories, sessionObject()));
}

void StickerApi::requestStickerPackage(StickerApiRequest::RequestType type, int offset, int count)
{
    request(StickerApiRequest(type, listObject(offset, count)));
}

void StickerApi::requestFreeStickersPackage(int offset, int count)
{
    requestStickerPackage(StickerApiRequest::BrowseFree, offset, count);
}

void StickerApi::requestMostDownloadedStickerPackage(int offset, int count)
{
    requestStickerPackage(StickerApiRequest::BrowseDownloads, offset, count);
}

void StickerApi::requestMostStarredStickerPackage(int offset, int count)
{
    requestStickerPackage(StickerApiRequest::BrowseStar, offset, count);
}

void StickerApi::requestNewestStickersPackage(int offset, int count)
{
    requestStickerPackage(StickerApiRequest::BrowseDate, offset, count);
}

void StickerApi::requestBrowseCategoryIndex(const QString& index, int offset, int count)
{
    request(StickerApiRequest(StickerApiRequest::BrowseCategoryIndex, listObject(offset, count),
                              index));
}

void StickerApi::requestViewPackage(const QString& id)
{
    request(StickerApiRequest(StickerApiRequest::PackageView, sessionObject(), id));
}

void StickerApi::requestPackageDownload(const QString& id)
{
    request(StickerApiRequest(StickerApiRequest::PackageDownload, sessionObject(), id));
}

void StickerApi::requestSetStarsForPackage(const QString& id, int stars)
{
    QJsonObject object = sessionObject();
    object.insert("Stars", QString::number(stars));
    request(StickerApiRequest(StickerApiRequest::PackageStars, object, id));
}

void StickerApi::requestGetBanners()
{
    request(StickerApiRequest(StickerApiRequest::Banner, sessionObject()));
}

// ---- Queue ----

bool StickerApi::sessionQueuedOrInFlight() const
{
    if (inFlight.getType() == StickerApiRequest::Authentication)
        return true;
    for (const StickerApiRequest& queued : queue) {
        if (queued.getType() == StickerApiRequest::Authentication)
            return true;
    }
    return false;
}

void StickerApi::request(const StickerApiRequest& request)
{
    if (sessionKey.isEmpty() && !sessionQueuedOrInFlight())
        queue.append(StickerApiRequest(StickerApiRequest::Authentication, authenticationObject()));
    addToRequestQueue(request);
}

void StickerApi::addToRequestQueue(const StickerApiRequest& request)
{
    queue.append(request);
    startQueue();
}

void StickerApi::startQueue()
{
    if (!inFlight.isEmpty() || queue.isEmpty())
        return;
    inFlight = queue.takeFirst();
    send();
}

QString StickerApi::subPath(const StickerApiRequest& request)
{
    const QString index = QString::fromLatin1(QUrl::toPercentEncoding(request.getIndex()));
    switch (request.getType()) {
    case StickerApiRequest::StickerDownload:
        return QStringLiteral("stickers/download/");
    case StickerApiRequest::Authentication:
        return QStringLiteral("authentication/");
    case StickerApiRequest::Categories:
        return QStringLiteral("browse/index/");
    case StickerApiRequest::BrowseFree:
        return QStringLiteral("browse/Free/");
    case StickerApiRequest::BrowseDownloads:
        return QStringLiteral("browse/Downloads");
    case StickerApiRequest::BrowseStar:
        return QStringLiteral("browse/Star/");
    case StickerApiRequest::BrowseDate:
        return QStringLiteral("browse/Date/");
    case StickerApiRequest::BrowseCategoryIndex:
        return QStringLiteral("browse/index/") + index + QLatin1Char('/');
    case StickerApiRequest::PackageView:
        return QStringLiteral("packages/view/") + index + QLatin1Char('/');
    case StickerApiRequest::PackageDownload:
        return QStringLiteral("packages/download/") + index + QLatin1Char('/');
    case StickerApiRequest::PackageStars:
        return QStringLiteral("packages/stars/") + index + QLatin1Char('/');
    case StickerApiRequest::Banner:
        return QStringLiteral("banner/");
    case StickerApiRequest::NoRequest:
        break;
    }
    return QString();
}

void StickerApi::send()
{
    const QString path = subPath(inFlight);
    const QByteArray body =
        QJsonDocument(inFlight.getRequestObject()).toJson(QJsonDocument::Compact);
    L_DEBUG(QStringLiteral("StickerApi::startRequest | ") + path + QLatin1Char(' ') +
            QString::fromUtf8(body));
    timeoutTimer.start();
    network->postRequest(path, body);
}

void StickerApi::dropInFlight(const QString& reason)
{
    if (inFlight.isEmpty())
        return;
    L_WARN(QStringLiteral("StickerApi | request to ") + subPath(inFlight) +
           QStringLiteral(" dropped: ") + reason);
    timeoutTimer.stop();
    // A late answer must not be taken for the next request's.
    network->abortRequests();
    giveUpInFlight();
    inFlight.clear();
    startQueue();
}

void StickerApi::giveUpInFlight()
{
    if (inFlight.getType() != StickerApiRequest::StickerDownload)
        return;
    const QJsonObject asked = inFlight.getRequestObject();
    StickerMessage sticker;
    sticker.setStickerId(asked.value(QStringLiteral("StickerID")).toString());
    sticker.setStickerPackageId(asked.value(QStringLiteral("PackageID")).toString());
    sticker.setStickerVersion(asked.value(QStringLiteral("StickerVersion")).toString());
    sticker.setFrom(asked.value(QStringLiteral("FromUsername")).toString());
    StickerUrl none;
    none.setStickerMessage(sticker);
    emit urlReady(none);
}

// ---- Replies ----

void StickerApi::replyReady(const QByteArray& reply)
{
    L_DEBUG(QStringLiteral("StickerApi::replyReady | ") + QString::fromUtf8(reply));
    if (inFlight.isEmpty()) {
        L_WARN(QStringLiteral("StickerApi::replyReady | no request in flight, reply ignored"));
        return;
    }
    timeoutTimer.stop();
    const QJsonDocument document = QJsonDocument::fromJson(reply);
    if (!document.isObject()) {
        dropInFlight(QStringLiteral("the reply is not a JSON object"));
        return;
    }
    const QJsonObject object = document.object();
    const QJsonValue codeValue = object.value(QStringLiteral("ResultCode"));
    const int code = codeValue.isDouble() ? codeValue.toInt() : 0;
    if (code == 200) {
        handleSuccess(object);
    } else if (processError(code)) {
        return;
    } else {
        giveUpInFlight();
    }
    inFlight.clear();
    startQueue();
}

void StickerApi::handleSuccess(const QJsonObject& reply)
{
    const QString index = inFlight.getIndex();
    switch (inFlight.getType()) {
    case StickerApiRequest::StickerDownload: {
        StickerUrl url;
        url.setDataFromJson(reply);
        L_DEBUG(QStringLiteral("StickerApi::decomposeDownload | ") +
                QString::fromUtf8(QJsonDocument(reply).toJson(QJsonDocument::Compact)));
        emit urlReady(url);
        break;
    }
    case StickerApiRequest::Authentication:
        decomposeSession(reply);
        break;
    case StickerApiRequest::Categories: {
        QHash<QString, StickerCategory> byId;
        for (const StickerCategory& category : readList<StickerCategory>(reply.value("Categories")))
            byId.insert(category.getId(), category);
        emit categories(byId.values());
        break;
    }
    case StickerApiRequest::BrowseFree:
    case StickerApiRequest::BrowseDownloads:
    case StickerApiRequest::BrowseStar:
    case StickerApiRequest::BrowseDate:
    case StickerApiRequest::BrowseCategoryIndex:
        emit stickerPackages(inFlight.getType(), readList<StickerPackage>(reply.value("Packages")),
                             index);
        break;
    case StickerApiRequest::PackageView: {
        StickerPackageInfo info;
        if (info.setDataFromJson(reply))
            emit viewPackageInfo(info);
        break;
    }
    case StickerApiRequest::PackageDownload: {
        QHash<StickerResolution::Resolution, QString> links;
        const QJsonObject data = reply.value("PackageData").toObject();
        for (auto it = data.constBegin(); it != data.constEnd(); ++it)
            links.insert(StickerResolution::toResolution(it.key()), it.value().toString());
        emit stickerPackageLinks(reply.value("PackageID").toString(), links);
        break;
    }
    case StickerApiRequest::PackageStars:
        emit starsSet(reply.value("PackageID").toString(),
                      reply.value("Stars").toString().toInt(nullptr, 10));
        break;
    case StickerApiRequest::Banner:
        emit bannersReady(readList<StickerBanner>(reply.value("Banners")));
        break;
    case StickerApiRequest::NoRequest:
        break;
    }
}

void StickerApi::decomposeSession(const QJsonObject& reply)
{
    const QString key = reply.value(QStringLiteral("SessionKey")).toString();
    if (key.isEmpty())
        return;
    sessionKey = key;
    for (StickerApiRequest& queued : queue) {
        QJsonObject object = queued.getRequestObject();
        if (object.contains(QStringLiteral("SessionKey"))) {
            object.insert(QStringLiteral("SessionKey"), key);
            queued.setRequestObject(object);
        }
    }
}

bool StickerApi::processError(int code)
{
    if (code != 314 || inFlight.getType() == StickerApiRequest::Authentication ||
        inFlight.getSessionRenewed()) {
        L_WARN(QStringLiteral("StickerApi | request to ") + subPath(inFlight) +
               QStringLiteral(" answered %1, dropped").arg(code));
        return false;
    }
    StickerApiRequest retry = inFlight;
    retry.setSessionRenewed(true);
    queue.append(retry);
    inFlight = StickerApiRequest(StickerApiRequest::Authentication, authenticationObject());
    send();
    return true;
}
