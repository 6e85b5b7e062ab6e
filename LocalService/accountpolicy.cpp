#include "accountpolicy.h"

#include "servicecrypto.h"

#include <QDateTime>
#include <QRandomGenerator>

namespace {

QString randomHex(int bytes)
{
    return QString::fromLatin1(ServiceCrypto::randomBytes(bytes).toHex());
}

} // namespace

AccountPolicy::AccountPolicy()
{
    usernameFor = [](const QString& phone) { return phone; };
    newToken = [] { return randomHex(24); };
    newServerNonce = [] { return randomHex(10); };
    newServerTimestamp = [] { return QString::number(QDateTime::currentMSecsSinceEpoch()); };
    newChatPassword = [] { return randomHex(12); };
    codeFor = [](const QString&) {
        return QString::number(QRandomGenerator::system()->bounded(10000, 100000));
    };
}
