#include "ui/qt/DialogCommands.h"

namespace {

DialogCommand& Slot(DialogCommandId id)
{
    static DialogCommand commands[3] = {};
    return commands[static_cast<int>(id)];
}

}  // namespace

void RegisterDialogCommand(DialogCommandId id, DialogCommand command)
{
    Slot(id) = command;
}

bool RunDialogCommand(DialogCommandId id, CArkletonDlg& dialog)
{
    DialogCommand command = Slot(id);
    if (!command)
        return false;
    command(dialog);
    return true;
}
