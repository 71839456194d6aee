// The commands of the main dialog that open dialogs of their own (Detail,
// Setting, About). The files of those dialogs register them; the main dialog
// runs what is registered.
#pragma once

class CArkletonDlg;

enum class DialogCommandId { Detail, Setting, About };
using DialogCommand = void (*)(CArkletonDlg& dialog);

void RegisterDialogCommand(DialogCommandId id, DialogCommand command);
// False when nothing is registered for id.
bool RunDialogCommand(DialogCommandId id, CArkletonDlg& dialog);

// Registers at program start: `static const DialogCommandRegistration reg{DialogCommandId::About, &ShowAbout};`
struct DialogCommandRegistration {
    DialogCommandRegistration(DialogCommandId id, DialogCommand command) { RegisterDialogCommand(id, command); }
};
