#include "windowpeerstack.h"

#include "Managers/Contact/contact.h"
#include "Managers/manager.h"
#include "Managers/quorveldesktopcore.h"
#include "chat/chatmessagewidget.h"
#include "chat/chatwindow.h"
#include "chat/chatwindowtitle.h"
#include "corematches.h"
#include "foundation/serviceconfig.h"
#include "model/globalconstants.h"
#include "screens/creategroup.h"
#include "screens/groupprofile.h"
#include "shell/contentpanel.h"
#include "shell/failuretoast.h"
#include "shell/menuitem.h"
#include "shell/messengermainwindow.h"
#include "shell/slidingmenu.h"
#include "shell/stylesheetloader.h"
#include "shell/topmenu.h"
#include "webapi/GeneralApi/procedurehandler.h"
#include "webapi/quorvelwebapi.h"
#include "widgets/addressbook.h"
#include "widgets/contactselect.h"
#include "widgets/currentuser.h"
#include "widgets/customlineedit.h"
#include "widgets/flatbutton.h"
#include "widgets/iconbutton.h"
#include "widgets/interfacescale.h"
#include "widgets/popupmanager.h"
#include "widgets/popupwarning.h"
#include "widgets/toastmessage.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QTest>

using namespace corematch;

namespace {
const QString kCode = QStringLiteral("97531");

QJsonObject typedContact(const QString& number, const QString& firstName)
{
    return {{"Number", number},   {"FirstName", firstName},
            {"MemberID", number}, {"Nickname", ""},
            {"Motto", ""},        {"CanReply", "1"},
            {"AvatarURL", ""},    {"AvatarThumbnailURL", ""}};
}

bool waitUntil(const std::function<bool()>& done, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < timeoutMs)
        QTest::qWait(50);
    return done();
}
} // namespace

bool AnswerLog::contains(Command command) const
{
    for (const auto& a : answers) {
        if (a.first == command)
            return true;
    }
    return false;
}

QVariant AnswerLog::last(Command command) const
{
    for (int i = answers.size() - 1; i >= 0; --i) {
        if (answers.at(i).first == command)
            return answers.at(i).second;
    }
    return QVariant();
}

WindowPeerStack::WindowPeerStack(const QString& windowPhone, const QString& peerPhone)
    : phoneA(windowPhone), phoneB(peerPhone)
{
}

WindowPeerStack::~WindowPeerStack()
{
    stopWindow();
    if (peerCore)
        peerCore->stop();
    for (auto& more : morePeers)
        more->stop();
    if (service.state() != QProcess::NotRunning) {
        service.terminate();
        service.waitForFinished(30000);
    }
}

void WindowPeerStack::stopWindow()
{
    mainWindow.reset();
    if (!windowCore)
        return;
    QMetaObject::invokeMethod(windowCore, "aboutToQuit", Qt::BlockingQueuedConnection);
    QMetaObject::invokeMethod(
        windowCore, [this] { windowCore->deleteLater(); }, Qt::BlockingQueuedConnection);
    thread.quit();
    thread.wait();
    windowCore = nullptr;
    QuorvelDesktopCore::deleteGuiServices();
    // What the program lets go of on quit with its window.
    PopupManager::deleteInstance();
    PopUpWarning::deleteInstance();
    ToastMessage::deleteInstance();
    AddressBook::deleteInstance();
}

