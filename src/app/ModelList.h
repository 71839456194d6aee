// The model lists of the main dialog: which models a location holds, with the
// texts of the four columns and the transmitter type of each.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/ModelData.h"
#include "platform/File.h"

class IDialogHost;

struct ModelListRow {
    // Transmitter, model name, model type and date texts, for display.
    std::u16string columns[4];
    // The type the file's transmitter name names (TransmitterTypeOfName), as
    // the reader gave it.
    uint16_t transmitter = TX_UNKNOWN;
    // The key that names the file in its location: a full path in a folder,
    // the decimal file number inside a TINYFS image.
    std::string key;
};

struct ModelListing {
    std::vector<ModelListRow> rows;
    // Row to select, -1 when the list is empty.
    int selected = -1;
    // The location was a mounted TINYFS image (a target list shows it disabled).
    bool isVolume = false;
    // Why the folder's TINYFS.IMG was passed over, naming the image (the
    // folder is then listed as a plain folder); empty when there is no image
    // or it was mounted. The front ends show it as it stands.
    std::u16string notice;
};

// Lists a location: every "*.MDL" file of a plain folder (read as PX600 when its
// first 16 bytes name the PX600, else as PX400), or every file from number 6 up
// of the folder's TINYFS image (read as PX200). An image that cannot be used
// leaves a plain folder and says why in the listing's notice. A file that
// cannot be opened is left out silently; a file error while reading shows a
// warning box and the listing goes on. The row whose key equals selectKey is
// selected, else row 0. Each listed key is also appended to itemKeys when it
// is given.
ModelListing FillModelList(IDialogHost& host, const std::string& location,
                           const std::optional<std::string>& selectKey = std::nullopt,
                           std::vector<std::string>* itemKeys = nullptr);

// Display text of a model type code ("UNKNOWN" for a code without a name).
std::u16string ModelTypeText(uint16_t modelType);

// The text a message box shows for a failed file operation: the engine's
// error text (string 200 + code) inside a TINYFS image, otherwise the message
// of its cause naming the file, at most 510 characters.
std::u16string FileErrorText(const FileResult& error);
