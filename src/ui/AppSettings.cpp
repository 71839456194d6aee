#include "ui/AppSettings.h"

#include <QCoreApplication>

#include "platform/Strings.h"

namespace {

enum : unsigned {
    IDS_COMPANY = 111,
    IDS_SECTION_FROM = 112,
    IDS_SECTION_TO = 113,
    IDS_SECTION_WINDOW = 114,
    IDS_VALUE_TRANSMITTER = 115,
    IDS_VALUE_MRU = 116,
    IDS_VALUE_TRANSMITTER_SRC = 117,
    IDS_VALUE_FOLDER1 = 121,  // Folder1..Folder10: 121..130
    IDS_VALUE_LEFT = 141,     // Left, Top, Right, Bottom: 141..144
    IDS_VALUE_COLUMN0 = 151,  // ID, Name, Type, Date: 151..154
    IDS_VALUE_LANGUAGE = 155,
    IDS_SECTION_SYSTEM = 156,
};

constexpr int kWindowDefaults[4] = {0, 0, 800, 572};

QString Text(unsigned id)
{
    return QString::fromStdU16String(LoadString(id));
}

QString Key(unsigned section, unsigned value)
{
    return Text(section) + u'/' + Text(value);
}

int ReadInt(QSettings& settings, const QString& key, int fallback)
{
    bool ok = false;
    const int value = settings.value(key).toInt(&ok);
    return ok ? value : fallback;
}

unsigned SectionId(SettingsGroup group)
{
    return group == SettingsGroup::Source ? IDS_SECTION_FROM : IDS_SECTION_TO;
}

unsigned TransmitterValueId(SettingsGroup group)
{
    return group == SettingsGroup::Source ? IDS_VALUE_TRANSMITTER_SRC : IDS_VALUE_TRANSMITTER;
}

}  // namespace

std::unique_ptr<QSettings> OpenSettings()
{
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, Text(IDS_COMPANY),
                                       QCoreApplication::applicationName());
}

QRect ReadWindowRect(QSettings& settings)
{
    int edges[4];
    for (int i = 0; i < 4; ++i)
        edges[i] = ReadInt(settings, Key(IDS_SECTION_WINDOW, IDS_VALUE_LEFT + i), kWindowDefaults[i]);
    return QRect(QPoint(edges[0], edges[1]), QPoint(edges[2] - 1, edges[3] - 1));
}

void WriteWindowRect(QSettings& settings, const QRect& rect)
{
    const int edges[4] = {rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()};
    for (int i = 0; i < 4; ++i)
        settings.setValue(Key(IDS_SECTION_WINDOW, IDS_VALUE_LEFT + i), edges[i]);
}

GroupSettings ReadGroupSettings(QSettings& settings, SettingsGroup group, const QString& currentDir)
{
    const unsigned section = SectionId(group);
    GroupSettings values;
    for (int i = 0; i < kHistorySize; ++i) {
        const QString fallback = i == 0 ? currentDir : QString();
        const QString folder = settings.value(Key(section, IDS_VALUE_FOLDER1 + i), fallback).toString();
        if (!folder.isEmpty())
            values.folders.append(folder);
    }
    values.mru = ReadInt(settings, Key(section, IDS_VALUE_MRU), 0);
    values.transmitter = ReadInt(settings, Key(section, TransmitterValueId(group)), 0);
    for (int c = 0; c < kListColumns; ++c)
        values.columnWidths[c] = ReadInt(settings, Key(section, IDS_VALUE_COLUMN0 + c), values.columnWidths[c]);
    return values;
}

void WriteGroupSettings(QSettings& settings, SettingsGroup group, const GroupSettings& values)
{
    const unsigned section = SectionId(group);
    for (int i = 0; i < kHistorySize; ++i)
        settings.setValue(Key(section, IDS_VALUE_FOLDER1 + i), i < values.folders.size() ? values.folders[i] : QString());
    settings.setValue(Key(section, IDS_VALUE_MRU), values.mru);
    for (int c = 0; c < kListColumns; ++c)
        settings.setValue(Key(section, IDS_VALUE_COLUMN0 + c), values.columnWidths[c]);
    settings.setValue(Key(section, TransmitterValueId(group)), values.transmitter);
}

int ReadLanguageIndex(QSettings& settings)
{
    return ReadInt(settings, Key(IDS_SECTION_SYSTEM, IDS_VALUE_LANGUAGE), 0);
}

void WriteLanguageIndex(QSettings& settings, int index)
{
    settings.setValue(Key(IDS_SECTION_SYSTEM, IDS_VALUE_LANGUAGE), index);
}
