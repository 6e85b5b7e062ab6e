#ifndef CLIENTINFOPROVIDER_H
#define CLIENTINFOPROVIDER_H

#include "foundation/quorvelcore_export.h"

#include <QString>

// The client's nonce and time stamp for requests, and its default hash and
// encryption methods.
class QUORVELCORE_EXPORT ClientInfoProvider
{
public:
    ClientInfoProvider();

    // length characters from [A-Za-z0-9], drawn from the system's generator.
    static QString generateNonce(int length);
    // Current time in milliseconds since 1970, as plain decimal text.
    static QString generateTimeStamp();

    QString genNonceAndSetIt(int length);
    QString genTimestampAndSetIt();

    QString getClientNonce();
    QString getTimeStamp();
    QString getEncryptionMethod() const { return encryptionMethod; }
    QString getHashMethod() const { return hashMethod; }
    QString getPhoneNo() const { return phoneNo; }
    QString getServerNonce() const { return serverNonce; }

    void setClientNonce(const QString& value) { clientNonce = value; }
    void setEncryptionMethod(const QString& value) { encryptionMethod = value; }
    void setHashMethod(const QString& value) { hashMethod = value; }
    void setPhoneNo(const QString& value) { phoneNo = value; }
    void setServerNonce(const QString& value) { serverNonce = value; }
    void setTimeStamp(const QString& value) { timeStamp = value; }

private:
    QString encryptionMethod;
    QString phoneNo;
    QString hashMethod;
    QString serverNonce;
    QString clientNonce;
    QString timeStamp;
};

#endif // CLIENTINFOPROVIDER_H
