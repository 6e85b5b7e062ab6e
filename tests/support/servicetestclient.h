#ifndef SERVICETESTCLIENT_H
#define SERVICETESTCLIENT_H

#include "testcertificates.h"
#include "testcrypto.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSignalSpy>
#include <QSslConfiguration>
#include <QUuid>

// A client of the local service that computes every value the way the
// program's packets carry it, but from OpenSSL directly: request ids,
// verification tokens, the token's decryption and signatures.
class ServiceTestClient
{
public:
    struct Answer
    {
        int httpStatus = 0;
        QByteArray body;
        QJsonObject json;
        QByteArray header(const QByteArray& name) const { return headers.value(name.toLower()); }
        QHash<QByteArray, QByteArray> headers;
        int code() const { return json.value("ResultCode").toInt(-1); }
    };

    struct Account
    {
        QString phone;
        QString username;
        QString token;
        QString hashMethod = QStringLiteral("SHA256");
    };

    // ca: the authority the service's certificate is checked against.
    explicit ServiceTestClient(
        const QString& baseUrl,
        const QSslCertificate& ca = TestCertificates::shared().caCertificate())
        : base(baseUrl), authority(ca)
    {
    }

    Answer send(const QString& path, const QByteArray& body,
                const QByteArray& contentType = "application/json")
    {
        QNetworkRequest request(QUrl(base + path));
        QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
        tls.setCaCertificates({authority});
        request.setSslConfiguration(tls);
        request.setHeader(QNetworkRequest::ContentTypeHeader, contentType);
        return answerOf(network.post(request, body));
    }

    // A plain GET, as downloads of the file host are made.
    Answer get(const QString& path)
    {
        QNetworkRequest request(QUrl(base + path));
        QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
        tls.setCaCertificates({authority});
        request.setSslConfiguration(tls);
        return answerOf(network.get(request));
    }

    // Waits for the reply and takes everything it brought.
    static Answer answerOf(QNetworkReply* reply)
    {
        QSignalSpy finished(reply, &QNetworkReply::finished);
        if (!reply->isFinished())
            finished.wait(15000);
        Answer answer;
        answer.httpStatus = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        answer.body = reply->readAll();
        answer.json = QJsonDocument::fromJson(answer.body).object();
        for (const auto& pair : reply->rawHeaderPairs())
            answer.headers.insert(pair.first.toLower(), pair.second);
        reply->deleteLater();
        return answer;
    }

    Answer sendJson(const QString& path, const QJsonObject& body)
    {
        return send(path, QJsonDocument(body).toJson(QJsonDocument::Compact));
    }

    // The compact body with "Username", "HashMethod" and a valid "AuthValue",
    // and a fresh "RequestId" unless fields name one (an empty name: none).
    static QByteArray signedBody(const Account& account, QJsonObject fields)
    {
        if (!fields.contains("RequestId"))
            fields.insert("RequestId", QUuid::createUuid().toString(QUuid::Id128));
        else if (fields.value("RequestId").toString().isEmpty())
            fields.remove("RequestId");
        fields.insert("Username", account.username);
        fields.insert("HashMethod", account.hashMethod);
        fields.insert("AuthValue", "");
        const QByteArray unsignedText = QJsonDocument(fields).toJson(QJsonDocument::Compact);
        fields.insert("AuthValue", TestCrypto::digestHex(account.hashMethod,
                                                         unsignedText + account.token.toUtf8()));
        return QJsonDocument(fields).toJson(QJsonDocument::Compact);
    }

    Answer call(const Account& account, const QString& path, const QJsonObject& fields = {})
    {
        return send(path, signedBody(account, fields));
    }

    static QJsonObject registerBody(const QString& phone,
                                    const QString& nonce = "ClientNonce01234567",
                                    const QString& timestamp = "1700000000123")
    {
        return {
            {"PhoneNo", phone},
            {"DeviceId", "device-" + phone},
            {"ClientNonce", nonce},
            {"ClientTimestamp", timestamp},
            {"Language", "EN"},
            {"RequestId", TestCrypto::digestHex("SHA256", (timestamp + nonce + phone).toUtf8())}};
    }

    // Register reply first, then the activation with code; the account's
    // token decrypted from the activation reply ("" when it failed).
    Account signUp(const QString& phone, const QString& code, Answer* activation = nullptr)
    {
        const QJsonObject sent = registerBody(phone);
        const Answer registered = sendJson("register/", sent);
        Account account;
        account.phone = phone;
        account.hashMethod = registered.json.value("HashMethod").toString();
        const Answer activated = sendJson(
            "activation/", {{"PhoneNo", phone},
                            {"VerificationToken", verificationToken(registered.json, phone, code)},
                            {"HashMethod", account.hashMethod},
                            {"EncryptionMethod", registered.json.value("EncryptionMethod")}});
        if (activation)
            *activation = activated;
        account.username = activated.json.value("Username").toString();
        const QString cipher = registered.json.value("EncryptionMethod").toString();
        const QByteArray key =
            TestCrypto::digest(account.hashMethod,
                               (account.username + sent.value("ClientTimestamp").toString() +
                                sent.value("ClientNonce").toString())
                                   .toUtf8())
                .toHex()
                .left(TestCrypto::keySize(cipher));
        account.token = QString::fromUtf8(TestCrypto::aesCbcDecrypt(
            cipher, key, QByteArray::fromBase64(activated.json.value("Iv").toString().toLatin1()),
            QByteArray::fromBase64(activated.json.value("EToken").toString().toLatin1())));
        return account;
    }

    static QString verificationToken(const QJsonObject& registerReply, const QString& phone,
                                     const QString& code)
    {
        return TestCrypto::digestHex(registerReply.value("HashMethod").toString(),
                                     (phone + code +
                                      registerReply.value("ServerTimestamp").toString() +
                                      registerReply.value("ServerNonce").toString())
                                         .toUtf8());
    }

private:
    QString base;
    QSslCertificate authority;
    QNetworkAccessManager network;
};

#endif // SERVICETESTCLIENT_H
