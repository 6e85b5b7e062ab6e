#ifndef ACCOUNTPOLICY_H
#define ACCOUNTPOLICY_H

#include "servicerequest.h"

#include <QJsonArray>
#include <QString>

#include <functional>

// The choices the account procedures leave open. The service's defaults are
// fresh random values and the user's own stored token; a test can fix each
// value to check the client against known ones.
class AccountPolicy
{
public:
    AccountPolicy();

    // The user name issued for a phone number.
    std::function<QString(const QString& phone)> usernameFor;
    // A fresh token, server nonce, server time stamp, chat password.
    std::function<QString()> newToken;
    std::function<QString()> newServerNonce;
    std::function<QString()> newServerTimestamp;
    std::function<QString()> newChatPassword;
    // The activation code for a sign-up (the settings' demo code when set).
    std::function<QString(const QString& phone)> codeFor;
    // The "Servers" of the "Salam" reply for a user (empty: the service's
    // chat server with the user's own chat account).
    std::function<QJsonArray(const QString& username)> chatServers;
    // Decides for a signed request: 0 when it may go on (filling the caller's
    // user name), else the result code. Empty: the service's own check of
    // "AuthValue" against the stored token of the user the body names.
    std::function<int(const ServiceRequest& request, QString* username)> verifySigned;
    // Called after a sign-up was accepted and after an account was activated.
    std::function<void(const QString& phone, const QJsonObject& registerBody)> registered;
    std::function<void(const QString& username)> activated;
};

#endif // ACCOUNTPOLICY_H
