#ifndef POLLRESULTOPTION_H
#define POLLRESULTOPTION_H

#include "foundation/quorvelcore_export.h"

#include <QJsonObject>
#include <QMetaType>
#include <QString>

// The tally of one answer of a poll.
class QUORVELCORE_EXPORT PollResultOption
{
public:
    PollResultOption() = default;
    explicit PollResultOption(const QJsonObject& object);

    // Missing keys give empty text and 0; the count is read as decimal text or
    // as a JSON number.
    void setDataFromJson(const QJsonObject& object);
    QJsonObject toJsonObject() const;

    QString getOptionId() const { return optionId; }
    void setOptionId(const QString& value) { optionId = value; }
    QString getText() const { return text; }
    void setText(const QString& value) { text = value; }
    int getVoteCount() const { return voteCount; }
    void setVoteCount(int value) { voteCount = value; }

    bool operator==(const PollResultOption& other) const;

private:
    QString optionId;
    QString text;
    int voteCount = 0;
};

Q_DECLARE_METATYPE(PollResultOption)

#endif // POLLRESULTOPTION_H
