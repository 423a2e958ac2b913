// The few folder operations the trigger history needs, over the platform's own calls (Win32 ANSI
// functions on Windows, so code page 932 names pass unchanged; POSIX natively).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace files {

// A regular file of a folder, with what tells a changed file from an unchanged one.
struct FileStamp {
    std::string name;         // without folder
    std::uint64_t size = 0;   // bytes
    std::int64_t modified = 0;  // last write time in the platform's own units

    bool operator==(const FileStamp& o) const { return name == o.name && size == o.size && modified == o.modified; }
    bool operator!=(const FileStamp& o) const { return !(*this == o); }
};

// `folder` and `name` joined by the platform's separator (none added after a trailing separator
// or to an empty folder).
[[nodiscard]] std::string JoinFolder(const std::string& folder, const std::string& name);
// The folder part of a path (up to its last separator), "" when it has none.
[[nodiscard]] std::string FolderOf(const std::string& path);
// The name part of a path (after its last separator).
[[nodiscard]] std::string NameOf(const std::string& path);

// The regular files directly in `folder`, in no particular order; none when the folder cannot
// be read (it does not exist, or is not a folder).
[[nodiscard]] std::optional<std::vector<FileStamp>> ListFolder(const std::string& folder);
// The stamp of one file; none when it does not exist.
[[nodiscard]] std::optional<FileStamp> StampFile(const std::string& folder, const std::string& name);
// Replaces `target` by `source` in one step (same folder); false when that fails, `source` then
// stays.
[[nodiscard]] bool MoveReplacing(const std::string& source, const std::string& target);
// Removes a file; false when it could not.
bool RemoveFile(const std::string& path);

}  // namespace files
