#include "shell/failuretoast.h"

#include "foundation/simpleqtlogger.h"
#include "widgets/toastmessage.h"

namespace {

// A note older than this is dropped: its answer will not come any more (a
// request gives up well before, after its tries).
const qint64 kNoteLifeMs = 3 * 60 * 1000;
const int kNoCommand = -1;

struct ActionRow
{
    int command;
    Procedure procedure;
    const char* words;
};

// The person's actions that the toast tells of: the command that starts one,
// the web procedure that carries it and what the person tried, in words.
const ActionRow kRows[] = {
    {kNoCommand, PROC_IVRRequest, QT_TRANSLATE_NOOP("FailureToast", "_FailVoiceCall")},
    {CMD_Lookup, PROC_Lookup, QT_TRANSLATE_NOOP("FailureToast", "_FailLookup")},
    {CMD_SetProfile, PROC_SetProfile, QT_TRANSLATE_NOOP("FailureToast", "_FailSetProfile")},
    {CMD_SetQuorvelId, PROC_QuorvelIdSet, QT_TRANSLATE_NOOP("FailureToast", "_FailSetId")},
    {CMD_DeactivateUser, PROC_DeactivateUser, QT_TRANSLATE_NOOP("FailureToast", "_FailDeactivate")},
    {CMD_ChannelCreate, PROC_CreateChannel,
     QT_TRANSLATE_NOOP("FailureToast", "_FailChannelCreate")},
    {CMD_ChannelEdit, PROC_ChannelEdit, QT_TRANSLATE_NOOP("FailureToast", "_FailChannelEdit")},
    {CMD_ChannelJoin, PROC_JoinChannel, QT_TRANSLATE_NOOP("FailureToast", "_FailChannelJoin")},
    {CMD_ChannelLeave, PROC_LeaveChannel, QT_TRANSLATE_NOOP("FailureToast", "_FailChannelLeave")},
    {CMD_ChannelDelete, PROC_ChannelDelete,
     QT_TRANSLATE_NOOP("FailureToast", "_FailChannelDelete")},
    {CMD_ChannelAddMember, PROC_ChannelAddMember,
     QT_TRANSLATE_NOOP("FailureToast", "_FailAddMember")},
    {CMD_ChannelRemoveMember, PROC_ChannelRemoveMember,
     QT_TRANSLATE_NOOP("FailureToast", "_FailRemoveMember")},
    {CMD_ChannelChangeMemberRole, PROC_ChannelChangeRole,
     QT_TRANSLATE_NOOP("FailureToast", "_FailChangeRole")},
    {CMD_ChannelChangeMsgCond, PROC_ChannelChangeMessageState,
     QT_TRANSLATE_NOOP("FailureToast", "_FailChannelEdit")},
    {CMD_GroupCreate, PROC_GroupCreate, QT_TRANSLATE_NOOP("FailureToast", "_FailGroupCreate")},
    {CMD_GroupChangeData, PROC_GroupChangeData,
     QT_TRANSLATE_NOOP("FailureToast", "_FailGroupEdit")},
    {CMD_GroupAddMember, PROC_GroupAddMember, QT_TRANSLATE_NOOP("FailureToast", "_FailAddMember")},
    // New members who join as managers: the same procedure as any new member.
    {CMD_GroupAddAdmin, PROC_GroupAddMember, QT_TRANSLATE_NOOP("FailureToast", "_FailAddMember")},
    {CMD_GroupChangeRole, PROC_GroupChangeRole,
     QT_TRANSLATE_NOOP("FailureToast", "_FailChangeRole")},
    {CMD_GroupRemoveMember, PROC_GroupRemoveMember,
     QT_TRANSLATE_NOOP("FailureToast", "_FailRemoveMember")},
    {CMD_GroupLeave, PROC_GroupLeave, QT_TRANSLATE_NOOP("FailureToast", "_FailGroupLeave")},
};
const int kRowCount = int(sizeof(kRows) / sizeof(kRows[0]));

int rowOfCommand(int command)
{
    for (int i = 0; i < kRowCount; ++i) {
        if (kRows[i].command == command)
            return i;
    }
    return -1;
}

int rowOfProcedure(Procedure procedure)
{
    for (int i = 0; i < kRowCount; ++i) {
        if (kRows[i].procedure == procedure)
            return i;
    }
    return -1;
}

// Codes with a notice of their own: the sign-out and the forced update.
bool hasOwnNotice(int resultCode)
{
    return resultCode == 311 || resultCode == 315;
}

} // namespace

FailureToast::FailureToast(QObject* parent) : QObject(parent) {}

bool FailureToast::isTold(Command command)
{
    return rowOfCommand(command) >= 0;
}

QString FailureToast::reasonText(int resultCode)
{
    switch (resultCode) {
    case 100:
        return tr("_ReasonNoAnswer");
    case 330:
        return tr("_ReasonNumberRefused");
    case 400:
        return tr("_ReasonBadRequest");
    case 403:
        return tr("_ReasonNotAllowed");
    case 404:
        return tr("_ReasonNotFound");
    case 409:
        return tr("_ReasonTaken");
    default:
        return tr("_ReasonService");
    }
}

QString FailureToast::textOfRow(int row, int resultCode)
{
    if (row < 0)
        return QString();
    return tr("_ActionFailedBecause").arg(tr(kRows[row].words), reasonText(resultCode));
}

QString FailureToast::failureText(Procedure procedure, int resultCode)
{
    return textOfRow(rowOfProcedure(procedure), resultCode);
}

QString FailureToast::failureText(Command action, int resultCode)
{
    return textOfRow(rowOfCommand(action), resultCode);
}

void FailureToast::noteCommand(Command command)
{
    addNote(rowOfCommand(command));
}

void FailureToast::noteProcedure(Procedure procedure)
{
    addNote(rowOfProcedure(procedure));
}

void FailureToast::addNote(int row)
{
    if (row < 0)
        return;
    Note note{row, {}};
    note.age.start();
    notes.append(note);
}

bool FailureToast::takeNote(int row)
{
    for (int i = 0; i < notes.size();) {
        if (notes.at(i).age.elapsed() > kNoteLifeMs) {
            notes.removeAt(i);
            continue;
        }
        if (notes.at(i).row == row) {
            notes.removeAt(i);
            return true;
        }
        ++i;
    }
    return false;
}

void FailureToast::procedureResult(Procedure procedure, int resultCode)
{
    // Two actions may share a procedure (making an admin is a role change):
    // the result answers whichever of them is waiting.
    for (int row = 0; row < kRowCount; ++row) {
        if (kRows[row].procedure != procedure || !takeNote(row))
            continue;
        if (resultCode != 200)
            tell(row, resultCode);
        return;
    }
}

void FailureToast::refused(Command action, int resultCode)
{
    const int row = rowOfCommand(action);
    if (row < 0 || !takeNote(row))
        return;
    if (resultCode != 200)
        tell(row, resultCode);
}

void FailureToast::succeeded(Command action)
{
    const int row = rowOfCommand(action);
    if (row >= 0)
        takeNote(row);
}

void FailureToast::tell(int row, int resultCode)
{
    if (hasOwnNotice(resultCode))
        return;
    const QString text = textOfRow(row, resultCode);
    L_INFO(QStringLiteral("FailureToast | ") + text + QStringLiteral(" (%1)").arg(resultCode));
    ToastMessage::getInstance()->showMessage(text);
    emit failureShown(text);
}
