// The settings that survive a run of the desktop program: window placement,
// the two groups' folder histories, chosen transmitters and column widths,
// and the language. Which values there are, their defaults and how many
// folders a history keeps are decided here, for every front end; where they
// are kept (an INI file, the registry) is the front end's store.
#pragma once

#include <optional>
#include <string>
#include <vector>

// Folders a location history keeps, and columns of a model list.
constexpr int kHistorySize = 10;
constexpr int kListColumns = 4;

enum class SettingsGroup { Source, Target };

// A per-user store of integer and text values in named sections.
class ISettingsStore {
public:
    virtual ~ISettingsStore() = default;
    // None when the value is missing or not of that kind.
    virtual std::optional<int> ReadInt(const std::string& section, const std::string& name) = 0;
    virtual std::optional<std::u16string> ReadText(const std::string& section, const std::string& name) = 0;
    virtual void WriteInt(const std::string& section, const std::string& name, int value) = 0;
    virtual void WriteText(const std::string& section, const std::string& name, const std::u16string& value) = 0;
};

// The four edges of the main window, 0, 0, 800, 572 by default.
struct WindowEdges {
    int left = 0;
    int top = 0;
    int right = 800;
    int bottom = 572;
};

struct GroupSettings {
    std::vector<std::u16string> folders;  // the non-empty entries of Folder1..Folder10, in order
    int mru = 0;                          // selected entry of the location combo box
    int transmitter = 0;                  // selected entry of the transmitter combo box
    // Widths of the list columns 0..3; 0 where none is stored (the list then
    // sizes the column to its contents).
    int columnWidths[kListColumns] = {};
};

WindowEdges ReadWindowEdges(ISettingsStore& store);
void WriteWindowEdges(ISettingsStore& store, const WindowEdges& edges);

// Folder1 defaults to currentDir, the others to the empty text.
GroupSettings ReadGroupSettings(ISettingsStore& store, SettingsGroup group, const std::u16string& currentDir);
// Writes Folder1..Folder10 (empty for a missing entry; entries after the
// tenth are dropped), MRU, the transmitter index and the column widths.
void WriteGroupSettings(ISettingsStore& store, SettingsGroup group, const GroupSettings& values);

// 0 (the system's language) when none is stored.
int ReadLanguageIndex(ISettingsStore& store);
void WriteLanguageIndex(ISettingsStore& store, int index);
