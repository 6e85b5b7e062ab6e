#ifndef WINDOWPEERSTACK_H
#define WINDOWPEERSTACK_H

#include "Managers/command.h"
#include "coreprocess.h"

#include <QHash>
#include <QList>
#include <QPair>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QTranslator>
#include <QVariant>

#include <memory>
#include <vector>

class ChatMessageWidget;
class ChatWindow;
class ContactSelect;
class CreateGroup;
class GroupProfile;
class MessengerMainWindow;
class QuorvelDesktopCore;

// The answers of the in-process core as the GUI thread received them.
class AnswerLog : public QObject
{
    Q_OBJECT
public:
    QList<QPair<int, QVariant>> answers;
    // Off, nothing more is kept (a long run's answers would add up).
    bool keep = true;
    bool contains(Command command) const;
    // The last answer of that command, or an invalid value.
    QVariant last(Command command) const;
public slots:
    void record(Command command, QVariant value)
    {
        if (keep)
            answers.append({int(command), value});
    }
};

// A person at the program: the main window with a real core on its own thread
// in this process, wired as the program wires them, and a line-driven core in
// another process; both sign up with the standalone local service (its web
// service, file host and chat server on loopback).
class WindowPeerStack : public QObject
{
    Q_OBJECT
public:
    WindowPeerStack(const QString& windowPhone, const QString& peerPhone);
    ~WindowPeerStack() override;

    // Starts the service and the peer, builds the window and its core and
    // begins the window user's sign-up; false (with the reason in failure())
    // when something did not start.
    bool start();
    // Waits until both cores have loaded, shows the window and makes the two
    // users each other's contacts (the window's user as "Ada", the peer's as
    // "Bo").
    bool loadAndBefriend();
    // One more person on a line-driven core, signed up with the same service
    // and made the window user's contact under the first name; none when it
    // did not start or did not meet the window's user.
    CoreProcess* addPeer(const QString& label, const QString& phone, const QString& firstName);
    // Quits the window and its core as the program does, then starts both
    // again on the same data, already signed in; false when the new core
    // did not load.
    bool restartWindow();
    // The same for the peer's core process.
    bool restartPeer();
    // Types text into a widget key by key (any characters, unlike keyClicks).
    static void typeText(QWidget* input, const QString& text);
    // "New group" from the side menu, the name typed and Next clicked: the
    // form at its second step, or null when a step did not come.
    CreateGroup* newGroupFormNamed(const QString& name) const;
    // The open group chat's profile, opened with a click on the chat's
    // title; null when it did not show.
    GroupProfile* openGroupProfile() const;
    // The profile's add-member button clicked once it shows: the contact
    // picker it opened, or null.
    ContactSelect* openAddMemberPicker(GroupProfile* profile) const;
    // The program's Persian catalogue, installed as the program does at
    // start; false when it cannot be read.
    bool installCatalogue();
    // The window's picture, saved under the build folder's screenshots.
    bool saveShot(const QString& name) const;
    // A group notice's words on the board (the catalogue's sentence, right to
    // left, with the name isolated in it).
    static QString noticeText(const char* key, const QString& name);
    // What went wrong, with the peer's last lines and the service's log.
    QString failure(const QString& what) const;

    MessengerMainWindow* window() const { return mainWindow.get(); }
    ChatWindow* chatWindow() const;
    // The bubble of the open chat whose body is the text (the last of them),
    // and how many there are.
    ChatMessageWidget* bubbleWithText(const QString& text, int* count = nullptr) const;
    CoreProcess* peer() const { return peerCore.get(); }
    QuorvelDesktopCore* core() const { return windowCore; }
    const AnswerLog& answers() const { return log; }
    void keepAnswers(bool keep) { log.keep = keep; }
    QString folder() const { return root.path(); }
    QString windowPhone() const { return phoneA; }
    QString peerPhone() const { return phoneB; }

private:
    std::unique_ptr<CoreProcess> startCore(const QString& label, const QString& phone);
    // The window's user adds the peer under its first name, the peer adds
    // the window's user as "Ada"; true when both lists show it.
    bool befriend(CoreProcess* other, const QString& phone, const QString& firstName);
    // The program's own wiring: the core on its thread, the window's
    // commands queued to it and its answers queued back.
    void buildWindow();
    void stopWindow();

    QString phoneA;
    QString phoneB;
    QTranslator catalogue;
    QTemporaryDir root;
    QProcess service;
    QString serviceLog;
    QHash<QString, QString> clientEnv;
    std::unique_ptr<CoreProcess> peerCore;
    std::vector<std::unique_ptr<CoreProcess>> morePeers;
    QThread thread;
    QuorvelDesktopCore* windowCore = nullptr;
    std::unique_ptr<MessengerMainWindow> mainWindow;
    AnswerLog log;
    bool signedUp = false;
    bool loaded = false;
};

#endif // WINDOWPEERSTACK_H
