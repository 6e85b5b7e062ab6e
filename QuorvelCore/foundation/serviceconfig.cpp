#include "foundation/serviceconfig.h"

#include "foundation/simpleqtlogger.h"

#include <QByteArray>
#include <QList>
#include <QMutex>
#include <QMutexLocker>
#include <QSslCertificate>
#include <QSslConfiguration>

const char* const ServiceConfig::kDefaultWebServiceBaseUrl = "https://ws.quorvel.app/";
const char* const ServiceConfig::kDefaultChatDomain = "chat.quorvel.app";
const char* const ServiceConfig::kDefaultStickerServiceBaseUrl = "https://stickers.quorvel.app/";

namespace {

QString environmentText(const char* name)
{
    return QString::fromLocal8Bit(qgetenv(name)).trimmed();
}

// The address in the variable, else the built-in one, ending in "/".
QString rootAddress(const char* variable, const char* builtIn)
{
    QString url = environmentText(variable);
    if (url.isEmpty())
        url = QString::fromLatin1(builtIn);
    if (!url.endsWith(QLatin1Char('/')))
        url += QLatin1Char('/');
    return url;
}

} // namespace

QString ServiceConfig::webServiceBaseUrl()
{
    return rootAddress("QUORVEL_WEB_BASE_URL", kDefaultWebServiceBaseUrl);
}

QString ServiceConfig::stickerServiceBaseUrl()
{
    return rootAddress("QUORVEL_STICKER_BASE_URL", kDefaultStickerServiceBaseUrl);
}

QString ServiceConfig::chatDomain()
{
    const QString domain = environmentText("QUORVEL_CHAT_DOMAIN");
    return domain.isEmpty() ? QString::fromLatin1(kDefaultChatDomain) : domain;
}

QString ServiceConfig::extraCaFile()
{
    return environmentText("QUORVEL_EXTRA_CA_FILE");
}

bool ServiceConfig::installExtraCaCertificates()
{
    static QMutex mutex;
    static bool done = false;
    static bool result = true;
    QMutexLocker locker(&mutex);
    if (done)
        return result;
    done = true;

    const QString path = extraCaFile();
    if (path.isEmpty())
        return result;
    const QList<QSslCertificate> certificates =
        QSslCertificate::fromPath(path, QSsl::Pem, QSslCertificate::PatternSyntax::FixedString);
    if (certificates.isEmpty()) {
        L_ERROR(QStringLiteral("ServiceConfig::installExtraCaCertificates | no certificate read "
                               "from QUORVEL_EXTRA_CA_FILE: ") +
                path);
        result = false;
        return result;
    }
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    configuration.addCaCertificates(certificates);
    QSslConfiguration::setDefaultConfiguration(configuration);
    L_INFO(QStringLiteral("ServiceConfig::installExtraCaCertificates | trusted %1 extra CA "
                          "certificate(s) from ")
               .arg(certificates.size()) +
           path);
    return result;
}
