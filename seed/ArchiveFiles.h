// The file operations the archive and the export need; Win32 in the program, in memory in tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "files/ByteSource.h"

namespace seed {

enum class FileResult {
    Ok,
    OpenFailed,   // the file (or a folder on its way) could not be created or opened
    WriteFailed,  // it was opened, but not every byte could be written; the file is as before
};

// A file written under a temporary name and put in place only when it is complete.
class PendingFile {
public:
    virtual ~PendingFile() = default;
    [[nodiscard]] virtual bool Write(const uint8_t* bytes, size_t count) = 0;
    // Puts the file in place (replacing one of that name); false leaves neither file behind.
    [[nodiscard]] virtual bool Commit() = 0;
    // Without Commit, the destructor removes what was written.
};

class ArchiveFiles {
public:
    virtual ~ArchiveFiles() = default;
    // Appends to the file, creating it and the folders above it as needed. A write that fails
    // part way cuts the file back to its length before it.
    [[nodiscard]] virtual FileResult Append(const std::string& path, const uint8_t* bytes, size_t count) = 0;
    // The file's last `count` bytes; false when it is missing or shorter.
    [[nodiscard]] virtual bool ReadTail(const std::string& path, uint8_t* out, size_t count) = 0;
    // Starts writing `path` (folders must exist); null when it cannot be created.
    [[nodiscard]] virtual std::unique_ptr<PendingFile> Create(const std::string& path) = 0;
    // Creates the folders of `path` (the path itself included).
    [[nodiscard]] virtual bool MakeFolders(const std::string& path) = 0;
    // A file to read, or null when it cannot be opened.
    [[nodiscard]] virtual std::unique_ptr<files::ByteSource> Open(const std::string& path) = 0;
    [[nodiscard]] virtual bool Exists(const std::string& path) = 0;
};

// `folder` and `name` joined with the separator the folder uses ('\' when it holds one or a
// drive colon, else '/').
[[nodiscard]] std::string JoinPath(const std::string& folder, const std::string& name);

}  // namespace seed
