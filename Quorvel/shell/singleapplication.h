#ifndef SINGLEAPPLICATION_H
#define SINGLEAPPLICATION_H

#include <QApplication>

class SingleApplicationPrivate;

// The program's application object: only one instance runs per user and
// program file. A later start greets the running one and ends with status 0.
class SingleApplication : public QApplication
{
    Q_OBJECT
public:
    enum Option
    {
        PerUser = 1,
        NotifyOnSecondary = 4,
        IgnoreVersion = 8,
        IgnorePath = 16
    };

    SingleApplication(int& argc, char* argv[], bool allowSecondary = false, int options = PerUser,
                      int timeout = 100);
    ~SingleApplication() override;

    bool isPrimary() const;
    // Gives up the guard ahead of a restart so the new process can claim it.
    void releaseGuard();
    // Takes the guard again after a restart that did not start; true when
    // this process is the primary once more.
    bool reclaimGuard();

signals:
    void instanceStarted();
    void receivedMessage(uint instanceId, QByteArray message);

private:
    friend class SingleApplicationPrivate;
    SingleApplicationPrivate* d;
    int guardOptions;
    int guardTimeout;
};

#endif // SINGLEAPPLICATION_H
