#ifndef LOGREDACTOR_H
#define LOGREDACTOR_H

#include "foundation/quorvelcore_export.h"

#include <QByteArray>
#include <QJsonValue>
#include <QString>

// Makes request and reply bodies fit for log lines: the values of credential
// and personal keys (tokens, "AuthValue", "EToken", "Iv", PINs, passwords,
// phone numbers and contact lists) are replaced by "***", at any depth.
class QUORVELCORE_EXPORT LogRedactor
{
public:
    static bool isSensitiveKey(const QString& key);
    static QJsonValue redact(const QJsonValue& value);
    // Compact JSON text with sensitive values masked; a body that is not JSON
    // is summarised by its size only, since it cannot be masked reliably.
    static QString redactBody(const QByteArray& body);

    static const QString kMask;
};

#endif // LOGREDACTOR_H
