#include "webapi/GeneralApi/logredactor.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

const QString LogRedactor::kMask = QStringLiteral("***");

bool LogRedactor::isSensitiveKey(const QString& key)
{
    static const QSet<QString> exact{QStringLiteral("Token"),
                                     QStringLiteral("AuthValue"),
                                     QStringLiteral("EToken"),
                                     QStringLiteral("Iv"),
                                     QStringLiteral("PinCode"),
                                     QStringLiteral("VerificationToken"),
                                     QStringLiteral("PhoneNo"),
                                     QStringLiteral("ContactList"),
                                     QStringLiteral("ContactChangesList"),
                                     QStringLiteral("ClientNonce"),
                                     QStringLiteral("ServerNonce")};
    if (exact.contains(key))
        return true;
    const QString lower = key.toLower();
    return lower.contains(QLatin1String("password")) || lower.contains(QLatin1String("token")) ||
           lower.contains(QLatin1String("phone"));
}

QJsonValue LogRedactor::redact(const QJsonValue& value)
{
    if (value.isArray()) {
        QJsonArray out;
        const QJsonArray array = value.toArray();
        for (const QJsonValue& element : array)
            out.append(redact(element));
        return out;
    }
    if (value.isObject()) {
        QJsonObject out;
        const QJsonObject object = value.toObject();
        for (auto it = object.constBegin(); it != object.constEnd(); ++it)
            out.insert(it.key(), isSensitiveKey(it.key()) ? QJsonValue(kMask) : redact(it.value()));
        return out;
    }
    return value;
}

QString LogRedactor::redactBody(const QByteArray& body)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(body, &error);
    if (error.error != QJsonParseError::NoError || document.isNull())
        return QStringLiteral("<%1 bytes, not JSON>").arg(body.size());
    const QJsonValue redacted =
        document.isArray() ? redact(document.array()) : redact(document.object());
    const QJsonDocument out =
        redacted.isArray() ? QJsonDocument(redacted.toArray()) : QJsonDocument(redacted.toObject());
    return QString::fromUtf8(out.toJson(QJsonDocument::Compact));
}