void WindowPeerStack::buildWindow()
{
    windowCore = new QuorvelDesktopCore();
    windowCore->moveToThread(&thread);
    thread.start();
    mainWindow = std::make_unique<MessengerMainWindow>();
    loadStyleSheet(mainWindow.get());
    mainWindow->resize(1100, 760);
    connect(mainWindow.get(), &MessengerMainWindow::command, windowCore->getManager(),
            &Manager::command, Qt::QueuedConnection);
    connect(windowCore->getManager(), &Manager::commandResponse, mainWindow.get(),
            &MessengerMainWindow::commandResponse, Qt::QueuedConnection);
    connect(windowCore->getManager(), &Manager::commandResponse, &log, &AnswerLog::record,
            Qt::QueuedConnection);
    // The service's refusals of the person's actions reach the failure toast.
    connect(windowCore->getWebApi()->getProcedureHandler(), &ProcedureHandler::result,
            mainWindow->getFailureToast(), &FailureToast::procedureResult, Qt::QueuedConnection);
    connect(
        windowCore, &QuorvelDesktopCore::loadingFinished, this,
        [this] {
            loaded = true;
            QMetaObject::invokeMethod(windowCore, "onInitialize", Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
}

bool WindowPeerStack::restartWindow()
{
    stopWindow();
    loaded = false;
    buildWindow();
    if (!windowCore->isUserLoggedIn())
        return false;
    QMetaObject::invokeMethod(windowCore, "startLoading", Qt::QueuedConnection);
    if (!waitUntil([this] { return loaded; }, 60000))
        return false;
    mainWindow->show();
    return true;
}

bool WindowPeerStack::restartPeer()
{
    if (!peerCore->stop())
        return false;
    const int from = peerCore->lineCount();
    return peerCore->start() &&
           peerCore->waitFor(CoreProcess::event("loadingFinished"), 60000, from) >= 0;
}

void WindowPeerStack::typeText(QWidget* input, const QString& text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::KeyAction::Click, input, Qt::Key_unknown, c, Qt::NoModifier);
}

CreateGroup* WindowPeerStack::newGroupFormNamed(const QString& name) const
{
    const auto click = [](QWidget* w) {
        QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, w->rect().center());
    };
    click(mainWindow->getTopMenu()->getMenuButton());
    SlidingMenu* menu = mainWindow->getSlidingMenu();
    if (!QTest::qWaitFor([menu] { return menu->isVisible(); }, 5000))
        return nullptr;
    MenuItem* newGroup = nullptr;
    for (MenuItem* item : menu->findChildren<MenuItem*>()) {
        if (item->getId() == QLatin1String("CreateGroup"))
            newGroup = item;
    }
    if (!newGroup)
        return nullptr;
    QTest::mousePress(newGroup, Qt::LeftButton);
    CreateGroup* form = mainWindow->getCreateGroup();
    if (!QTest::qWaitFor([form] { return form->isVisible(); }, 5000))
        return nullptr;
    click(form->nameField());
    typeText(form->nameField(), name);
    click(form->nextButton());
    return QTest::qWaitFor([form] { return form->stepTwo()->isVisible(); }, 5000) ? form : nullptr;
}

GroupProfile* WindowPeerStack::openGroupProfile() const
{
    ChatWindow* chat = chatWindow();
    if (!chat)
        return nullptr;
    QTest::mouseClick(chat->title(), Qt::LeftButton, Qt::NoModifier,
                      chat->title()->rect().center());
    GroupProfile* profile = chat->groupPanel();
    return profile && QTest::qWaitFor([profile] { return profile->isVisible(); }, 5000) ? profile
                                                                                        : nullptr;
}

ContactSelect* WindowPeerStack::openAddMemberPicker(GroupProfile* profile) const
{
    FlatButton* add = profile->addMemberButton();
    if (!QTest::qWaitFor([add] { return add->isVisible(); }, 30000))
        return nullptr;
    QTest::mouseClick(add, Qt::LeftButton, Qt::NoModifier, add->rect().center());
    ContactSelect* picker = profile->contactPicker();
    return picker && QTest::qWaitFor([picker] { return picker->isVisible(); }, 5000) ? picker
                                                                                     : nullptr;
}

bool WindowPeerStack::installCatalogue()
{
    if (!catalogue.load(QStringLiteral(":/Lng/quorvel_persian.qm")))
        return false;
    QCoreApplication::installTranslator(&catalogue);
    return true;
}

bool WindowPeerStack::saveShot(const QString& name) const
{
    const QString folder = QStringLiteral(QUORVEL_BINARY_DIR "/screenshots");
    QApplication::processEvents();
    return mainWindow && QDir().mkpath(folder) &&
           mainWindow->grab().save(folder + QLatin1Char('/') + name);
}

QString WindowPeerStack::noticeText(const char* key, const QString& name)
{
    return QChar(0x200F) + QCoreApplication::translate("GroupNotice", key)
                               .arg(QChar(0x2068) + name + QChar(0x2069));
}

QString WindowPeerStack::failure(const QString& what) const
{
    QString text = what;
    if (peerCore)
        text += QLatin1Char('\n') + peerCore->tail();
    QFile file(serviceLog);
    if (file.open(QIODevice::ReadOnly))
        text += QStringLiteral("\nservice: ") + QString::fromUtf8(file.readAll().right(2000));
    return text;
}

ChatWindow* WindowPeerStack::chatWindow() const
{
    return mainWindow ? mainWindow->getContentPanel()->currentWidget() : nullptr;
}

ChatMessageWidget* WindowPeerStack::bubbleWithText(const QString& text, int* count) const
{
    ChatMessageWidget* found = nullptr;
    int n = 0;
    if (ChatWindow* w = chatWindow()) {
        for (const QString& id : w->boardMessageIds()) {
            ChatMessageWidget* b = w->bubble(id);
            if (b && b->bodyPlainText() == text) {
                found = b;
                ++n;
            }
        }
    }
    if (count)
        *count = n;
    return found;
}

bool WindowPeerStack::start()
{
    if (!root.isValid())
        return false;
    serviceLog = root.filePath(QStringLiteral("localservice.log"));
    if (!startLocalService(&service, QStringLiteral(QUORVEL_LOCALSERVICE),
                           root.filePath(QStringLiteral("stack")), serviceLog, kCode, &clientEnv))
        return false;
    // This process is the program: the same service settings as the peer's.
    for (auto it = clientEnv.constBegin(); it != clientEnv.constEnd(); ++it)
        qputenv(it.key().toUtf8().constData(), it.value().toUtf8());
    QCoreApplication::setOrganizationName(QStringLiteral("Quorvel"));
    QCoreApplication::setApplicationName(QStringLiteral("Quorvel Desktop"));
    GlobalConstants::setAppVersion(QStringLiteral("0.4.2"));
    QuorvelDesktopCore::registerMetaTypes();
    ServiceConfig::installExtraCaCertificates();
    initInterfaceMetrics();

    peerCore = startCore(QStringLiteral("B"), phoneB);
    if (!peerCore)
        return false;

    buildWindow();
    connect(
        windowCore->getWebApi()->getProcedureHandler(), &ProcedureHandler::result, this,
        [this](Procedure procedure, int code) {
            if (procedure == PROC_Register && code == 200)
                QMetaObject::invokeMethod(windowCore, "startActivation", Qt::QueuedConnection,
                                          Q_ARG(QString, kCode));
            else if (procedure == PROC_Activation && code == 200 && !signedUp) {
                signedUp = true;
                QTimer::singleShot(5, windowCore, &QuorvelDesktopCore::startLoading);
            }
        },
        Qt::QueuedConnection);
    QMetaObject::invokeMethod(windowCore, "startRegisteration", Qt::QueuedConnection,
                              Q_ARG(QString, phoneA));
    return true;
}

std::unique_ptr<CoreProcess> WindowPeerStack::startCore(const QString& label, const QString& phone)
{
    QProcessEnvironment env;
    if (!privateEnvironment(root.filePath(label), &env))
        return nullptr;
    for (auto it = clientEnv.constBegin(); it != clientEnv.constEnd(); ++it)
        env.insert(it.key(), it.value());
    env.insert("QUORVEL_PHONE", phone);
    env.insert("QUORVEL_PIN", kCode);
    auto started = std::make_unique<CoreProcess>(label, env);
    if (!started->start())
        return nullptr;
    return started;
}

CoreProcess* WindowPeerStack::addPeer(const QString& label, const QString& phone,
                                      const QString& firstName)
{
    std::unique_ptr<CoreProcess> other = startCore(label, phone);
    if (!other || other->waitFor(CoreProcess::event("loadingFinished"), 60000) < 0 ||
        !befriend(other.get(), phone, firstName))
        return nullptr;
    morePeers.push_back(std::move(other));
    return morePeers.back().get();
}

bool WindowPeerStack::befriend(CoreProcess* other, const QString& phone, const QString& firstName)
{
    const int known = log.answers.size();
    Contact contact;
    contact.setNumber(phone);
    contact.setFirstName(firstName);
    emit mainWindow->command(CMD_AddContact, QVariant::fromValue(contact));
    const int from = other->lineCount();
    other->send(kCmdAddContact, typedContact(phoneA, QStringLiteral("Ada")));
    if (other->waitFor(answerWith(kCmdUpdateContact, phoneA), 30000, from) < 0 &&
        other->waitFor(answerWith(kCmdAddContact, phoneA), 1000, from) < 0)
        return false;
    return waitUntil(
        [this, known, phone] {
            for (int i = known; i < log.answers.size(); ++i) {
                const auto& answer = log.answers.at(i);
                if ((answer.first == CMD_UpdateContact || answer.first == CMD_AddContact) &&
                    answer.second.value<Contact>().getNumber() == phone)
                    return true;
            }
            return false;
        },
        30000);
}

bool WindowPeerStack::loadAndBefriend()
{
    if (!waitUntil([this] { return loaded; }, 60000) ||
        peerCore->waitFor(CoreProcess::event("loadingFinished"), 60000) < 0 ||
        !waitUntil([] { return !currentUserName.isEmpty(); }, 30000))
        return false;
    mainWindow->show();
    return befriend(peerCore.get(), phoneB, QStringLiteral("Bo"));
}
