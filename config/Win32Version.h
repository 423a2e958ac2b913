// Version resource of an executable read with the platform's version functions, and the main
// window's title built from it (Win32 only).
#pragma once

#include "config/Version.h"

#include <optional>
#include <string>
#include <vector>

namespace version {

// A loaded version information block and the first entry of its translation list. The bytes are
// freed with the object.
struct VersionBlock {
    std::vector<unsigned char> bytes;
    Translation translation;
};

// The version block of `fileName`; nullopt when the file has none, it cannot be read or its
// translation list is missing or empty.
[[nodiscard]] std::optional<VersionBlock> LoadVersionBlock(const std::string& fileName);

// The value `name` ("FileVersion", "CompanyName", ...) of the block with the fallback search of
// version::QueryVersionString; empty when no language and code page holds it.
[[nodiscard]] std::string QueryVersionString(const VersionBlock& block, const std::string& name);

// Full path of the running executable (empty if it cannot be had).
[[nodiscard]] std::string ModulePath();

}  // namespace version

// The main window's title: `title` ([SPEC] TITLE), then "Ver " and the running executable's
// FileVersion, then "HELDRIC", separated by blanks; the version text is empty when the executable
// has no version block. Reads the version resource again on every call.
[[nodiscard]] std::string BuildMainTitle(const std::string& title);
