#ifndef SERVICECONFIG_H
#define SERVICECONFIG_H

#include "foundation/quorvelcore_export.h"

#include <QString>

// Where the program's services live. The built-in values can be replaced by
// environment variables so that the program runs against a self-hosted or a
// test service:
//   QUORVEL_WEB_BASE_URL   web-service root, e.g. "https://127.0.0.1:8443/"
//   QUORVEL_CHAT_DOMAIN    the chat (XMPP) domain
//   QUORVEL_STICKER_BASE_URL  sticker-service root, e.g. "https://127.0.0.1:8444/"
//   QUORVEL_EXTRA_CA_FILE  a PEM file of CA certificates trusted in addition to
//                          the system's, for every TLS connection of the process
class QUORVELCORE_EXPORT ServiceConfig
{
public:
    // The web service's root address, always ending in "/".
    static QString webServiceBaseUrl();
    static QString chatDomain();
    // The sticker service's root address, always ending in "/".
    static QString stickerServiceBaseUrl();
    static QString extraCaFile();

    // Adds the certificates of QUORVEL_EXTRA_CA_FILE to the process-wide default
    // TLS configuration, the first time it is called (later calls do nothing).
    // Every owner of a TLS connection calls it before connecting. Returns false
    // when a file is named but holds no readable certificate (logged).
    static bool installExtraCaCertificates();

    static const char* const kDefaultWebServiceBaseUrl;
    static const char* const kDefaultChatDomain;
    static const char* const kDefaultStickerServiceBaseUrl;
};

#endif // SERVICECONFIG_H
