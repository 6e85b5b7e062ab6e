// The sticker service, below StickerCatalogue::servicePath(): sessions for
// signed-in users, the addresses of a sticker's pictures, and the market
// (categories, package lists, package details, ratings, banners) over the
// service's own catalogue. Market requests need a session key; an unknown
// key is answered 314 so that the client renews its session.

#include "localprocedures.h"
#include "localservice.h"
#include "servicestore.h"
#include "stickercatalogue.h"

#include <QJsonArray>
#include <QUrl>
#include <QUuid>
#include <algorithm>

namespace {

const QString kSessions = QStringLiteral("stickersessions");
const QString kStars = QStringLiteral("stickerstars");
const int kMaxCount = 100;

using Package = StickerCatalogue::Package;

// The user whose body is signed with their token ("PhoneNo" names them), or "".
QString signer(const LocalService& service, const QJsonObject& body, const QByteArray& raw)
{
    const QString user = body.value("PhoneNo").toString();
    const QJsonObject account = service.account(user);
    if (user.isEmpty() || !account.value("Active").toBool() ||
        account.value("Deactivated").toBool() ||
        !LocalService::authValueMatches(raw, account.value("Token").toString(),
                                        account.value("HashMethod").toString()))
        return QString();
    return user;
}

QJsonObject packageJson(const Package& package)
{
    return {{"ID", package.id},
            {"Price", "0"},
            {"Thumbnail", QString()},
            {"Title", package.title},
            {"Downloads", QString::number(package.downloads)}};
}

class Stickers
{
public:
    Stickers(LocalService& service, const ServiceRequest& request)
        : service(service), request(request), body(request.json())
    {
    }

    ServiceReply authenticate()
    {
        const QString user = signer(service, body, request.body);
        if (user.isEmpty())
            return LocalService::failure(401, QStringLiteral("signature not verified"));
        ServiceReply refusal;
        if (!service.admitRequestId(request.body, &refusal))
            return refusal;
        const QString key = QUuid::createUuid().toString(QUuid::Id128);
        if (!service.store()->setValue(kSessions, key, user))
            return LocalService::failure(500, QStringLiteral("cannot keep the session"));
        return ServiceReply::result(200, {{"SessionKey", key}});
    }

    ServiceReply download()
    {
        if (signer(service, body, request.body).isEmpty())
            return LocalService::failure(401, QStringLiteral("signature not verified"));
        ServiceReply refusal;
        if (!service.admitRequestId(request.body, &refusal))
            return refusal;
        const Package* package = StickerCatalogue::package(body.value("PackageID").toString());
        const QString sticker = body.value("StickerID").toString();
        if (!package || !package->stickers.contains(sticker) ||
            body.value("StickerVersion").toString() != StickerCatalogue::version())
            return LocalService::failure(404, QStringLiteral("no such sticker"));
        QJsonObject urls;
        for (const QString& density : StickerCatalogue::densities())
            urls.insert(density, pictureUrl(package->id, sticker, density));
        return ServiceReply::result(
            200, {{"StickerID", sticker},
                  {"PackageStickerID", package->id},
                  {"StickerVersion", StickerCatalogue::version()},
                  {"FromUsername", body.value("FromUsername").toString()},
                  {"Resolution", StickerCatalogue::densities().join(QLatin1Char(','))},
                  {"StickerURL", urls}});
    }

    // Everything below needs a session.
    bool session(ServiceReply* error)
    {
        user = service.store()->value(kSessions, body.value("SessionKey").toString()).toString();
        if (!user.isEmpty())
            return true;
        *error = LocalService::failure(314, QStringLiteral("session expired"));
        return false;
    }

    ServiceReply categories() const
    {
        QJsonArray list;
        QStringList seen;
        for (const Package& package : StickerCatalogue::packages()) {
            if (seen.contains(package.category))
                continue;
            seen << package.category;
            list.append(QJsonObject{{"ID", package.category},
                                    {"Name", package.category},
                                    {"Description", QString()},
                                    {"Thumbnail", QString()}});
        }
        return ServiceReply::result(200, {{"Categories", list}});
    }

    ServiceReply browse(const QString& kind) const
    {
        QList<Package> list = StickerCatalogue::packages();
        if (kind == "Downloads" || kind == "Star")
            std::stable_sort(list.begin(), list.end(),
                             [this, kind](const Package& a, const Package& b) {
                                 return kind == "Downloads" ? a.downloads > b.downloads
                                                            : starMean(a.id) > starMean(b.id);
                             });
        else if (kind == "Date")
            std::reverse(list.begin(), list.end());
        if (kind.startsWith("index/")) {
            const QString category = kind.mid(6);
            list.erase(std::remove_if(list.begin(), list.end(),
                                      [&](const Package& p) { return p.category != category; }),
                       list.end());
        }
        const int offset = qMax(0, body.value("Offset").toInt());
        const int count = qBound(0, body.value("Count").toInt(10), kMaxCount);
        QJsonArray packages;
        for (const Package& package : list.mid(offset, count))
            packages.append(packageJson(package));
        return ServiceReply::result(200, {{"Packages", packages}});
    }

