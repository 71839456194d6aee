// What the main dialog does for the Convert command and the model lists, as a
// small interface: the Qt dialog implements it with its widgets, the command
// line program with its output streams, and the tests with a recorder.
#pragma once

#include <string>

#include "app/StringIds.h"

struct ModelListing;

// Control ids of the main dialog that the command logic refers to.
enum : int {
    IDC_SOURCE_LOCATION = 1000,
    IDC_SOURCE_LIST = 1002,
    IDC_TARGET_TRANSMITTER = 1003,
    IDC_MODEL_NAME = 1004,
    IDC_SOURCE_TRANSMITTER = 1006,
    IDC_TARGET_LOCATION = 1008,
    IDC_TARGET_LIST = 1010,
};

// Message box styles: one OK button and an icon.
enum : unsigned {
    MB_ICONSTOP = 0x10,
    MB_ICONEXCLAMATION = 0x30,
    MB_ICONINFORMATION = 0x40,
};


class IDialogHost {
public:
    virtual ~IDialogHost() = default;

    virtual void BeginWaitCursor() = 0;
    virtual void EndWaitCursor() = 0;
    // Gives a control the keyboard focus; selectAll also selects the whole text
    // of a combo box or an edit (and scrolls an edit's text into view).
    virtual void FocusControl(int controlId, bool selectAll) = 0;
    // A modal message box with one OK button.
    virtual void MessageBox(const std::u16string& text, const std::u16string& caption, unsigned style) = 0;
    // A model list (IDC_SOURCE_LIST or IDC_TARGET_LIST) was refilled. The
    // host shows the listing's notice with it (none when it is empty).
    virtual void ShowModelList(int listId, const ModelListing& listing) = 0;
};
