// Every message box, folder browser and file chooser of the program goes
// through these functions, and every dialog tells a hook when it has started,
// so that tests can answer and drive them in place of a person. Without an
// answerer each one runs as usual.
#pragma once

#include "ui/win32/Win32Ui.h"

#include <functional>
#include <optional>

// Shows a box (MessageBoxW's text, caption and type) and returns the button
// that closed it (IDOK, IDYES, IDNO).
using MessagePresenter = std::function<int(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type)>;
// The folder chosen in the folder browser; none for Cancel. start is the
// folder it opens at.
using FolderPicker = std::function<std::optional<std::wstring>(HWND owner, const std::wstring& title, const std::wstring& start)>;
// The file a text is saved to; none for Cancel.
using SaveFilePicker = std::function<std::optional<std::wstring>(HWND owner, const std::wstring& suggestedName)>;
// Told, from the dialog's own message loop, once each dialog is shown:
// its window and template id.
using DialogHook = std::function<void(HWND dialog, int templateId)>;

// An empty function restores the interactive behaviour.
void SetMessagePresenter(MessagePresenter presenter);
void SetFolderPicker(FolderPicker picker);
void SetSaveFilePicker(SaveFilePicker picker);
void SetDialogHook(DialogHook hook);

int ShowMessage(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type);
// The shell's folder browser over My Computer, file-system folders only,
// opening at location or the nearest folder above it that exists.
std::optional<std::wstring> ChooseFolder(HWND owner, const std::wstring& title, const std::wstring& location);
std::optional<std::wstring> ChooseSaveFile(HWND owner, const std::wstring& suggestedName);
// Calls the hook, if any.
void DialogShown(HWND dialog, int templateId);
