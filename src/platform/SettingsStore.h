// Where the system keeps a program's per-user settings: a file under the
// user's configuration folder on POSIX, the user's part of the registry on
// Windows.
#pragma once

#include <optional>
#include <string>

// POSIX: $XDG_CONFIG_HOME (else ~/.config) + "/" + folder + "/" + file; empty
// when neither the variable nor a home folder is known. Windows: empty.
std::string UserConfigFilePath(const std::string& folder, const std::string& file);

// Windows: value name of the key HKEY_CURRENT_USER\key, a number (DWORD) as
// its decimal text and a text as it is; none when the key or the value is
// missing or of another type. Elsewhere: none.
std::optional<std::string> ReadUserRegistryValue(const std::string& key, const std::string& name);
