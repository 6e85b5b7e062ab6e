#include "webapi/GeneralApi/clientinfoprovider.h"

#include "foundation/datetime.h"

#include <QRandomGenerator>

ClientInfoProvider::ClientInfoProvider()
    : encryptionMethod(QStringLiteral("AES128CBC")), phoneNo(QStringLiteral("989000000000")),
      hashMethod(QStringLiteral("SHA1"))
{
}

QString ClientInfoProvider::generateNonce(int length)
{
    static const QString alphabet =
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789");
    if (length < 1)
        return QString();
    QString nonce;
    nonce.reserve(length);
    QRandomGenerator* random = QRandomGenerator::system();
    for (int i = 0; i < length; ++i)
        nonce.append(alphabet.at(int(random->bounded(quint32(alphabet.size())))));
    return nonce;
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
