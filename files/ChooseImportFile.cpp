// The imports' file-open dialog.
#include "files/ChooseImportFile.h"

#include <commdlg.h>
#include <shlwapi.h>

#include <vector>

#include "files/ImportTexts.h"

std::optional<std::string> ChooseImportFile(const std::string& typeName, const std::string& ext, bool sd,
                                            Settings& settings, HWND owner) {
    const std::string& initialDir = sd ? settings.lastSdDir : settings.saveDirectory;
    const std::string filter = files::ImportFilter(typeName, ext);
    // Longer than MAX_PATH, so a long choice is not silently lost; opening it reports the path.
    std::vector<char> file(4096, '\0');

    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrInitialDir = initialDir.empty() ? nullptr : initialDir.c_str();
    ofn.lpstrDefExt = ext.c_str();
    ofn.Flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_EXPLORER;
    // The dialog moves the current folder to the chosen file's, and the settings are written to
    // the current folder at exit: it is put back, whatever the dialog did.
    char current[MAX_PATH] = "";
    const DWORD kept = GetCurrentDirectoryA(MAX_PATH, current);
    const BOOL chosen = GetOpenFileNameA(&ofn);
    if (kept > 0 && kept < MAX_PATH) SetCurrentDirectoryA(current);
    if (!chosen) return std::nullopt;

    std::string path = file.data();
    if (sd) {
        std::vector<char> folder(path.begin(), path.end());
        folder.push_back('\0');
        PathRemoveFileSpecA(folder.data());
        settings.lastSdDir = folder.data();
    }
    return path;
}
