// Win32 side of the settings: the user's profile directory and the settings walk on the INI file.
#pragma once

#include "config/Settings.h"

#include <optional>
#include <string>

// The profile directory of the user running the process (OpenProcessToken and
// GetUserProfileDirectoryA), or none when it cannot be had.
std::optional<std::string> Win32ProfileDirectory();

// Loads (mode 0) or saves (mode 1) the settings from or to the INI file at `path` through the
// platform's private-profile functions; an empty path reads every default and writes nothing.
void ExchangeSettings(Settings& settings, int& settingWindowType, int mode, const std::string& path);
