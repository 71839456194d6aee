#include "ui/qt/AppSettings.h"

#include <QCoreApplication>

#include "app/Settings.h"

namespace {

namespace Name = SettingsName;

constexpr int kWindowDefaults[4] = {0, 0, 800, 572};

QString Key(const char* section, const QString& value)
{
    return QString::fromLatin1(section) + u'/' + value;
}

QString Key(const char* section, const char* value)
{
    return Key(section, QString::fromLatin1(value));
}

int ReadInt(QSettings& settings, const QString& key, int fallback)
{
    bool ok = false;
    const int value = settings.value(key).toInt(&ok);
    return ok ? value : fallback;
}

const char* Section(SettingsGroup group)
{
    return group == SettingsGroup::Source ? Name::kConvertFrom : Name::kConvertTo;
}

const char* TransmitterValue(SettingsGroup group)
{
    return group == SettingsGroup::Source ? Name::kSourceTransmitter : Name::kTargetTransmitter;
}

QString FolderValue(int index)
{
    return QString::fromLatin1(Name::kFolder) + QString::number(index + 1);
}

}  // namespace

std::unique_ptr<QSettings> OpenSettings()
{
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, QString::fromLatin1(Name::kCompany),
                                       QCoreApplication::applicationName());
}

QRect ReadWindowRect(QSettings& settings)
{
    int edges[4];
    for (int i = 0; i < 4; ++i)
        edges[i] = ReadInt(settings, Key(Name::kWindow, Name::kEdges[i]), kWindowDefaults[i]);
    return QRect(QPoint(edges[0], edges[1]), QPoint(edges[2] - 1, edges[3] - 1));
}

void WriteWindowRect(QSettings& settings, const QRect& rect)
{
    const int edges[4] = {rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()};
    for (int i = 0; i < 4; ++i)
        settings.setValue(Key(Name::kWindow, Name::kEdges[i]), edges[i]);
}

GroupSettings ReadGroupSettings(QSettings& settings, SettingsGroup group, const QString& currentDir)
{
    const char* section = Section(group);
    GroupSettings values;
    for (int i = 0; i < kHistorySize; ++i) {
        const QString fallback = i == 0 ? currentDir : QString();
        const QString folder = settings.value(Key(section, FolderValue(i)), fallback).toString();
        if (!folder.isEmpty())
            values.folders.append(folder);
    }
    values.mru = ReadInt(settings, Key(section, Name::kMru), 0);
    values.transmitter = ReadInt(settings, Key(section, TransmitterValue(group)), 0);
    for (int c = 0; c < kListColumns; ++c)
        values.columnWidths[c] = ReadInt(settings, Key(section, Name::kColumns[c]), values.columnWidths[c]);
    return values;
}

void WriteGroupSettings(QSettings& settings, SettingsGroup group, const GroupSettings& values)
{
    const char* section = Section(group);
    for (int i = 0; i < kHistorySize; ++i)
        settings.setValue(Key(section, FolderValue(i)), i < values.folders.size() ? values.folders[i] : QString());
    settings.setValue(Key(section, Name::kMru), values.mru);
    for (int c = 0; c < kListColumns; ++c)
        settings.setValue(Key(section, Name::kColumns[c]), values.columnWidths[c]);
    settings.setValue(Key(section, TransmitterValue(group)), values.transmitter);
}

int ReadLanguageIndex(QSettings& settings)
{
    return ReadInt(settings, Key(Name::kSystem, Name::kLanguage), 0);
}

void WriteLanguageIndex(QSettings& settings, int index)
{
    settings.setValue(Key(Name::kSystem, Name::kLanguage), index);
}
