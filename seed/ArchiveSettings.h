// The archive's settings in the INI file's section "MSEED". They are written at exit only once
// the file held them or the operator set them in the dialog, so with default settings the INI the
// program writes stays as it was.
#pragma once

#include <optional>
#include <string>

#include "config/ProfileStore.h"
#include "seed/Archive.h"

namespace seed {

struct ArchiveSettings {
    int enabled = 0;    // [MSEED] ARCHIVE: the live archive is written while measuring (non-zero)
    std::string root;   // [MSEED] ROOT: the archive's folder; empty: the data folder's "SDS"
    ArchiveCodes codes; // [MSEED] NETWORK, STATION, LOCATION, CHANNEL_X, CHANNEL_Y, CHANNEL_Z
    bool stored = false;  // written at exit: the section was in the file, or the dialog set it
};

constexpr const char* kArchiveSection = "MSEED";
constexpr const char* kDefaultRootName = "SDS";

// Reads the section; keys that are missing keep their defaults, codes that are no valid code
// (CodeProblem) are replaced by the default, so a record never gets a malformed header.
void LoadArchiveSettings(IProfileStore& store, ArchiveSettings& settings);
// Writes every key when `settings.stored`; otherwise nothing.
void SaveArchiveSettings(IProfileStore& store, const ArchiveSettings& settings);

// The archive's folder: ROOT, or the data folder's "SDS" when ROOT is empty.
[[nodiscard]] std::string ArchiveRoot(const ArchiveSettings& settings, const std::string& dataFolder);

// Why the codes cannot be used (the operator's message, code page 932), or none: network 1-2,
// station 1-5, location 0-2 and channels exactly 3 characters, each A-Z or 0-9, the three
// channels different.
[[nodiscard]] std::optional<std::string> CodeProblem(const ArchiveCodes& codes);

}  // namespace seed
