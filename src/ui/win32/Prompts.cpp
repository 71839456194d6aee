#include "ui/win32/Prompts.h"

namespace {

enum : unsigned {
    IDS_TEXT_FILES = 2302,
};

MessagePresenter& Presenter()
{
    static MessagePresenter presenter;
    return presenter;
}

FolderPicker& Picker()
{
    static FolderPicker picker;
    return picker;
}

SaveFilePicker& SavePicker()
{
    static SaveFilePicker picker;
    return picker;
}

DialogHook& Hook()
{
    static DialogHook hook;
    return hook;
}

bool IsFolder(const std::wstring& path)
{
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// location when it is a folder, else the nearest folder above it that
// exists; empty when none does.
std::wstring NearestExistingFolder(std::wstring path)
{
    while (!path.empty() && !IsFolder(path)) {
        const size_t slash = path.find_last_of(L"\\/");
        if (slash == std::wstring::npos || slash + 1 == path.size())
            return {};
        path.resize(slash == 2 && path[1] == L':' ? 3 : slash);  // keep "C:\"
    }
    return path;
}

int CALLBACK BrowseCallback(HWND window, UINT message, LPARAM, LPARAM data)
{
    if (message == BFFM_INITIALIZED && data)
        ::SendMessageW(window, BFFM_SETSELECTIONW, TRUE, data);
    return 0;
}

}  // namespace

void SetMessagePresenter(MessagePresenter presenter)
{
    Presenter() = std::move(presenter);
}

void SetFolderPicker(FolderPicker picker)
{
    Picker() = std::move(picker);
}

void SetSaveFilePicker(SaveFilePicker picker)
{
    SavePicker() = std::move(picker);
}

void SetDialogHook(DialogHook hook)
{
    Hook() = std::move(hook);
}

int ShowMessage(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type)
{
    if (Presenter())
        return Presenter()(owner, text, caption, type);
    return ::MessageBoxW(owner, text.c_str(), caption.c_str(), type);
}

std::optional<std::wstring> ChooseFolder(HWND owner, const std::wstring& title, const std::wstring& location)
{
    const std::wstring start = NearestExistingFolder(location);
    if (Picker())
        return Picker()(owner, title, start);
    PIDLIST_ABSOLUTE root = nullptr;
    ::SHGetSpecialFolderLocation(owner, CSIDL_DRIVES, &root);
    BROWSEINFOW info = {};
    info.hwndOwner = owner;
    info.pidlRoot = root;
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    info.lpfn = BrowseCallback;
    info.lParam = start.empty() ? 0 : reinterpret_cast<LPARAM>(start.c_str());
    PIDLIST_ABSOLUTE chosen = ::SHBrowseForFolderW(&info);
    std::optional<std::wstring> result;
    if (chosen) {
        // Paths longer than MAX_PATH where the system allows them.
        std::wstring path(32768, L'\0');
        if (::SHGetPathFromIDListEx(chosen, path.data(), static_cast<DWORD>(path.size()), GPFIDL_DEFAULT)) {
            path.resize(::wcslen(path.c_str()));
            if (!path.empty())
                result = path;
        }
        ::CoTaskMemFree(chosen);
    }
    ::CoTaskMemFree(root);
    return result;
}

std::optional<std::wstring> ChooseSaveFile(HWND owner, const std::wstring& suggestedName)
{
    if (SavePicker())
        return SavePicker()(owner, suggestedName);
    std::wstring file = suggestedName;
    file.resize(32768, L'\0');
    // "Text files (*.txt)", then its pattern, each ended by a zero.
    const std::wstring filter = Text(IDS_TEXT_FILES) + L'\0' + L"*.txt" + L'\0' + L'\0';
    OPENFILENAMEW info = {};
    info.lStructSize = sizeof info;
    info.hwndOwner = owner;
    info.lpstrFilter = filter.c_str();
    info.lpstrFile = file.data();
    info.nMaxFile = static_cast<DWORD>(file.size());
    info.lpstrDefExt = L"txt";
    info.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_EXPLORER;
    if (!::GetSaveFileNameW(&info))
        return std::nullopt;
    file.resize(::wcslen(file.c_str()));
    return file;
}

void DialogShown(HWND dialog, int templateId)
{
    // A copy: the hook may open further dialogs, whose hook calls come first.
    const DialogHook hook = Hook();
    if (hook)
        hook(dialog, templateId);
}