    ServiceReply view(const Package& package) const
    {
        QJsonObject info = packageJson(package);
        const QJsonObject stars = service.store()->object(kStars, package.id);
        QJsonObject levels{
            {"One", "0"}, {"Two", "0"}, {"Three", "0"}, {"Four", "0"}, {"Five", "0"}};
        const QStringList names{"One", "Two", "Three", "Four", "Five"};
        for (const QJsonValue& value : stars) {
            const QString name = names.value(value.toInt() - 1);
            levels.insert(name, QString::number(levels.value(name).toString().toInt() + 1));
        }
        info.insert("Author", "Quorvel");
        info.insert("CategoryID", package.category);
        info.insert("DateAdded", "2026-01-01 00:00:00");
        info.insert("Description", package.title + " stickers");
        info.insert("Stars", levels);
        info.insert("StarMean", starMean(package.id));
        info.insert("StickersThumbnail", pictureUrl(package.id, package.stickers.first(), "mdpi"));
        return ServiceReply::result(200, info);
    }

    ServiceReply links(const Package& package) const
    {
        QJsonObject data;
        for (const QString& density : StickerCatalogue::densities())
            data.insert(density, pictureUrl(package.id, package.stickers.first(), density));
        return ServiceReply::result(200, {{"PackageID", package.id}, {"PackageData", data}});
    }

    ServiceReply rate(const Package& package)
    {
        const int stars = body.value("Stars").toString().toInt();
        if (stars < 1 || stars > 5)
            return LocalService::failure(400, QStringLiteral("stars are 1 to 5"));
        QJsonObject ratings = service.store()->object(kStars, package.id);
        ratings.insert(user, stars);
        if (!service.store()->setValue(kStars, package.id, ratings))
            return LocalService::failure(500, QStringLiteral("cannot keep the rating"));
        return ServiceReply::result(200,
                                    {{"PackageID", package.id}, {"Stars", QString::number(stars)}});
    }

    ServiceReply banners() const
    {
        QJsonArray list;
        for (const Package& package : StickerCatalogue::packages())
            list.append(QJsonObject{
                {"BannerId", "banner-" + package.id},
                {"ShowTime", "5"},
                {"LocationUrl", pictureUrl(package.id, package.stickers.first(), "xxhdpi")}});
        return ServiceReply::result(200, {{"Banners", list}});
    }

private:
    QString pictureUrl(const QString& package, const QString& sticker, const QString& density) const
    {
        return service.fileUrl(StickerCatalogue::fileName(package, sticker, density));
    }

    double starMean(const QString& packageId) const
    {
        const QJsonObject ratings = service.store()->object(kStars, packageId);
        double sum = 0;
        for (const QJsonValue& value : ratings)
            sum += value.toInt();
        return ratings.isEmpty() ? 0 : sum / ratings.size();
    }

    LocalService& service;
    const ServiceRequest& request;
    QJsonObject body;
    QString user;
};

// The package named by the path segment after prefix, or null.
const Package* packageOf(const ServiceRequest& request, const QString& prefix)
{
    const QString id = request.path.mid(prefix.size()).section(QLatin1Char('/'), 0, 0);
    return StickerCatalogue::package(QUrl::fromPercentEncoding(id.toUtf8()));
}

} // namespace

void LocalProcedures::installStickers(LocalService& service)
{
    LocalService* s = &service;
    if (!StickerCatalogue::ensurePictures(s->store()))
        qWarning("sticker pictures could not be kept");
    const QString root = StickerCatalogue::servicePath();
    s->handle(root + "authentication/",
              [s](const ServiceRequest& r) { return Stickers(*s, r).authenticate(); });
    s->handle(root + "stickers/download/",
              [s](const ServiceRequest& r) { return Stickers(*s, r).download(); });

    // Market requests: the session first, then the answer.
    using Answer = std::function<ServiceReply(Stickers&, const ServiceRequest&)>;
    auto market = [s](const Answer& answer) {
        return [s, answer](const ServiceRequest& r) {
            Stickers stickers(*s, r);
            ServiceReply error;
            return stickers.session(&error) ? answer(stickers, r) : error;
        };
    };
    s->handle(root + "browse/index/",
              market([](Stickers& st, const ServiceRequest&) { return st.categories(); }));
    for (const char* kind : {"Free/", "Downloads", "Star/", "Date/"})
        s->handle(root + "browse/" + kind, market([kind](Stickers& st, const ServiceRequest&) {
                      return st.browse(QString::fromLatin1(kind).remove(QLatin1Char('/')));
                  }));
    const QString index = root + "browse/index/";
    s->handlePrefix(index, market([index](Stickers& st, const ServiceRequest& r) {
                        const QString category = r.path.mid(index.size()).section('/', 0, 0);
                        return st.browse("index/" + QUrl::fromPercentEncoding(category.toUtf8()));
                    }));
    using PackageAnswer = std::function<ServiceReply(Stickers&, const Package&)>;
    auto packageRoute = [s, market, root](const char* path, const PackageAnswer& answer) {
        const QString prefix = root + path;
        s->handlePrefix(prefix, market([prefix, answer](Stickers& st, const ServiceRequest& r) {
                            const Package* package = packageOf(r, prefix);
                            return package ? answer(st, *package)
                                           : LocalService::failure(404, "no such package");
                        }));
    };
    packageRoute("packages/view/", [](Stickers& st, const Package& p) { return st.view(p); });
    packageRoute("packages/download/", [](Stickers& st, const Package& p) { return st.links(p); });
    packageRoute("packages/stars/", [](Stickers& st, const Package& p) { return st.rate(p); });
    s->handle(root + "banner/",
              market([](Stickers& st, const ServiceRequest&) { return st.banners(); }));
}
