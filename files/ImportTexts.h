// Texts of the import: the file dialog's filter and the main window's title during and after it.
#pragma once

#include <string>

namespace files {

// The file-open dialog's filter for "<typeName> (*.<ext>)" and "全てのファイル (*.*)", in the
// dialog's form: description and pattern of each entry ended by a zero byte, then one more.
[[nodiscard]] std::string ImportFilter(const std::string& typeName, const std::string& ext);

// The main window's title after `path` was imported: the standard title and " [path]".
[[nodiscard]] std::string ImportedTitle(const std::string& standardTitle, const std::string& path);

// The title while a long import runs: the imported title with the share done so far.
[[nodiscard]] std::string ImportProgressTitle(const std::string& importedTitle, int percent);

}  // namespace files
