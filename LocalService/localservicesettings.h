#ifndef LOCALSERVICESETTINGS_H
#define LOCALSERVICESETTINGS_H

#include <QString>

// What the local service tells its clients about the rest of the stack, and
// how it issues accounts.
class LocalServiceSettings
{
public:
    // The chat server handed out by "Salam" (empty host: none).
    QString chatHost = QStringLiteral("127.0.0.1");
    QString chatDomain = QStringLiteral("localhost");
    int chatPort = 5222;
    // Root address for uploaded files ("" = the service's own address).
    QString fileBaseUrl;
    // The activation code every sign-up gets ("" = a fresh random code each
    // time). It is printed on the console and in the service's log.
    QString demoCode;
    QString hashMethod = QStringLiteral("SHA256");
    QString encryptionMethod = QStringLiteral("AES256CBC");
    QString countryCode = QStringLiteral("DE");
    QString countryPrefix = QStringLiteral("49");
    // The credit the user card shows (this stand-in keeps no accounting).
    int credit = 0;
};

#endif // LOCALSERVICESETTINGS_H
