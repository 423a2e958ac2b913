// The live archive's Win32 side: clocks, the INI file, the dialog and the export.
#include "seed/SeedArchive.h"

#include <chrono>

#include "config/Win32ProfileStore.h"
#include "files/ChooseImportFile.h"
#include "seed/CsvExport.h"
#include "seed/SeedDialog.h"
#include "ui/MessageBox.h"

CSeedArchive theSeedArchive;

namespace seed {

long long Win32ArchiveClock::SteadyMicros() {
    return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

long long Win32ArchiveClock::UtcMicros() {
    using Precise = VOID(WINAPI*)(LPFILETIME);
    static const Precise precise = reinterpret_cast<Precise>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetSystemTimePreciseAsFileTime")));
    FILETIME now{};
    if (precise) precise(&now);
    else GetSystemTimeAsFileTime(&now);
    const unsigned long long ft = (static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    return static_cast<long long>(ft / 10) - 11644473600000000LL;
}

}  // namespace seed

void CSeedArchive::LoadSettings(const std::string& iniPath) {
    Win32ProfileStore store(iniPath);
    seed::LiveArchive::LoadSettings(store);
}

void CSeedArchive::SaveSettings(const std::string& iniPath) {
    Win32ProfileStore store(iniPath);
    seed::LiveArchive::SaveSettings(store);
}

void CSeedArchive::OpenDialog(HWND owner) {
    CSeedDialog dialog(owner, settings, MeasurementRuns());
    dialog.DoModal();
}

void CSeedArchive::ExportChosenFile(HWND owner, const seed::ArchiveCodes& codes) {
    const std::optional<std::string> path = ChooseImportFile("読み込みファイル", "csv", false, *appSettings_, owner);
    if (!path) return;
    HCURSOR cursor = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    const seed::ExportResult result = seed::ExportCsv(*path, files, codes, seed::LocalFileTimeToUtc);
    SetCursor(cursor);
    const bool written = result.status == seed::ExportResult::Status::Written;
    ui::ShowMessage(owner, seed::ExportMessage(result).c_str(), written ? MB_OK | MB_ICONINFORMATION : MB_OK);
}
