// The two recordings of a measurement: the manual recording of the record button and the trigger
// recording that starts when an axis exceeds its level. Decides when files open and close and
// which samples go into them; the files themselves are files::WaveFileWriter's.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "config/Settings.h"
#include "files/WaveFile.h"
#include "pipeline/SamplePipeline.h"
#include "pipeline/WaveBuffer.h"

namespace app {

// Samples in `seconds` at 100 per second, truncated; a hair of tolerance keeps 0.29 s at 29
// samples despite binary fractions. Negative and NaN give 0.
[[nodiscard]] int TruncatedSamples(double seconds);

// Per axis: some value of the batch has |v| strictly above the axis's level.
[[nodiscard]] std::array<bool, 3> ExceededAxes(const GalBatch& batch, const std::array<double, 3>& levels);

// The operator's message when a recording's file stopped taking lines.
[[nodiscard]] std::string WriteFailureMessage(const std::string& path);

// Event texts of the log list.
inline constexpr const char* kLogSaveStart = "SAVE-START";
inline constexpr const char* kLogSaveEnd = "SAVE-END";
inline constexpr const char* kLogTrigStart = "TRIG-START";
inline constexpr const char* kLogTrigEnd = "TRIG-END";
inline constexpr const char* kLogSaveWriteError = "SAVE-ERR";  // a manual recording's write failed
inline constexpr const char* kLogTrigWriteError = "TRIG-ERR";  // a trigger recording's write failed

// One finished trigger recording. Sample numbers count the samples of the measurement from 0
// (the first sample after the start).
struct TriggerRecordingEnd {
    std::vector<std::string> paths;  // its files, first part first; empty when none could be opened
    long long firstSample = 0;       // the oldest pre-trigger sample it holds
    long long triggerSample = 0;     // the first sample above a level
    long long lastSample = 0;        // the newest sample it holds
};

// Where the recordings' news goes. All are called on the user-interface thread from the calls
// below; each may be empty.
struct RecordingHooks {
    std::function<void(const char* text)> addLog;  // an event row of the log list (PC stamp 0)
    // A message with an OK button ("FILE OPEN ERROR", the Trig.dt message, a failed write). It
    // can come from inside a batch, so the receiver must not let it hold up the data handler.
    std::function<void(const std::string& text)> showMessage;
    std::function<void(bool on)> recordingChanged;  // record button caption and lamp
    std::function<void(bool on)> triggerChanged;    // trigger lamp: on from TRIG-START to TRIG-END
    // After each batch (and at the stop): which axes show their trigger marker in the time monitor.
    std::function<void(const std::array<bool, 3>& shown)> markersChanged;
    // At the end of each trigger recording, after its file was closed.
    std::function<void(const TriggerRecordingEnd& end)> triggerEnded;
};

class RecordingControl {
public:
    // Reads [TRIG] and [SPEC] settings from `settings` at each use.
    RecordingControl(files::WaveFileSystem& fileSystem, const Settings& settings);

    // The record button: opens the first file and starts, or closes and ends. A start whose file
    // cannot be opened does not happen ("FILE OPEN ERROR" was shown).
    void ToggleRecording();
    // A measurement starts: trigger idle, sample numbers from 0.
    void OnMeasurementStart();
    // A batch, oldest sample first, while the manual recording runs: written as sample lines.
    void RecordBatch(const GalBatch& batch);
    // Trigger detection and recording on a batch that `rings` already hold. Each sample goes
    // through the state machine in order, so a file starts and ends at the same samples however
    // the stream was cut into batches.
    void TriggerBatch(const GalBatch& batch, const WaveBuffer (&rings)[3]);
    // The measurement stopped (its last batch already handled): ends both recordings and hides
    // the markers.
    void OnMeasurementStop();

    // Per axis: the axis exceeded its level in the last batch while TRIG_MODE was on.
    const std::array<bool, 3>& Markers() const { return markers_; }
    // Samples handled since the measurement start.
    long long SampleCount() const { return samplesSeen_; }

    int recording = 0;  // 1 while the manual recording runs
    int trigState = 0;  // 0 idle, 1 triggered, 2 after-time, 3 after-time elapsed
    int postCount = 0;  // quiet samples counted in state 2
    files::WaveFileWriter recordFile;
    files::WaveFileWriter trigFile;
    RecordingHooks hooks;

private:
    void StartTrigger(const GalBatch& batch, size_t k, const WaveBuffer (&rings)[3]);
    void WriteTriggerSample(const GalBatch& batch, size_t k);
    void EndTrigger();
    void Log(const char* text);
    void SetMarkers(const std::array<bool, 3>& shown);

    const Settings& settings_;
    std::array<bool, 3> markers_{};
    long long samplesSeen_ = 0;       // sample number of the current batch's first sample
    TriggerRecordingEnd event_;       // the trigger recording in progress
    std::array<std::vector<double>, 3> preTrigger_;  // keeps its capacity between triggers
};

}  // namespace app
