#ifndef CONNECTIONSTATUSWIDGET_H
#define CONNECTIONSTATUSWIDGET_H

#include <QMetaType>
#include <QWidget>

class QLabel;

// The chat-server connection as the GUI shows it.
enum ConnectionState
{
    Loading = 0,
    Disconnected = 1,
    Connecting = 2,
    Connected = 3
};
Q_DECLARE_METATYPE(ConnectionState)

// The strip on the top bar that tells the state of the chat connection.
class ConnectionStatusWidget : public QWidget
{
    Q_OBJECT
public:
    static ConnectionStatusWidget* getInstance();
    static void deleteInstance();

    void adjustPosition();
    void showLoading();
    QString text() const;

signals:
    void connected();
    void disconnected();

public slots:
    void xmppStateChanged(ConnectionState state);

private:
    ConnectionStatusWidget();
    QLabel* label;
};

#endif // CONNECTIONSTATUSWIDGET_H
