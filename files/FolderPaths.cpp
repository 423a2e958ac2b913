// Path helpers of the folder operations; both separators are understood everywhere.
#include "files/Folder.h"

namespace files {
namespace {

#ifdef _WIN32
constexpr char kSeparator = '\\';
#else
constexpr char kSeparator = '/';
#endif

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

std::size_t LastSeparator(const std::string& path) { return path.find_last_of("\\/"); }

}  // namespace

std::string JoinFolder(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    if (IsSeparator(folder.back())) return folder + name;
    return folder + kSeparator + name;
}

std::string FolderOf(const std::string& path) {
    const std::size_t at = LastSeparator(path);
    return at == std::string::npos ? std::string() : path.substr(0, at);
}

std::string NameOf(const std::string& path) {
    const std::size_t at = LastSeparator(path);
    return at == std::string::npos ? path : path.substr(at + 1);
}

}  // namespace files
