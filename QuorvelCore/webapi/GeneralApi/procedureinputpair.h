#ifndef PROCEDUREINPUTPAIR_H
#define PROCEDUREINPUTPAIR_H

#include "foundation/quorvelcore_export.h"
#include "webapi/GeneralApi/procedure.h"

#include <QHash>
#include <QJsonValue>
#include <QString>

// One entry of the procedure queue: the procedure, the caller's inputs, whether
// the current try timed out and how many tries have started.
class QUORVELCORE_EXPORT ProcedureInputPair
{
public:
    ProcedureInputPair() = default;
    ProcedureInputPair(Procedure procedure, const QHash<QString, QJsonValue>& inputs);

    Procedure getProcedure() const { return procedure; }
    void setProcedure(Procedure value) { procedure = value; }
    QHash<QString, QJsonValue> getInputs() const { return inputs; }
    void setInputs(const QHash<QString, QJsonValue>& value) { inputs = value; }
    bool getTimedOut() const { return timedOut; }
    void setTimedOut(bool value) { timedOut = value; }
    int getTries() const { return tries; }
    void setTries(int value) { tries = value; }

    // Back to the idle entry: procedure 0, no inputs, not timed out, 0 tries.
    void clear();
    bool isEmpty() const { return procedure == PROC_Idle; }

private:
    Procedure procedure = PROC_Idle;
    QHash<QString, QJsonValue> inputs;
    bool timedOut = false;
    int tries = 0;
};

#endif // PROCEDUREINPUTPAIR_H
