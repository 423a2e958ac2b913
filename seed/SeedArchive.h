// The program's live miniSEED archive on Win32: seed::LiveArchive over the Win32 file system and
// clocks, the INI file through the platform's profile functions, its dialog and the export.
#pragma once

#include <windows.h>

#include <string>

#include "seed/LiveArchive.h"
#include "seed/Win32ArchiveFiles.h"

namespace seed {

// The system's clocks for the archive.
class Win32ArchiveClock : public ArchiveClock {
public:
    long long UtcMicros() override;
    long long SteadyMicros() override;
};

// Made before the archive that uses them.
struct Win32ArchiveParts {
    Win32ArchiveFiles files;
    Win32ArchiveClock clock;
};

}  // namespace seed

class CSeedArchive : private seed::Win32ArchiveParts, public seed::LiveArchive {
public:
    CSeedArchive() : seed::LiveArchive(files, clock) {}

    // [MSEED] of the INI file at `iniPath`.
    void LoadSettings(const std::string& iniPath);
    void SaveSettings(const std::string& iniPath);

    // The system menu's item: the dialog, modal to `owner`.
    void OpenDialog(HWND owner);
    // Asks for a CSV recording and writes its miniSEED file; the result in a message box.
    void ExportChosenFile(HWND owner, const seed::ArchiveCodes& codes);
};

extern CSeedArchive theSeedArchive;
