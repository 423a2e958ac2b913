// The file-open dialog of the imports (Win32 only).
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "config/Settings.h"

// Asks the operator for the file to import, starting in [SPEC] LAST_SD_DIR when `sd`, else in
// [SPEC] SAVE_DIRECTORY (the system's choice when empty), with the filter entries
// "<typeName> (*.<ext>)" and "全てのファイル (*.*)". Returns the chosen file's full path, and when
// `sd` stores its folder as LAST_SD_DIR; nullopt, changing nothing, when the operator cancels.
// The dialog is modal to `owner`; the current folder is the same after it as before.
[[nodiscard]] std::optional<std::string> ChooseImportFile(const std::string& typeName, const std::string& ext,
                                                          bool sd, Settings& settings, HWND owner);
