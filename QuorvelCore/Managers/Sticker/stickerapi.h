#ifndef STICKERAPI_H
#define STICKERAPI_H

#include "Managers/Sticker/stickerapirequest.h"
#include "Managers/Sticker/stickerbanner.h"
#include "Managers/Sticker/stickercategory.h"
#include "Managers/Sticker/stickerpackage.h"
#include "Managers/Sticker/stickerpackageinfo.h"
#include "Managers/Sticker/stickerresolution.h"
#include "Managers/Sticker/stickerurl.h"
#include "foundation/quorvelcore_export.h"
#include "webapi/GeneralApi/deviceinfoprovider.h"

#include <QByteArray>
#include <QHash>
#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>

class NetworkHandler;

// The client of the sticker web service: one request in flight, a queue
// behind it, a session key obtained before the market requests that need one
// and renewed (once per request) when the service answers 314. A transport
// error, a reply that is not a JSON object or a time-out drops the request in
// flight and the queue goes on.
class QUORVELCORE_EXPORT StickerApi : public QObject
{
    Q_OBJECT
public:
    static const int kDefaultTimeout = 20000;

    explicit StickerApi(QObject* parent = nullptr);
    ~StickerApi() override;

    void requestStickerUrl(const StickerMessage& message);
    void requestNewSession();
    void requestCategories();
    void requestStickerPackage(StickerApiRequest::RequestType type, int offset, int count);
    void requestFreeStickersPackage(int offset, int count);
    void requestMostDownloadedStickerPackage(int offset, int count);
    void requestMostStarredStickerPackage(int offset, int count);
    void requestNewestStickersPackage(int offset, int count);
    void requestBrowseCategoryIndex(const QString& index, int offset, int count);
    void requestViewPackage(const QString& id);
    void requestPackageDownload(const QString& id);
    void requestSetStarsForPackage(const QString& id, int stars);
    void requestGetBanners();

    QString getSessionKey() const { return sessionKey; }
    void setSessionKey(const QString& value) { sessionKey = value; }
    QString getTimestamp() const;
    void setTimeoutInterval(int msecs) { timeoutTimer.setInterval(msecs); }
    bool isBusy() const { return !inFlight.isEmpty(); }
    int getQueueSize() const { return queue.size(); }

    // The sub-path of a request; path arguments are percent-encoded.
    static QString subPath(const StickerApiRequest& request);

signals:
    void urlReady(const StickerUrl& url);
    void categories(const QList<StickerCategory>& cats);
    void stickerPackages(StickerApiRequest::RequestType type, const QList<StickerPackage>& packages,
                         const QString& index);
    void viewPackageInfo(const StickerPackageInfo& info);
    void stickerPackageLinks(const QString& packageId,
                             const QHash<StickerResolution::Resolution, QString>& links);
    void starsSet(const QString& packageId, int stars);
    void bannersReady(const QList<StickerBanner>& banners);

public slots:
    void replyReady(const QByteArray& reply);

private:
    QJsonObject baseObject() const;
    QJsonObject sessionObject() const;
    QJsonObject listObject(int offset, int count) const;
    void insertAuthValue(QJsonObject* object) const;
    QJsonObject authenticationObject() const;
    void request(const StickerApiRequest& request);
    void addToRequestQueue(const StickerApiRequest& request);
    bool sessionQueuedOrInFlight() const;
    void startQueue();
    void send();
    void dropInFlight(const QString& reason);
    // The request in flight gets no answer: a sticker's asker hears of it
    // through urlReady with no addresses.
    void giveUpInFlight();
    void handleSuccess(const QJsonObject& reply);
    // True when a session request was sent in place of the request in flight.
    bool processError(int code);
    void decomposeSession(const QJsonObject& reply);

    NetworkHandler* network = nullptr;
    DeviceInfoProvider deviceInfo;
    StickerApiRequest inFlight;
    QList<StickerApiRequest> queue;
    QString sessionKey;
    QTimer timeoutTimer;
};

#endif // STICKERAPI_H
