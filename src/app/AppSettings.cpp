#include "app/AppSettings.h"

#include "app/Settings.h"

namespace {

namespace Name = SettingsName;

const char* Section(SettingsGroup group)
{
    return group == SettingsGroup::Source ? Name::kConvertFrom : Name::kConvertTo;
}

const char* TransmitterValue(SettingsGroup group)
{
    return group == SettingsGroup::Source ? Name::kSourceTransmitter : Name::kTargetTransmitter;
}

std::string FolderValue(int index)
{
    return Name::kFolder + std::to_string(index + 1);
}

}  // namespace

WindowEdges ReadWindowEdges(ISettingsStore& store)
{
    WindowEdges edges;
    int* fields[4] = {&edges.left, &edges.top, &edges.right, &edges.bottom};
    for (int i = 0; i < 4; ++i)
        *fields[i] = store.ReadInt(Name::kWindow, Name::kEdges[i]).value_or(*fields[i]);
    return edges;
}

void WriteWindowEdges(ISettingsStore& store, const WindowEdges& edges)
{
    const int values[4] = {edges.left, edges.top, edges.right, edges.bottom};
    for (int i = 0; i < 4; ++i)
        store.WriteInt(Name::kWindow, Name::kEdges[i], values[i]);
}

GroupSettings ReadGroupSettings(ISettingsStore& store, SettingsGroup group, const std::u16string& currentDir)
{
    const char* section = Section(group);
    GroupSettings values;
    for (int i = 0; i < kHistorySize; ++i) {
        const std::u16string folder = store.ReadText(section, FolderValue(i)).value_or(i == 0 ? currentDir : u"");
        if (!folder.empty())
            values.folders.push_back(folder);
    }
    values.mru = store.ReadInt(section, Name::kMru).value_or(0);
    values.transmitter = store.ReadInt(section, TransmitterValue(group)).value_or(0);
    for (int c = 0; c < kListColumns; ++c)
        values.columnWidths[c] = store.ReadInt(section, Name::kColumns[c]).value_or(0);
    return values;
}

void WriteGroupSettings(ISettingsStore& store, SettingsGroup group, const GroupSettings& values)
{
    const char* section = Section(group);
    for (int i = 0; i < kHistorySize; ++i) {
        const size_t at = static_cast<size_t>(i);
        store.WriteText(section, FolderValue(i), at < values.folders.size() ? values.folders[at] : u"");
    }
    store.WriteInt(section, Name::kMru, values.mru);
    for (int c = 0; c < kListColumns; ++c)
        store.WriteInt(section, Name::kColumns[c], values.columnWidths[c]);
    store.WriteInt(section, TransmitterValue(group), values.transmitter);
}

int ReadLanguageIndex(ISettingsStore& store)
{
    return store.ReadInt(Name::kSystem, Name::kLanguage).value_or(0);
}

void WriteLanguageIndex(ISettingsStore& store, int index)
{
    store.WriteInt(Name::kSystem, Name::kLanguage, index);
}
