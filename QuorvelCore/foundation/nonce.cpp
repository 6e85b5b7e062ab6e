#include "foundation/nonce.h"

#include <QRandomGenerator>

QString Nonce::generate(int length)
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
