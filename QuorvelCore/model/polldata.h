#ifndef POLLDATA_H
#define POLLDATA_H

#include "foundation/quorvelcore_export.h"
#include "model/polloption.h"

#include <QHash>
#include <QJsonObject>
#include <QMap>
#include <QMetaType>
#include <QString>
#include <QStringList>

// A poll as it travels inside a message and to the web service. The channel id
// and the view-results flag are local and never written to JSON.
class QUORVELCORE_EXPORT PollData
{
public:
    enum PollType
    {
        None = 0,
        Radio = 1,
        Checkbox = 2,
        Commentbox = 3
    };

    PollData() = default;
    // A new poll to be sent: options get the ids "1", "2", ... in list order.
    // An unknown type text leaves the poll empty.
    PollData(const QString& type, const QString& question, const QStringList& optionTexts);
    explicit PollData(const QJsonObject& object);
    PollData(const PollData& other) { setDataFromPollData(other); }
    PollData& operator=(const PollData& other);

    void setDataFromPollData(const PollData& other);
    // Empty poll (and a log line) unless all seven keys are present.
    void setDataFromJson(const QJsonObject& object);
    QJsonObject toJsonObject() const;
    static bool checkFields(const QJsonObject& object);

    void addOption(const PollOption& option);
    bool isEmpty() const { return pollType == None; }
    // Only the type goes back to none.
    void clear() { setInvalidValues(); }

    static QString toString(PollType type);
    static PollType toPollType(const QString& text);
    static QHash<PollType, QString> getPollTypeToStringHash();
    static QStringList getPollTypesStrings();

    QString getPollId() const { return pollId; }
    void setPollId(const QString& value) { pollId = value; }
    QString getQuestion() const { return question; }
    void setQuestion(const QString& value) { question = value; }
    bool getEnable() const { return enable; }
    void setEnable(bool value) { enable = value; }
    PollType getPollType() const { return pollType; }
    void setPollType(PollType value) { pollType = value; }
    bool getHaveCommentBox() const { return haveCommentBox; }
    void setHaveCommentBox(bool value) { haveCommentBox = value; }
    int getCommentBoxCharLimit() const { return commentBoxCharLimit; }
    void setCommentBoxCharLimit(int value) { commentBoxCharLimit = value; }
    QMap<QString, PollOption> getOptions() const { return options; }
    QMap<QString, PollOption> getPollOptions() const { return options; }
    void setOptions(const QMap<QString, PollOption>& value) { options = value; }
    QString getChannelId() const { return channelId; }
    void setChannelId(const QString& value) { channelId = value; }
    bool getViewResults() const { return viewResults; }
    void setViewResults(bool value) { viewResults = value; }

    bool operator==(const PollData& other) const;
    bool operator!=(const PollData& other) const { return !(*this == other); }

private:
    static QStringList getFields();
    static bool toBool(int value) { return value != 0; }
    static int toInt(bool value) { return value ? 1 : 0; }
    void setInvalidValues() { pollType = None; }

    QString pollId;
    QString question;
    bool enable = false;
    PollType pollType = None;
    bool haveCommentBox = false;
    int commentBoxCharLimit = 0;
    QMap<QString, PollOption> options;
    QString channelId;
    bool viewResults = false;
};

Q_DECLARE_METATYPE(PollData)
Q_DECLARE_METATYPE(PollData::PollType)

#endif // POLLDATA_H
