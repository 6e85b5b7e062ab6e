#ifndef LOCALSTACK_H
#define LOCALSTACK_H

#include "channelpusher.h"
#include "chatserver.h"
#include "grouproomkeeper.h"
#include "httpsservice.h"
#include "localservice.h"
#include "servicecertificates.h"
#include "servicestore.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>

// The whole stand-in on one machine, kept in one folder: the certificates
// (made at the first start), the service's store, the chat server and the
// HTTPS service, all on 127.0.0.1. The ports chosen at the first start are
// kept ("stack.json"), so clients that saved them find the stack again after
// a restart. Once serving, "client.env" holds the QUORVEL_* settings a
// program needs to use the stack and "service.pid" this process's id. The
// groups' room keeper signs in to the chat server with its own account, whose
// password is made at the first start and kept in "keeper.json" (owner only).
// A chat server that ends on its own (a crash, a kill) is started again.
class LocalStack : public QObject
{
    Q_OBJECT
public:
    struct Options
    {
        QString folder;
        // Used at the first start only (0: a free port).
        int webPort = 0;
        int chatPort = 0;
        // The code every sign-up gets ("" = random codes).
        QString demoCode;
        // Without the chat server (the web service alone).
        bool withChat = true;
    };

    explicit LocalStack(const Options& options, QObject* parent = nullptr);
    ~LocalStack() override;

    bool start();
    void stop();
    QString errorString() const { return error; }
    // The pid of a stack already serving from folder (0 when none).
    static qint64 runningPid(const QString& folder);

    QString webUrl() const;
    QString caFile() const;

private:
    bool loadPorts();
    bool prepareCertificates();
    bool startChat();
    bool startKeeper();
    bool writeWatchers();
    bool writeClientFiles();
    QString path(const QString& name) const;

    Options options;
    ServiceCertificates certificates;
    std::unique_ptr<ServiceStore> store;
    std::unique_ptr<HttpsService> http;
    std::unique_ptr<LocalService> service;
    ChatServer chat;
    std::unique_ptr<ChannelPusher> pusher;
    std::unique_ptr<GroupRoomKeeper> keeper;
    QTimer chatWatch;
    QString error;
};

#endif // LOCALSTACK_H
