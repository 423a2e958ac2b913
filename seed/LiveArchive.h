// The live miniSEED archive as the program runs it, without the platform: its settings from and to
// the INI file, the measurement's start and stop, the pipeline's batches timed on the PC clock,
// and failures reported like the recordings'. The Win32 side gives it the file system and clocks.
#pragma once

#include <string>
#include <vector>

#include "config/ProfileStore.h"
#include "config/Settings.h"
#include "device/SampleHandOff.h"
#include "recording/RecordingControl.h"
#include "seed/Archive.h"
#include "seed/ArchiveSettings.h"

namespace seed {

// The two clocks a batch's time is taken from, in microseconds.
class ArchiveClock {
public:
    virtual ~ArchiveClock() = default;
    // UTC since 1970, as precise as the system gives it.
    virtual long long UtcMicros() = 0;
    // The steady clock the receive thread stamps arrivals with.
    virtual long long SteadyMicros() = 0;
};

class LiveArchive {
public:
    LiveArchive(ArchiveFiles& files, ArchiveClock& clock);
    LiveArchive(const LiveArchive&) = delete;
    LiveArchive& operator=(const LiveArchive&) = delete;

    // What the archive reads of the program, given once before the first measurement: its
    // settings (save folder, [SPEC] KANZAN, the import's folder), the recordings' hooks (a failure
    // is reported like theirs) and whether a measurement runs.
    void Attach(Settings& appSettings, const app::RecordingHooks& reports, const int* running);

    // [MSEED]: read after the settings at start, written after them at exit (only once it was
    // there or the dialog set it).
    void LoadSettings(IProfileStore& store);
    void SaveSettings(IProfileStore& store);

    // A measurement started (the receive thread runs) or stopped (its last batch handled).
    void OnMeasurementStart();
    void OnMeasurementStop();
    // The pipeline's batch as received.
    void OnBatch(const device::SampleBatch& batch);

    bool MeasurementRuns() const { return running_ && *running_ != 0; }

    ArchiveSettings settings;

protected:
    Settings* appSettings_ = nullptr;

private:
    void Report(const char* message) const;

    ArchiveClock& clock_;
    const app::RecordingHooks* reports_ = nullptr;
    const int* running_ = nullptr;
    ArchiveWriter writer_;
    long long offsetUs_ = 0;  // UTC minus the steady clock, in microseconds
    std::vector<Ticks> arrival_;
};

}  // namespace seed

// Log row of a failure of the archive (the message is the CSV writer's).
inline constexpr const char* kLogSeedError = "MSEED-ERR";
