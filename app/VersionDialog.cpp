// The version dialog reads the running executable's version resource and file time when it opens.
#include "app/VersionDialog.h"

#include "config/Win32Version.h"

#include <shlwapi.h>

namespace {

// Last-write time of `path` as local time text, or empty when the file cannot be opened or read.
std::string FileDateText(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    FILETIME written{};
    const bool haveTime = GetFileTime(file, nullptr, nullptr, &written) != 0;
    CloseHandle(file);
    FILETIME local{};
    SYSTEMTIME t{};
    if (!haveTime || !FileTimeToLocalFileTime(&written, &local) || !FileTimeToSystemTime(&local, &t)) return {};
    return version::FormatFileDate(t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
}

}  // namespace

BOOL CVersionDialog::OnInitDialog() {
    const std::string path = version::ModulePath();
    SetItemText(IDC_VERSION_FILENAME, PathFindFileNameA(path.c_str()));

    std::optional<version::VersionBlock> block = version::LoadVersionBlock(path);
    if (!block) return TRUE;
    SetItemText(IDC_VERSION_FILEVERSION, version::QueryVersionString(*block, "FileVersion"));
    SetItemText(IDC_VERSION_COMPANY, version::QueryVersionString(*block, "CompanyName"));
    const std::string date = FileDateText(path);
    if (!date.empty()) SetItemText(IDC_VERSION_FILEDATE, date);
    return TRUE;
}
