// What the main dialog does for the Convert command and the model lists, as a
// small interface: the Qt dialog implements it with its widgets, the command
// line program with its output streams, and the tests with a recorder.
#pragma once

#include <string>

#include "app/StringIds.h"

struct ModelListing;

// The controls a refusal sends the keyboard focus to.
enum class FocusTarget {
    SourceTransmitter,
    SourceLocation,
    SourceList,
    TargetTransmitter,
    TargetLocation,
    ModelName,
};

// The two model lists of the main dialog.
enum class ListSide { Source, Target };

// What a message box says by its icon. HardwareWarning is the warning that
// ends every stored conversion (the controls differ between transmitters): a
// warning, with which the front ends offer the report of the controls the
// conversion changed.
enum class MessageKind { Error, Warning, Information, HardwareWarning };

class IDialogHost {
public:
    virtual ~IDialogHost() = default;

    virtual void BeginWaitCursor() = 0;
    virtual void EndWaitCursor() = 0;
    // Gives a control the keyboard focus; selectAll also selects the whole text
    // of a combo box or an edit (and scrolls an edit's text into view).
    virtual void FocusControl(FocusTarget target, bool selectAll) = 0;
    // A modal message box with one OK button.
    virtual void MessageBox(const std::u16string& text, const std::u16string& caption, MessageKind kind) = 0;
    // A model list was refilled. The host shows the listing's notice with it
    // (none when it is empty).
    virtual void ShowModelList(ListSide side, const ModelListing& listing) = 0;
};
