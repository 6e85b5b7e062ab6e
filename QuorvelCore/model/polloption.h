#ifndef POLLOPTION_H
#define POLLOPTION_H

#include "foundation/quorvelcore_export.h"

#include <QJsonObject>
#include <QMetaType>
#include <QString>
#include <QStringList>

// One answer of a poll. The id "-1" marks an invalid option.
class QUORVELCORE_EXPORT PollOption
{
public:
    PollOption();
    PollOption(const QString& optionId, const QString& text, bool displayCommentBox);
    explicit PollOption(const QJsonObject& object);

    static QStringList getFields();
    static bool checkFields(const QJsonObject& object);
    // Nothing changes unless all three keys are present.
    bool setDataFromJson(const QJsonObject& object);
    QJsonObject toJsonObject() const;

    bool isEmpty() const { return optionId == QLatin1String("-1"); }

    QString getOptionId() const { return optionId; }
    void setOptionId(const QString& value) { optionId = value; }
    QString getText() const { return text; }
    void setText(const QString& value) { text = value; }
    bool getDisplayCommentBox() const { return displayCommentBox; }
    void setDisplayCommentBox(bool value) { displayCommentBox = value; }

    bool operator==(const PollOption& other) const;
    bool operator!=(const PollOption& other) const { return !(*this == other); }

private:
    void setInvalidValues() { optionId = QStringLiteral("-1"); }

    QString optionId;
    QString text;
    bool displayCommentBox = false;
};

Q_DECLARE_METATYPE(PollOption)

#endif // POLLOPTION_H
