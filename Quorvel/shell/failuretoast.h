#ifndef FAILURETOAST_H
#define FAILURETOAST_H

#include "Managers/command.h"
#include "webapi/GeneralApi/procedure.h"

#include <QElapsedTimer>
#include <QList>
#include <QObject>

// The one place that tells the person that an action they started failed:
// one toast naming the action and the reason in words ("Joining the channel
// failed: you are not allowed to do this").
//
// Only actions the person started are told. Each one is noted when it leaves
// the window (every command of MessengerMainWindow::command passes through
// noteCommand; the sign-up window notes its voice-call request with
// noteProcedure) and is matched to the first answer that comes back for it:
// - the web service's final result of its procedure (ProcedureHandler::result,
//   connected by the application controller to procedureResult), or
// - a refused answer of a manager: give it a dispatch row that calls
//   `w.getFailureToast()->refused(CMD_TheAction, resultCode)`.
// A success (result 200, or succeeded()) uses the note up as well. Background
// requests have no note and retries find theirs used up, so neither is ever
// told. Sign-out (311) and forced updates (315) have their own notices.
//
// To make a new action heard: add its row (command, procedure, words) to the
// table in failuretoast.cpp, with the words in both catalogues.
class FailureToast : public QObject
{
    Q_OBJECT
public:
    explicit FailureToast(QObject* parent = nullptr);

    // The person started an action; commands without a row are ignored.
    void noteCommand(Command command);
    // The same for a procedure that is not a command (the voice-call request).
    void noteProcedure(Procedure procedure);
    // A manager answered the action: refused with resultCode (not 200), or
    // done (succeeded). Either uses up the action's note.
    void refused(Command action, int resultCode);
    void succeeded(Command action);

    // Whether a command is one of the person's actions this toast tells of.
    static bool isTold(Command command);
    // The toast's text for a failed action.
    static QString failureText(Procedure procedure, int resultCode);
    static QString failureText(Command action, int resultCode);
    // The reason of a result code in words.
    static QString reasonText(int resultCode);

public slots:
    // Every final result of the web service, background ones included.
    void procedureResult(Procedure procedure, int resultCode);

signals:
    // The text just shown (also for tests and logs).
    void failureShown(const QString& text);

private:
    struct Note
    {
        int row;
        QElapsedTimer age;
    };
    static QString textOfRow(int row, int resultCode);
    void addNote(int row);
    // Takes the oldest live note of a row; false when there is none.
    bool takeNote(int row);
    void tell(int row, int resultCode);

    QList<Note> notes;
};

#endif // FAILURETOAST_H
