// The program's live miniSEED archive and its dialog: settings from and to the INI file, the
// archive fed from the sample pipeline, the measurement's start and stop, and the export.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "config/Settings.h"
#include "device/SampleHandOff.h"
#include "recording/RecordingControl.h"
#include "seed/Archive.h"
#include "seed/ArchiveSettings.h"
#include "seed/Win32ArchiveFiles.h"

class CSeedArchive {
public:
    CSeedArchive();
    CSeedArchive(const CSeedArchive&) = delete;
    CSeedArchive& operator=(const CSeedArchive&) = delete;

    // What the archive reads of the program, given once before the first measurement: its
    // settings (save folder, [SPEC] KANZAN, the import's folder), the recordings' hooks (a failure
    // is reported like theirs) and whether a measurement runs.
    void Attach(Settings& appSettings, const app::RecordingHooks& reports, const int* running);

    // [MSEED] of the INI file: read after the settings at start, written after them at exit
    // (only once it was there or the dialog set it).
    void LoadSettings(const std::string& iniPath);
    void SaveSettings(const std::string& iniPath);

    // A measurement started (the receive thread runs) or stopped (its last batch handled).
    void OnMeasurementStart();
    void OnMeasurementStop();
    // The pipeline's batch as received.
    void OnBatch(const device::SampleBatch& batch);

    // The system menu's item: the dialog, modal to `owner`.
    void OpenDialog(HWND owner);
    // Asks for a CSV recording and writes its miniSEED file; the result in a message box.
    void ExportChosenFile(HWND owner, const seed::ArchiveCodes& codes);

    seed::ArchiveSettings settings;

private:
    void Report(const char* message) const;

    Settings* appSettings_ = nullptr;
    const app::RecordingHooks* reports_ = nullptr;
    const int* running_ = nullptr;
    seed::Win32ArchiveFiles files_;
    seed::ArchiveWriter writer_{files_};
    long long offsetUs_ = 0;  // UTC minus the steady clock, in microseconds
    std::vector<seed::Ticks> arrival_;
};

extern CSeedArchive theSeedArchive;

// Log row of a failure of the archive (the message is the CSV writer's).
inline constexpr const char* kLogSeedError = "MSEED-ERR";
