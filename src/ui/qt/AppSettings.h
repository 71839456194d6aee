// The settings that survive a run: window placement, the two groups' folder
// histories, chosen transmitters and column widths, and the language. They
// live in the per-user settings store under the company "Varkel Corp." and
// the program's base name; the section and value names are the fixed ones of
// app/Settings.h, the same in every language.
#pragma once

#include <memory>

#include <QRect>
#include <QSettings>
#include <QStringList>

// Folders a location history keeps, and columns of a model list.
constexpr int kHistorySize = 10;
constexpr int kListColumns = 4;

enum class SettingsGroup { Source, Target };

struct GroupSettings {
    QStringList folders;  // the non-empty entries of Folder1..Folder10, in order
    int mru = 0;          // selected entry of the location combo box
    int transmitter = 0;  // selected entry of the transmitter combo box
    // Widths of the list columns 0..3; 0 where none is stored (the list then
    // sizes the column to its contents).
    int columnWidths[kListColumns] = {};
};

// The store of the running program: the company key and the application's
// name (the program file's base name).
std::unique_ptr<QSettings> OpenSettings();

// Left, top, right, bottom of the main window; 0, 0, 800, 572 by default.
QRect ReadWindowRect(QSettings& settings);
void WriteWindowRect(QSettings& settings, const QRect& rect);

// Folder1 defaults to currentDir, the others to the empty text.
GroupSettings ReadGroupSettings(QSettings& settings, SettingsGroup group, const QString& currentDir);
// Writes Folder1..Folder10 (empty for a missing entry; entries after the
// tenth are dropped), MRU, the transmitter index and the column widths.
void WriteGroupSettings(QSettings& settings, SettingsGroup group, const GroupSettings& values);

int ReadLanguageIndex(QSettings& settings);
void WriteLanguageIndex(QSettings& settings, int index);
