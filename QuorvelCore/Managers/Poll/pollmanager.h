#ifndef POLLMANAGER_H
#define POLLMANAGER_H

#include "foundation/database.h"
#include "foundation/quorvelcore_export.h"
#include "model/polldata.h"
#include "model/pollresult.h"
#include "model/uisetting.h"
#include "webapi/GeneralApi/procedure.h"

#include <QHash>
#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QObject>
#include <QPair>
#include <QString>

// The poll service of the GUI thread: votes, results and the user's own vote
// per poll, kept in "pollManagerDB_". It never touches the network: it emits
// start() for the web-service client and hears every reply and result back.
// Votes and result requests in flight are kept in the order they were asked
// for, which is the order the single-flight procedure queue answers them in.
class QUORVELCORE_EXPORT PollManager : public QObject
{
    Q_OBJECT
public:
    static PollManager* getInstance();
    static void deleteInstance();

    void startPollCreate(const PollData& poll, bool viewResults);
    void startPollChangeStatus(const QString& pollId, const QString& newPollStatus,
                               const QString& newViewResultStatus);
    // A vote needs a poll id; one without is refused (logged).
    void startPollVote(const QString& pollId, const QString& answer,
                       const QString& comment = QString());
    void startPollResults(const QString& pollId);
    void startPollViewResultsToken(const QString& pollId);

    // False (and *vote untouched) when no vote is stored for the poll.
    bool getUserVote(const QString& pollId, QString* vote) const;
    void saveUserVote(const QString& pollId, const QString& vote);

    // Safe from any thread: the copy is applied on this object's own thread
    // by a queued call, never written from the caller's.
    void setSetting(const UISetting& setting);

    QString getUserName() const { return userName; }
    void setUserName(const QString& value) { userName = value; }
    QString getHashMethod() const { return hashMethod; }
    void setHashMethod(const QString& value) { hashMethod = value; }
    QString getToken() const { return token; }
    void setToken(const QString& value) { token = value; }

    // The translation key shown for a poll result code, or null for a code
    // that shows nothing.
    static const char* toastForCode(int code);

public slots:
    void processReply(Procedure pro, const QJsonObject& reply);
    void result(Procedure pro, int outcome);

signals:
    void start(Procedure pro, const QHash<QString, QJsonValue>& inputs);
    void voteSubmitted(const QString& lastVoted, const QString& lastUserVote);
    void resultsReady(const PollResult& result);
    void showToastMessage(const char* ch);

private:
    PollManager();
    void applySetting(const UISetting& setting);
    void processResults(const QJsonObject& reply);

    QString userName;
    QString hashMethod;
    QString token;
    // (poll id, answer) of each vote sent and not yet answered, oldest first.
    QList<QPair<QString, QString>> votesInFlight;
    // Poll ids of the result requests not yet answered, oldest first.
    QList<QString> resultsInFlight;
    DataBase store;
};

#endif // POLLMANAGER_H
