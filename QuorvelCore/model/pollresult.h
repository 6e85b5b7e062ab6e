#ifndef POLLRESULT_H
#define POLLRESULT_H

#include "foundation/quorvelcore_export.h"
#include "model/pollresultoption.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QMap>
#include <QMetaType>
#include <QString>

// The tally the web service returns for one poll.
class QUORVELCORE_EXPORT PollResult
{
public:
    PollResult() = default;
    explicit PollResult(const QJsonObject& object);

    // False at the first missing key ("Options" must also be a list); what was
    // read before stays.
    bool setDataFromJson(const QJsonObject& object);
    QJsonObject toJsonObject() const;
    void setOptions(const QJsonArray& array);
    void addOption(const PollResultOption& option);

    int getLastUpdate() const { return lastUpdate; }
    void setLastUpdate(int value) { lastUpdate = value; }
    QString getQuestion() const { return question; }
    void setQuestion(const QString& value) { question = value; }
    int getTotalVotes() const { return totalVotes; }
    void setTotalVotes(int value) { totalVotes = value; }
    QString getUserVote() const { return userVote; }
    void setUserVote(const QString& value) { userVote = value; }
    QMap<QString, PollResultOption> getOptions() const { return options; }
    // The poll the tally belongs to; local, set by whoever asked for it.
    QString getPollId() const { return pollId; }
    void setPollId(const QString& value) { pollId = value; }

    bool operator==(const PollResult& other) const;

private:
    QString pollId;
    int lastUpdate = 0;
    QString question;
    int totalVotes = 0;
    QString userVote;
    QMap<QString, PollResultOption> options;
};

Q_DECLARE_METATYPE(PollResult)

#endif // POLLRESULT_H
