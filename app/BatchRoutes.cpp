// The path of a batch, read top to bottom. The receive thread decodes records into the hand-off
// and posts a notice; on the user-interface thread SamplePipeline::OnSampleData takes what waits
// and calls these in this order.
#include "app/BatchRoutes.h"

namespace app {

void RouteBatches(const BatchPath& path) {
    PipelineHooks& hooks = path.pipeline.hooks;
    RecordingControl& recorder = path.recorder;
    const WaveBuffer(&rings)[3] = path.rings;
    BatchViews& views = path.views;
    // The counts as received go to the miniSEED archive.
    hooks.countsBatch = path.archive;
    // Converted to gal: the low-pass text to the panel; the pipeline fills the peaks and rings.
    hooks.showLowPass = [&views](const std::string& text, bool) { views.ShowLowPass(text); };
    // The manual recording writes the batch.
    hooks.recordBatch = [&recorder](const GalBatch& batch) { recorder.RecordBatch(batch); };
    // The trigger detection: it records around a trigger from the rings, shows the markers and
    // tells the trigger history of a recording that ended.
    hooks.triggerBatch = [&recorder, &rings](const GalBatch& batch) { recorder.TriggerBatch(batch, rings); };
    recorder.hooks.markersChanged = [&views](const std::array<bool, 3>& shown) { views.ShowTriggerMarkers(shown); };
    recorder.hooks.triggerEnded = [&views](const TriggerRecordingEnd& end) { views.TriggerRecordingEnded(end.paths); };
    // Both monitors' graphs take the new samples.
    hooks.advanceGraphs = [&views](int n) { views.AdvanceGraphs(n); };
    // Records that arrived meanwhile: the link posts its notice again.
    hooks.notifyAgain = path.notifyAgain;
}

void UnrouteViews(SamplePipeline& pipeline, RecordingControl& recorder) {
    pipeline.hooks.showLowPass = nullptr;
    pipeline.hooks.advanceGraphs = nullptr;
    recorder.hooks.markersChanged = nullptr;
    recorder.hooks.triggerEnded = nullptr;
}

}  // namespace app
