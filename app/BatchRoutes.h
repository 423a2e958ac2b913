// Where a sample batch goes: every consumer of the pipeline and the trigger recording is hooked up
// here, in the order a batch reaches it, and the windows' hooks are cleared here too.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "pipeline/SamplePipeline.h"
#include "recording/RecordingControl.h"

namespace app {

// What the windows show of a batch; the main window implements it and forwards to its panes.
class BatchViews {
public:
    // The rings took n samples: the time monitor's graphs and fields, then the PSD monitor's.
    virtual void AdvanceGraphs(int n) = 0;
    // The time monitor's "Trig" markers, one per axis.
    virtual void ShowTriggerMarkers(const std::array<bool, 3>& shown) = 0;
    // The panel's low-pass field.
    virtual void ShowLowPass(const std::string& text) = 0;
    // A trigger recording ended with these files: the trigger history reads its group again.
    virtual void TriggerRecordingEnded(const std::vector<std::string>& paths) = 0;

protected:
    ~BatchViews() = default;
};

// Everything a batch passes through; all of it outlives the routes.
struct BatchPath {
    SamplePipeline& pipeline;
    RecordingControl& recorder;
    const WaveBuffer (&rings)[3];
    std::function<void(const device::SampleBatch& counts)> archive;  // the miniSEED archive
    std::function<void()> notifyAgain;                                // the link: records still wait
    BatchViews& views;
};
// Connects every consumer, once the windows exist.
void RouteBatches(const BatchPath& path);
// Clears the windows' consumers before the windows go; the rest stays connected.
void UnrouteViews(SamplePipeline& pipeline, RecordingControl& recorder);

}  // namespace app
