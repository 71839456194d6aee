// What the dialogs offer and in which order: the transmitters of the two
// combo boxes, the headings of the model lists, the items of the main
// window's system menu, the languages of the Setting dialog and the rules of
// the location histories. Every front end shows these; none decides them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Transmitter combo boxes: the source offers PX400 then PX200, the target PX600.
extern const uint16_t kSourceTransmitters[2];
extern const uint16_t kTargetTransmitters[1];
std::u16string TransmitterChoiceText(uint16_t type);
// The type of entry index of each combo box; TX_UNKNOWN for no entry.
uint16_t SourceTransmitterAt(int index);
uint16_t TargetTransmitterAt(int index);

// Heading of model list column 0..3: Transmitter, Model Name, Model Type, Date.
std::u16string ListColumnHeading(int column);
// Texts a column may show besides the rows of the moment (every transmitter
// name, every model type name, a date), so that a column fitted to its
// contents keeps its width from one folder to the next.
std::vector<std::u16string> ListColumnSamples(int column);

// The main window's system menu: About (0x10) and Setting (0x11), offered
// only when both captions exist in the current language.
enum : unsigned {
    kAboutCommand = 0x10,
    kSettingCommand = 0x11,
};
struct SystemMenuItem {
    unsigned command;
    std::u16string text;
};
std::vector<SystemMenuItem> SystemMenuItems();

// The user-interface language: one object for the whole run holding the
// language index (0 the system's language, 1 English, 2 Japanese, 3 German,
// 4 French; any other index also means the system's language).
class CLanguage {
public:
    virtual ~CLanguage() = default;
    int32_t m_language = 0;
};
CLanguage& TheLanguage();

// The Setting dialog's entries: "System" in the language of the moment,
// every other language in its own words, so that a pilot finds his own
// whatever the program speaks now.
constexpr int kLanguageChoiceCount = 5;
std::u16string LanguageChoiceText(int index);
// The Setting dialog was confirmed with entry index: it becomes the language
// index. Returns the notice that the language counts from the next start, or
// an empty text when the index did not change.
std::u16string ChooseLanguage(int index);

// A location history: the entries of a location combo box, most recent
// first, and the location the group's list was last filled from.
// A folder chosen in the browser that differs from the stored location goes
// to the top: an entry with the same text moves there, else the entries after
// the tenth are dropped and it is inserted (eleven until the next start,
// which keeps ten). True when the entries changed; the first is then the one
// to select.
bool PlaceBrowsedLocation(std::vector<std::string>& entries, const std::string& path, const std::string& stored);
// An entry chosen from the history whose text differs from the stored
// location moves to the top. True when it moved.
bool PlaceChosenLocation(std::vector<std::string>& entries, int index, const std::string& stored);
