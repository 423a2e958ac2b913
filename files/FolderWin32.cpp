// Folder operations over the Win32 ANSI calls, so code page 932 names pass unchanged.
#include <windows.h>

#include "files/Folder.h"

namespace files {
namespace {

FileStamp StampOf(const WIN32_FIND_DATAA& data) {
    FileStamp s;
    s.name = data.cFileName;
    s.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    s.modified = static_cast<std::int64_t>((static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                                           data.ftLastWriteTime.dwLowDateTime);
    return s;
}

bool IsRegular(const WIN32_FIND_DATAA& data) {
    return (data.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0;
}

}  // namespace

std::optional<std::vector<FileStamp>> ListFolder(const std::string& folder) {
    const DWORD attributes = GetFileAttributesA(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return std::nullopt;
    std::vector<FileStamp> files;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(JoinFolder(folder, "*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return files;  // an empty folder may report no match
    do {
        if (IsRegular(data)) files.push_back(StampOf(data));
    } while (FindNextFileA(find, &data));
    FindClose(find);
    return files;
}

std::optional<FileStamp> StampFile(const std::string& folder, const std::string& name) {
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(JoinFolder(folder, name).c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return std::nullopt;
    FindClose(find);
    if (!IsRegular(data)) return std::nullopt;
    FileStamp s = StampOf(data);
    s.name = name;
    return s;
}

bool MoveReplacing(const std::string& source, const std::string& target) {
    return MoveFileExA(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool RemoveFile(const std::string& path) { return DeleteFileA(path.c_str()) != 0; }

}  // namespace files
