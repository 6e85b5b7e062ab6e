#ifndef QUORVELDESKTOPCORE_H
#define QUORVELDESKTOPCORE_H

#include "foundation/datetimecalibrator.h"
#include "foundation/quorvelcore_export.h"
#include "webapi/quorvelwebapi.h"

#include <QObject>
#include <QXmppClient.h>

class Manager;

// The object through which the GUI brings the core to life. The GUI moves it
// to the core thread; it then loads the managers one after another, connects
// them to the web service only once loading has ended, initialises them on
// request and shuts them down in order.
class QUORVELCORE_EXPORT QuorvelDesktopCore : public QObject
{
    Q_OBJECT
public:
    explicit QuorvelDesktopCore(QObject* parent = nullptr);
    ~QuorvelDesktopCore() override;

    // Called directly by the GUI at start-up, before the core thread runs
    // anything, to choose between sign-up and the main window.
    bool isUserLoggedIn() const;

    Manager* getManager() const { return manager; }
    QuorvelWebApi* getWebApi() { return &webApi; }

    // Registers every type that crosses the thread boundary in queued calls.
    static void registerMetaTypes();
    // Deletes the services that the GUI creates and uses on its own thread
    // (voice playback, polls, stickers, downloads, file reading, uploads).
    // The GUI calls it on that thread once the core has shut down.
    static void deleteGuiServices();

public slots:
    void startLoading();
    void managerLoadingFinished();
    void onInitialize();
    void startRegisteration(const QString& phoneNo);
    void startActivation(const QString& pinCode);
    void startIVRRequest();
    void quit();
    void aboutToQuit();

signals:
    void stopThreads();
    void loadingFinished(QXmppClient::State state);
    void initializingFinished();

private:
    void transferSetting();
    void wireWebService();

    QuorvelWebApi webApi;
    Manager* manager;
    DateTimeCalibrator calibrator;
    bool shutDown = false;
};

#endif // QUORVELDESKTOPCORE_H
