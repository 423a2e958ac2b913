// The archive's and the export's files on Windows (Win32 only).
#pragma once

#include <optional>

#include "seed/ArchiveFiles.h"
#include "seed/SeedTime.h"

namespace seed {

class Win32ArchiveFiles : public ArchiveFiles {
public:
    FileResult Append(const std::string& path, const uint8_t* bytes, size_t count) override;
    bool ReadTail(const std::string& path, uint8_t* out, size_t count) override;
    // Written as "<path>.part" (no sharing while open), renamed over `path` on Commit.
    std::unique_ptr<PendingFile> Create(const std::string& path) override;
    bool MakeFolders(const std::string& path) override;
    std::unique_ptr<files::ByteSource> Open(const std::string& path) override;
    bool Exists(const std::string& path) override;
};

// The local time of a file-time value as UTC by the system's time zone rules, or none.
[[nodiscard]] std::optional<Ticks> LocalFileTimeToUtc(uint64_t localFileTime);

}  // namespace seed
