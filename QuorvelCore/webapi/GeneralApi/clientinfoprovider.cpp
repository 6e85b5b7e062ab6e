#include "webapi/GeneralApi/clientinfoprovider.h"

#include "foundation/datetime.h"
#include "foundation/nonce.h"

ClientInfoProvider::ClientInfoProvider()
    : encryptionMethod(QStringLiteral("AES128CBC")), phoneNo(QStringLiteral("989000000000")),
      hashMethod(QStringLiteral("SHA1"))
{
}

QString ClientInfoProvider::generateNonce(int length)
{
    return Nonce::generate(length);
}

QString ClientInfoProvider::generateTimeStamp()
{
    return QString::number(DateTime::getDateTimeInMSecs());
}

QString ClientInfoProvider::genNonceAndSetIt(int length)
{
    clientNonce = generateNonce(length);
    return clientNonce;
}

QString ClientInfoProvider::genTimestampAndSetIt()
{
    timeStamp = generateTimeStamp();
    return timeStamp;
}

QString ClientInfoProvider::getClientNonce()
{
    if (clientNonce.isEmpty())
        clientNonce = generateNonce(20);
    return clientNonce;
}

QString ClientInfoProvider::getTimeStamp()
{
    if (timeStamp.isEmpty())
        timeStamp = generateTimeStamp();
    return timeStamp;
}
