// The About dialog (template 100): the program's icon and name, its version
// drawn by an owner-drawn static control, and the maker's notice.
#pragma once

#include <cstdint>

#include "ui/win32/Dialog.h"

// The version line: bold, 14 pixels high at 96 dots per inch, "Version
// major.minor.build" from the program's own version resource (the fourth
// number is not shown).
class CStaticVersion {
public:
    // Reads the version of module (the running program when null).
    explicit CStaticVersion(HMODULE module = nullptr);
    // Creates the control over parent and draws it.
    void Create(HWND parent);
    void Draw(const DRAWITEMSTRUCT& item) const;
    const std::wstring& VersionText() const { return m_text; }

private:
    OwnedFont m_font;
    std::wstring m_text;
    uint16_t m_major = 0;
    uint16_t m_minor = 0;
    uint16_t m_build = 0;
};

class CAboutDlg : public CDialog {
public:
    CAboutDlg() : CDialog(IDD) {}
    static constexpr int IDD = 100;

protected:
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

private:
    CStaticVersion m_version;
    OwnedIcon m_icon;
};
