#include "Managers/quorveldesktopcore.h"

#include "Managers/Chat/chatrecipient.h"
#include "Managers/Chat/chatwidgetdata.h"
#include "Managers/Contact/contact.h"
#include "Managers/Like/likemanager.h"
#include "Managers/Poll/pollmanager.h"
#include "Managers/Sticker/stickermanager.h"
#include "Managers/XMPP/xmppmanager.h"
#include "Managers/command.h"
#include "Managers/manager.h"
#include "foundation/connectivitychecker.h"
#include "foundation/filereader.h"
#include "foundation/pttplayer.h"
#include "foundation/simpleqtlogger.h"
#include "model/globalconstants.h"
#include "model/metatypes.h"
#include "webapi/FileApi/downloadmanager.h"
#include "webapi/FileApi/uploadmanager.h"
#include "webapi/GeneralApi/procedurehandler.h"

#include <QCoreApplication>

QuorvelDesktopCore::QuorvelDesktopCore(QObject* parent)
    : QObject(parent), webApi(nullptr), manager(nullptr)
{
    webApi.setParent(this);
    manager = new Manager(this);
    // Every random draw of the core (nonces, store seeds, message ids,
    // back-off delays) comes from QRandomGenerator, which seeds itself.
    connect(manager, &Manager::loadingFinished, this, &QuorvelDesktopCore::managerLoadingFinished);
}

QuorvelDesktopCore::~QuorvelDesktopCore()
{
    // webApi is a member; take it out of the child list before QObject's
    // destructor would delete it a second time.
    webApi.setParent(nullptr);
}

void QuorvelDesktopCore::registerMetaTypes()
{
    registerQuorvelMetaTypes();
    qRegisterMetaType<Command>("Command");
    qRegisterMetaType<Procedure>("Procedure");
    qRegisterMetaType<Contact>("Contact");
    qRegisterMetaType<QHash<QString, Contact>>("QHash<QString,Contact>");
    qRegisterMetaType<ChatRecipient>("ChatRecipient");
    qRegisterMetaType<QList<ChatRecipient>>("QList<ChatRecipient>");
    qRegisterMetaType<ChatWidgetData>("ChatWidgetData");
    qRegisterMetaType<QList<ChatWidgetData>>("QList<ChatWidgetData>");
    qRegisterMetaType<QXmppClient::State>("QXmppClient::State");
    qRegisterMetaType<MainSettings>("MainSettings");
}

bool QuorvelDesktopCore::isUserLoggedIn() const
{
    return webApi.getProcedureHandler()->isUserLoggedIn();
}

void QuorvelDesktopCore::startLoading()
{
    L_DEBUG(QStringLiteral("Start Loading"));
    webApi.checkForDeviceIdCorrection();
    manager->startLoading();
    connect(&webApi, &QuorvelWebApi::newDeviceIdSet, manager->getXmppManager(),
            &XMPPManager::newDeviceIdSet, Qt::UniqueConnection);
}

void QuorvelDesktopCore::transferSetting()
{
    const QString token = webApi.getSetting(QStringLiteral("Token"));
    const QString userName = webApi.getSetting(QStringLiteral("Username"));
    const QString hashMethod = webApi.getSetting(QStringLiteral("HashMethod"));
    GlobalConstants::setToken(token);
    GlobalConstants::setHashMethod(hashMethod);
    GlobalConstants::setLanguage(webApi.getSetting(QStringLiteral("Language")));
    // The name's one home: the identity this core's managers share (the
    // program's own, which the web layers read through GlobalConstants).
    manager->getUserIdentity()->setUserName(userName);
    manager->setToken(token);
    manager->setHashMethod(hashMethod);
}

void QuorvelDesktopCore::wireWebService()
{
    ProcedureHandler* handler = webApi.getProcedureHandler();
    connect(handler, &ProcedureHandler::result, manager, &Manager::result);
    connect(handler, &ProcedureHandler::replyReport, manager, &Manager::replyReport);
    connect(manager,
            static_cast<void (Manager::*)(Procedure, const QHash<QString, QJsonValue>&)>(
                &Manager::start),
            &webApi, &QuorvelWebApi::start);
    connect(manager, &Manager::removeAllSettings, &webApi, &QuorvelWebApi::removeAllSettings);
    PollManager* polls = PollManager::getInstance();
    connect(polls, &PollManager::start, handler, &ProcedureHandler::start);
    connect(handler, &ProcedureHandler::replyReport, polls, &PollManager::processReply);
    connect(handler, &ProcedureHandler::result, polls, &PollManager::result);
    connect(this, &QuorvelDesktopCore::stopThreads, ConnectivityChecker::getInstance(),
            &ConnectivityChecker::stopThread);
    connect(manager->getLikeManager(), &LikeManager::start, handler, &ProcedureHandler::start);
}

void QuorvelDesktopCore::managerLoadingFinished()
{
    transferSetting();
    wireWebService();
    emit loadingFinished(manager->getXmppManager()->getState());
}

void QuorvelDesktopCore::onInitialize()
{
    manager->onInitialize();
    emit initializingFinished();
}

void QuorvelDesktopCore::startRegisteration(const QString& phoneNo)
{
    webApi.startRegisteration(phoneNo);
}

void QuorvelDesktopCore::startActivation(const QString& pinCode)
{
    webApi.startActivation(pinCode);
}

void QuorvelDesktopCore::startIVRRequest()
{
    webApi.startIVRRequest();
}

void QuorvelDesktopCore::quit()
{
    L_DEBUG(QStringLiteral("QuorvelDesktopCore::quit"));
    QCoreApplication::quit();
}

void QuorvelDesktopCore::aboutToQuit()
{
    // Runs once, however many quit paths reach it.
    if (shutDown)
        return;
    shutDown = true;
    L_DEBUG(QStringLiteral("QuorvelDesktopCore::aboutToQuit"));
    // Only what lives on the core thread is taken down here; the services the
    // GUI created on its own thread go with deleteGuiServices() there.
    ConnectivityChecker::deleteInstance();
    manager->aboutToQuit();
}

void QuorvelDesktopCore::deleteGuiServices()
{
    PTTPlayer::deleteInstance();
    PollManager::deleteInstance();
    StickerManager::deleteInstance();
    DownloadManager::deleteInstance();
    FileReader::deleteInstance();
    UploadManager::deleteInstance();
}
