#ifndef SINGLEAPPLICATIONPRIVATE_H
#define SINGLEAPPLICATIONPRIVATE_H

#include <QObject>
#include <QString>

class QLocalServer;
class QLocalSocket;
class QSharedMemory;
class SingleApplication;

// State and wire logic of the single-instance guard: the shared block that
// says whether a primary listens, the primary's local server and the greeting
// a later start sends it.
class SingleApplicationPrivate : public QObject
{
    Q_OBJECT
public:
    enum ConnectionType : char
    {
        NewInstance = 'N',
        SecondaryInstance = 'S'
    };

    SingleApplicationPrivate(SingleApplication* owner, int options);
    ~SingleApplicationPrivate() override;

    // True when this process may run on (it became primary or secondary).
    bool claim(bool allowSecondary, int timeout);
    bool isPrimary() const { return server != nullptr; }
    QString key() const { return instanceKey; }

    static QString deriveInstanceKey(int options);
    static QByteArray checksumText(const QByteArray& bytes);
    static QByteArray greeting(const QString& key, char type, quint32 number);

private slots:
    void onPeerConnected();

private:
    void startPrimary(bool reset);
    bool announceToPrimary(int timeout, char type);
    void onPeerData(QLocalSocket* peer, quint32 number);
    void onPeerClosed(QLocalSocket* peer, quint32 number);

    QSharedMemory* memory = nullptr;
    SingleApplication* app = nullptr;
    QLocalSocket* socket = nullptr;
    QLocalServer* server = nullptr;
    quint32 instanceNumber = 0;
    QString instanceKey;
    int options = 0;
};

#endif // SINGLEAPPLICATIONPRIVATE_H
