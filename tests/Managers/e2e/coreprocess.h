#ifndef COREPROCESS_H
#define COREPROCESS_H

#include <QJsonObject>
#include <QList>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>

#include <functional>

// One core running in its own process (the line-driven test program), with
// every line it printed kept in order.
class CoreProcess : public QObject
{
    Q_OBJECT
public:
    CoreProcess(const QString& name, const QProcessEnvironment& environment);
    ~CoreProcess() override;

    bool start();
    // Orderly shut-down through standard input; killed when it hangs.
    bool stop(int timeoutMs = 20000);
    bool isRunning() const { return process.state() != QProcess::NotRunning; }

    void send(int command, const QJsonValue& value = QJsonValue());
    // Any other input line of the line-driven core (see quorvelcorecli.cpp).
    void sendLine(const QJsonObject& line);

    // Waits until a line (printed after line `from`) satisfies the test;
    // returns its index or -1 on time-out.
    using Match = std::function<bool(const QJsonObject&)>;
    int waitFor(const Match& match, int timeoutMs, int from = 0);
    int count(const Match& match, int from = 0) const;

    QList<QJsonObject> lines() const { return output; }
    int lineCount() const { return output.size(); }
    // The last few lines, for failure messages.
    QString tail(int count = 15) const;
    QString name() const { return label; }

    static Match answer(int command);
    static Match event(const QString& name);

private:
    void readOutput();

    QString label;
    QProcess process;
    QByteArray pending;
    QList<QJsonObject> output;
};

#endif // COREPROCESS_H
