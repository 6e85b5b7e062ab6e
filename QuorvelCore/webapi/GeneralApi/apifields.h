#ifndef APIFIELDS_H
#define APIFIELDS_H

#include "foundation/quorvelcore_export.h"
#include "webapi/GeneralApi/procedure.h"

#include <QHash>
#include <QStringList>

// The per-procedure key lists of the web service: which keys a request carries
// (in order), which the caller supplies, which come from the stored settings,
// which reply keys must be present and which of them are stored, and which
// generated inputs are kept. Filled once at construction, never changed.
class QUORVELCORE_EXPORT ApiFields
{
public:
    enum ServerRequestType
    {
        Post = 0,
        Get = 1
    };

    ApiFields();

    QStringList getInputKeys(Procedure procedure) const;
    QStringList getOutputKeys(Procedure procedure) const;
    QStringList getInputSettingKeys(Procedure procedure) const;
    QStringList getOutputSettingKeys(Procedure procedure) const;
    QStringList getUserInputKeys(Procedure procedure) const;
    QStringList getShouldBeKeptInputs(Procedure procedure) const;
    ServerRequestType getServerRequestType(Procedure procedure) const;
    // True only for Salam: refused while already current or queued.
    static bool isUniqueRequest(Procedure procedure);

private:
    void setupFields();
    void setupInputFields();
    void setupOutputFields();
    void setupSettingFields();
    void setupUserInputKeys();
    void setupShouldBeKeptInputKeys();
    void setupServerRequestTypes();

    QHash<Procedure, QStringList> inputKeys;
    QHash<Procedure, QStringList> outputKeys;
    QHash<Procedure, QStringList> inputSettingKeys;
    QHash<Procedure, QStringList> outputSettingKeys;
    QHash<Procedure, QStringList> userInputKeys;
    QHash<Procedure, QStringList> shouldBeKeptInputKeys;
    QHash<Procedure, ServerRequestType> serverRequestTypes;
};

#endif // APIFIELDS_H
