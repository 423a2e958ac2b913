// Folder operations over POSIX calls (native builds and their tests).
#include <dirent.h>
#include <sys/stat.h>

#include <cstdio>

#include "files/Folder.h"

namespace files {
namespace {

std::optional<FileStamp> Stamp(const std::string& path, const std::string& name) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
    FileStamp s;
    s.name = name;
    s.size = static_cast<std::uint64_t>(st.st_size);
    s.modified = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    return s;
}

}  // namespace

std::optional<std::vector<FileStamp>> ListFolder(const std::string& folder) {
    DIR* dir = opendir(folder.c_str());
    if (!dir) return std::nullopt;
    std::vector<FileStamp> files;
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        if (auto s = Stamp(JoinFolder(folder, name), name)) files.push_back(*s);
    }
    closedir(dir);
    return files;
}

std::optional<FileStamp> StampFile(const std::string& folder, const std::string& name) {
    return Stamp(JoinFolder(folder, name), name);
}

bool MoveReplacing(const std::string& source, const std::string& target) {
    return std::rename(source.c_str(), target.c_str()) == 0;
}

bool RemoveFile(const std::string& path) { return std::remove(path.c_str()) == 0; }

}  // namespace files
