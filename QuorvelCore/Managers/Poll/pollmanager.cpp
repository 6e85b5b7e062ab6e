#include "Managers/Poll/pollmanager.h"

#include "foundation/simpleqtlogger.h"

#include <QJsonDocument>
#include <QMetaObject>

namespace {
PollManager* pollManagerInstance = nullptr;

const char* const kStoreName = "pollManagerDB_";
} // namespace

PollManager* PollManager::getInstance()
{
    if (!pollManagerInstance)
        pollManagerInstance = new PollManager();
    return pollManagerInstance;
}

void PollManager::deleteInstance()
{
    L_DEBUG(QStringLiteral("PollManager::deleteInstance() | ") +
            QString::number(reinterpret_cast<quintptr>(pollManagerInstance), 16));
    delete pollManagerInstance;
    pollManagerInstance = nullptr;
}

PollManager::PollManager() : store(QString::fromLatin1(kStoreName)) {}

const char* PollManager::toastForCode(int code)
{
    switch (code) {
    case 350:
        return "_pollNotFound";
    case 351:
        return "_pollDisabled";
    case 352:
        return "_invalidPollData";
    case 353:
        return "_alreadyVoted";
    case 354:
        return "_notAllowedToVote";
    case 355:
        return "_invalidVoteData";
    case 356:
        return "_resultDisabled";
    default:
        return nullptr;
    }
}

void PollManager::startPollCreate(const PollData& poll, bool viewResults)
{
    emit start(PROC_PollCreate, {{QStringLiteral("PollViewResultStatus"),
                                  viewResults ? QStringLiteral("1") : QStringLiteral("0")},
                                 {QStringLiteral("PollData"), poll.toJsonObject()}});
}

void PollManager::startPollChangeStatus(const QString& pollId, const QString& newPollStatus,
                                        const QString& newViewResultStatus)
{
    emit start(PROC_PollChangeStatus,
               {{QStringLiteral("PollID"), pollId},
                {QStringLiteral("NewPollStatus"), newPollStatus},
                {QStringLiteral("NewViewResultStatus"), newViewResultStatus}});
}

void PollManager::startPollVote(const QString& pollId, const QString& answer,
                                const QString& comment)
{
    if (pollId.isEmpty()) {
        L_WARN(QStringLiteral("PollManager::startPollVote | a vote without a poll id is refused"));
        return;
    }
    votesInFlight.append(qMakePair(pollId, answer));
    const QJsonObject voteData{{QStringLiteral("QuestionAnswer"), answer},
                               {QStringLiteral("QuestionComment"), comment}};
    emit start(PROC_PollVote,
               {{QStringLiteral("PollID"), pollId}, {QStringLiteral("VoteData"), voteData}});
}

void PollManager::startPollResults(const QString& pollId)
{
    resultsInFlight.append(pollId);
    emit start(PROC_PollResults, {{QStringLiteral("PollID"), pollId}});
}

void PollManager::startPollViewResultsToken(const QString& pollId)
{
    emit start(PROC_PollViewResultsToken, {{QStringLiteral("PollID"), pollId}});
}

bool PollManager::getUserVote(const QString& pollId, QString* vote) const
{
    if (pollId.isEmpty())
        return false;
    return store.get(pollId, vote);
}

void PollManager::saveUserVote(const QString& pollId, const QString& vote)
{
    if (pollId.isEmpty()) {
        L_WARN(QStringLiteral("PollManager::saveUserVote | no poll id, nothing stored"));
        return;
    }
    store.put(pollId, vote);
}

void PollManager::setSetting(const UISetting& setting)
{
    QMetaObject::invokeMethod(
        this, [this, setting] { applySetting(setting); }, Qt::QueuedConnection);
}

void PollManager::applySetting(const UISetting& setting)
{
    userName = setting.getUserName();
    hashMethod = setting.getHashMethod();
    token = setting.getToken();
}

void PollManager::processReply(Procedure pro, const QJsonObject& reply)
{
    if (pro == PROC_PollVote) {
        if (!votesInFlight.isEmpty())
            emit voteSubmitted(votesInFlight.first().first, votesInFlight.first().second);
    } else if (pro == PROC_PollResults) {
        processResults(reply);
    }
}

void PollManager::processResults(const QJsonObject& reply)
{
    if (!reply.contains(QStringLiteral("PollResult")))
        return;
    // The id this manager asked about comes first; the reply's own is used
    // only for a request that was not made here.
    QString pollId = resultsInFlight.isEmpty() ? QString() : resultsInFlight.first();
    if (pollId.isEmpty())
        pollId = reply.value(QStringLiteral("PollID")).toString();
    PollResult pollResult;
    if (!pollResult.setDataFromJson(reply.value(QStringLiteral("PollResult")).toObject())) {
        L_WARN(QStringLiteral("PollManager::processResults | incomplete result for poll ") +
               pollId);
        return;
    }
    pollResult.setPollId(pollId);
    if (!pollResult.getUserVote().isEmpty() && !pollId.isEmpty()) {
        saveUserVote(pollId, pollResult.getUserVote());
        emit voteSubmitted(pollId, pollResult.getUserVote());
    }
    emit resultsReady(pollResult);
}

void PollManager::result(Procedure pro, int outcome)
{
    if (pro == PROC_PollVote && !votesInFlight.isEmpty()) {
        const QPair<QString, QString> vote = votesInFlight.takeFirst();
        if (outcome == 200) {
            emit showToastMessage("_voteSubmitted");
            saveUserVote(vote.first, vote.second);
        }
    } else if (pro == PROC_PollResults && !resultsInFlight.isEmpty()) {
        resultsInFlight.removeFirst();
    }
    if (const char* key = toastForCode(outcome))
        emit showToastMessage(key);
}
