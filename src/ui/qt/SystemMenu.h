// The window-menu commands of the main dialog, About and Setting. The
// platforms this program runs on give it no window menu to extend, so the two
// items are offered in a context menu of the dialog's background and on the
// usual shortcuts (F1 for About, the platform's Preferences key for Setting);
// all of them go through one handler with the command ids of the items.
#pragma once

#include "app/DialogChoices.h"

class QMenu;
class CArkletonDlg;

enum : unsigned {
    IDM_ABOUTBOX = kAboutCommand,
    IDM_SETTING = kSettingCommand,
};

// Runs the command id; false for any id other than the two (the caller's
// default processing then applies).
bool OnSystemCommand(CArkletonDlg& dialog, unsigned id);

// Appends the About and Setting items to menu, when both of their captions
// exist in the current language.
void AddSystemMenuItems(QMenu& menu, CArkletonDlg& dialog);

// F1 runs About, the Preferences key Setting.
void InstallSystemShortcuts(CArkletonDlg& dialog);
