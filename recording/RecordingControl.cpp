// Manual recording, trigger detection and the trigger recording's state machine.
#include "recording/RecordingControl.h"

#include <algorithm>
#include <cmath>

namespace app {

int TruncatedSamples(double seconds) {
    if (!(seconds > 0.0)) return 0;
    const double samples = std::floor(seconds * 100.0 + 1e-6);
    return samples >= 2147483647.0 ? 2147483647 : static_cast<int>(samples);
}

namespace {

bool Exceeds(double value, double level) { return std::fabs(value) > level; }

bool SampleExceeds(const GalBatch& batch, size_t k, const std::array<double, 3>& levels) {
    return Exceeds(batch[0][k], levels[0]) || Exceeds(batch[1][k], levels[1]) || Exceeds(batch[2][k], levels[2]);
}

std::array<double, 3> Levels(const Settings& s) { return {s.valX, s.valY, s.valZ}; }

}  // namespace

std::array<bool, 3> ExceededAxes(const GalBatch& batch, const std::array<double, 3>& levels) {
    std::array<bool, 3> exceeded{};
    for (int a = 0; a < 3; ++a) {
        exceeded[a] = std::any_of(batch[a].begin(), batch[a].end(),
                                  [level = levels[a]](double v) { return Exceeds(v, level); });
    }
    return exceeded;
}

std::string WriteFailureMessage(const std::string& path) {
    return "ファイルの書き込みに失敗しました。\nこの記録のこれ以降のデータは保存されません。\n" + path;
}

RecordingControl::RecordingControl(files::WaveFileSystem& fileSystem, const Settings& settings)
    : recordFile(files::WaveKind::Record, fileSystem, settings),
      trigFile(files::WaveKind::Trigger, fileSystem, settings),
      settings_(settings) {
    for (files::WaveFileWriter* file : {&recordFile, &trigFile}) {
        file->reports.showMessage = [this](const char* text) {
            if (hooks.showMessage) hooks.showMessage(text);
        };
        file->reports.writeFailed = [this](files::WaveKind kind, const std::string& path) {
            Log(kind == files::WaveKind::Record ? kLogSaveWriteError : kLogTrigWriteError);
            if (hooks.showMessage) hooks.showMessage(WriteFailureMessage(path));
        };
    }
}

void RecordingControl::Log(const char* text) {
    if (hooks.addLog) hooks.addLog(text);
}

void RecordingControl::SetMarkers(const std::array<bool, 3>& shown) {
    markers_ = shown;
    if (hooks.markersChanged) hooks.markersChanged(markers_);
}

void RecordingControl::ToggleRecording() {
    if (recording == 0) {
        if (!recordFile.Open(0)) return;
        recording = 1;
        if (hooks.recordingChanged) hooks.recordingChanged(true);
        Log(kLogSaveStart);
    } else {
        recordFile.Close();
        recording = 0;
        if (hooks.recordingChanged) hooks.recordingChanged(false);
        Log(kLogSaveEnd);
    }
}

void RecordingControl::OnMeasurementStart() {
    trigState = 0;
    postCount = 0;
    samplesSeen_ = 0;
}

void RecordingControl::RecordBatch(const GalBatch& batch) {
    if (recording == 0) return;
    for (size_t k = 0; k < batch[0].size(); ++k) recordFile.Append(batch[0][k], batch[1][k], batch[2][k]);
    recordFile.Flush();
}

void RecordingControl::TriggerBatch(const GalBatch& batch, const WaveBuffer (&rings)[3]) {
    const size_t n = batch[0].size();
    const bool on = settings_.trigMode != 0;
    const std::array<double, 3> levels = Levels(settings_);
    std::array<bool, 3> shown = ExceededAxes(batch, levels);
    for (bool& axis : shown) axis = axis && on;
    SetMarkers(shown);

    if (!on) {
        if (trigState != 0) EndTrigger();
    } else {
        for (size_t k = 0; k < n; ++k) {
            const bool exceeded = SampleExceeds(batch, k, levels);
            switch (trigState) {
            case 0:
                if (exceeded) StartTrigger(batch, k, rings);
                break;
            case 1:
                WriteTriggerSample(batch, k);
                if (!exceeded) {
                    trigState = 2;
                    postCount = 0;
                }
                break;
            case 2:
                WriteTriggerSample(batch, k);
                if (exceeded) {
                    trigState = 1;
                } else if (++postCount >= TruncatedSamples(settings_.afterTime)) {
                    trigState = 3;
                }
                break;
            default:
                EndTrigger();  // this sample is not written and starts nothing
                break;
            }
        }
    }
    samplesSeen_ += static_cast<long long>(n);
    trigFile.Flush();
}

void RecordingControl::StartTrigger(const GalBatch& batch, size_t k, const WaveBuffer (&rings)[3]) {
    const size_t n = batch[0].size();
    const int wanted = TruncatedSamples(settings_.beforTime);
    // The pre-trigger span ends with sample k. The rings hold it when they hold the whole batch;
    // a batch larger than a ring leaves only the batch itself.
    int m = 0;
    for (int a = 0; a < 3; ++a) {
        const WaveBuffer& ring = rings[a];
        std::vector<double>& span = preTrigger_[a];
        const size_t after = n - 1 - k;  // batch samples newer than sample k
        if (n <= static_cast<size_t>(ring.heldCount)) {
            const int upTo = ring.heldCount - static_cast<int>(after);
            m = std::min(upTo, wanted);
            span.resize(static_cast<size_t>(m));
            if (m > 0) ring.ReadRing(upTo - m, span.data(), m);
        } else {
            m = static_cast<int>(std::min<size_t>(k + 1, static_cast<size_t>(wanted)));
            span.assign(batch[a].begin() + static_cast<std::ptrdiff_t>(k + 1 - static_cast<size_t>(m)),
                        batch[a].begin() + static_cast<std::ptrdiff_t>(k + 1));
        }
    }
    const long long sample = samplesSeen_ + static_cast<long long>(k);
    event_ = {};
    event_.triggerSample = sample;
    event_.firstSample = sample + 1 - m;  // with no pre-trigger samples the file starts after the trigger
    event_.lastSample = sample;

    if (trigFile.Open(0)) {
        for (int i = 0; i < m; ++i) trigFile.Append(preTrigger_[0][i], preTrigger_[1][i], preTrigger_[2][i]);
    }
    Log(kLogTrigStart);
    if (hooks.triggerChanged) hooks.triggerChanged(true);
    trigState = 1;
}

void RecordingControl::WriteTriggerSample(const GalBatch& batch, size_t k) {
    trigFile.Append(batch[0][k], batch[1][k], batch[2][k]);
    event_.lastSample = samplesSeen_ + static_cast<long long>(k);
}

void RecordingControl::EndTrigger() {
    trigFile.Close();
    Log(kLogTrigEnd);
    if (hooks.triggerChanged) hooks.triggerChanged(false);
    trigState = 0;
    event_.paths = trigFile.RecordingPaths();
    if (hooks.triggerEnded) hooks.triggerEnded(event_);
}

void RecordingControl::OnMeasurementStop() {
    if (trigState != 0) EndTrigger();
    if (recording != 0) {
        recordFile.Close();
        recording = 0;
        if (hooks.recordingChanged) hooks.recordingChanged(false);
        Log(kLogSaveEnd);
    }
    SetMarkers({false, false, false});
}

}  // namespace app
