#ifndef QUORVELDESKTOP_H
#define QUORVELDESKTOP_H

#include <QObject>
#include <QTimer>
#include <QXmppClient.h>

class MessengerMainWindow;
class QThread;
class QuorvelDesktopCore;
class Register;

// The application controller: owns the core and its thread, and shows the
// sign-up window or the main window.
class QuorvelDesktop : public QObject
{
    Q_OBJECT
public:
    explicit QuorvelDesktop(QObject* parent = nullptr);
    ~QuorvelDesktop() override;

    MessengerMainWindow* getMainWindow() const;
    Register* getRegisterWindow() const { return registerWindow; }
    QuorvelDesktopCore* getCore() const { return core; }
    QThread* getCoreThread() const { return coreThread; }
    bool isLoadingArmed() const { return startTimer.isActive(); }

signals:
    void initializeCore();

public slots:
    void loadingFinished(QXmppClient::State state);
    void loadingStarted() {}
    void activationCompleted();
    void aboutToQuit();
    void closeApp();
    // Brings the window of this session to the front: the main window, or the
    // sign-up window while there is none.
    void raiseWindow();

private:
    void startMainWindow();
    void showRegister();
    void stopCore();

    QuorvelDesktopCore* core = nullptr;
    Register* registerWindow = nullptr;
    QThread* coreThread = nullptr;
    MessengerMainWindow* mainWindow = nullptr;
    QTimer startTimer;
    bool quitDone = false;
};

#endif // QUORVELDESKTOP_H
