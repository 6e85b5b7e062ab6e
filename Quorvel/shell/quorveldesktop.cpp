#include "shell/quorveldesktop.h"

#include "Managers/Poll/pollmanager.h"
#include "Managers/manager.h"
#include "Managers/quorveldesktopcore.h"
#include "foundation/simpleqtlogger.h"
#include "model/globalconstants.h"
#include "shell/connectionstatuswidget.h"
#include "shell/failuretoast.h"
#include "shell/guiapplicationcontrol.h"
#include "shell/messengermainwindow.h"
#include "shell/register.h"
#include "webapi/FileApi/uploadmanager.h"
#include "webapi/GeneralApi/procedurehandler.h"
#include "widgets/fonts.h"
#include "widgets/popupmanager.h"
#include "widgets/popupwarning.h"
#include "widgets/toastmessage.h"
#include "widgets/viewer.h"

#include <QDateTime>
#include <QPixmapCache>
#include <QThread>

namespace {
// How long quitting waits for the core thread to close its stores.
const int coreStopWaitMs = 10000;
} // namespace

QuorvelDesktop::QuorvelDesktop(QObject* parent) : QObject(parent)
{
    qputenv("QT_HARFBUZZ", "old");
    // The command channel crosses to the core's thread as queued calls: a type
    // not registered by then would drop every command silently.
    QuorvelDesktopCore::registerMetaTypes();
    qRegisterMetaType<ConnectionState>("ConnectionState");
    GlobalConstants::setAppVersion(QStringLiteral("0.4.2"));
    startTimer.setSingleShot(true);
    core = new QuorvelDesktopCore();
    // A log-out restarts the program through the GUI, which hands the
    // single-instance guard to the new process.
    core->getWebApi()->getProcedureHandler()->setApplicationControl(
        new GuiApplicationControl(this));
    coreThread = new QThread();
    core->moveToThread(coreThread);
    coreThread->start(QThread::InheritPriority);
    if (!core->isUserLoggedIn()) {
        showRegister();
        return;
    }
    L_DEBUG(QStringLiteral("QuorvelDesktop::QuorvelDesktop | before LoggedIn: ") +
            QString::number(QDateTime::currentMSecsSinceEpoch()));
    startMainWindow();
    L_DEBUG(QStringLiteral("QuorvelDesktop::QuorvelDesktop | after LoggedIn: ") +
            QString::number(QDateTime::currentMSecsSinceEpoch()));
}

QuorvelDesktop::~QuorvelDesktop()
{
    stopCore();
}

MessengerMainWindow* QuorvelDesktop::getMainWindow() const
{
    L_DEBUG(QStringLiteral("QuorvelDesktop::getMainWindow()"));
    return mainWindow;
}

void QuorvelDesktop::startMainWindow()
{
    mainWindow = new MessengerMainWindow();
    mainWindow->show();
    connect(&startTimer, &QTimer::timeout, core, &QuorvelDesktopCore::startLoading);
    connect(this, &QuorvelDesktop::initializeCore, core, &QuorvelDesktopCore::onInitialize);
    connect(mainWindow, &MessengerMainWindow::command, core->getManager(), &Manager::command);
    connect(core->getManager(), &Manager::commandResponse, mainWindow,
            &MessengerMainWindow::commandResponse);
    connect(core, &QuorvelDesktopCore::loadingFinished, this, &QuorvelDesktop::loadingFinished);
    connect(core->getWebApi()->getProcedureHandler(), &ProcedureHandler::result,
            mainWindow->getFailureToast(), &FailureToast::procedureResult);
    connect(PollManager::getInstance(), &PollManager::showToastMessage, ToastMessage::getInstance(),
            static_cast<void (ToastMessage::*)(const char*)>(&ToastMessage::showToastMessage));
    connect(UploadManager::getInstance(), &UploadManager::showToastMessage,
            ToastMessage::getInstance(),
            static_cast<void (ToastMessage::*)(const QString&)>(&ToastMessage::showToastMessage));
    startTimer.start(5);
    ConnectionStatusWidget::getInstance()->showLoading();
}

void QuorvelDesktop::showRegister()
{
    registerWindow = new Register();
    registerWindow->show();
    connect(registerWindow, &Register::startRegistration, core,
            &QuorvelDesktopCore::startRegisteration);
    connect(registerWindow, &Register::startActivation, core, &QuorvelDesktopCore::startActivation);
    connect(registerWindow, &Register::startIVRRequest, core, &QuorvelDesktopCore::startIVRRequest);
    connect(core->getWebApi()->getProcedureHandler(), &ProcedureHandler::result, registerWindow,
            &Register::apiResult);
    connect(registerWindow, &Register::activationCompleted, this,
            &QuorvelDesktop::activationCompleted);
}

void QuorvelDesktop::loadingFinished(QXmppClient::State)
{
    emit initializeCore();
}

void QuorvelDesktop::activationCompleted()
{
    startMainWindow();
    connect(core, &QuorvelDesktopCore::initializingFinished, mainWindow,
            &MessengerMainWindow::openProfile);
}

void QuorvelDesktop::stopCore()
{
    if (!coreThread || !coreThread->isRunning())
        return;
    L_DEBUG(QStringLiteral("QuorvelDesktop::aboutToQuit() | aboutTo terminate coreThread"));
    // The core closes its stores on its own thread; wait for that, then for
    // the thread itself, so nothing is cut off half-written.
    QMetaObject::invokeMethod(core, "aboutToQuit", Qt::BlockingQueuedConnection);
    coreThread->quit();
    if (!coreThread->wait(coreStopWaitMs))
        L_WARN(QStringLiteral("QuorvelDesktop::stopCore | the core thread did not end in time"));
}

void QuorvelDesktop::aboutToQuit()
{
    if (quitDone)
        return;
    quitDone = true;
    L_DEBUG(QStringLiteral("QuorvelDesktop::aboutToQuit() | #START"));
    stopCore();
    QuorvelDesktopCore::deleteGuiServices();
    PopupManager::deleteInstance();
    PopUpWarning::deleteInstance();
    Fonts::deleteInstance();
    ConnectionStatusWidget::deleteInstance();
    Viewer::deleteInstance();
    ToastMessage::deleteInstance();
    QPixmapCache::clear();
    L_DEBUG(QStringLiteral("QuorvelDesktop::aboutToQuit() | #END"));
}

void QuorvelDesktop::raiseWindow()
{
    if (mainWindow) {
        mainWindow->raiseWindow();
    } else if (registerWindow) {
        registerWindow->showNormal();
        registerWindow->raise();
        registerWindow->activateWindow();
    }
}

void QuorvelDesktop::closeApp()
{
    aboutToQuit();
}
