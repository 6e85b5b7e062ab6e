#ifndef ANSWERDISPATCH_H
#define ANSWERDISPATCH_H

#include "Managers/command.h"

#include <QHash>
#include <QVariant>

#include <functional>

class MessengerMainWindow;

// Where each answer of the core goes in the main window: one row per
// command that has an effect; every other command is ignored.
// A refused answer to an action the person started gets a row that hands it
// to the one failure toast: w.getFailureToast()->refused(CMD_X, resultCode)
// (see FailureToast). The core's error code answer (74) has no row: the web
// service's results reach the failure toast with their procedure directly.
class AnswerDispatch
{
public:
    using Handler = std::function<void(MessengerMainWindow& window, const QVariant& payload)>;

    static const QHash<int, Handler>& table();
    // False when the command has no row (an ignored answer).
    static bool dispatch(MessengerMainWindow& window, Command command, const QVariant& payload);
};

#endif // ANSWERDISPATCH_H
