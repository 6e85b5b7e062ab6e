#include "webapi/GeneralApi/procedureinputpair.h"

ProcedureInputPair::ProcedureInputPair(Procedure procedure,
                                       const QHash<QString, QJsonValue>& inputs)
    : procedure(procedure), inputs(inputs)
{
}

void ProcedureInputPair::clear()
{
    *this = ProcedureInputPair();
}
