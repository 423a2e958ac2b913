// What a monitor shows, handed over by the window that owns it, and the display time it reads.
#pragma once

#include <cstdint>

#include "analysis/AnalysisFromSettings.h"
#include "graphs/GraphCore.h"
#include "pipeline/PeakHold.h"

namespace monitor {

// All of it outlives the monitor.
struct MonitorModel {
    Settings* settings = nullptr;             // the scale and axis menus change it
    app::AnalysisState* analysis = nullptr;
    const WaveBuffer* rings = nullptr;        // three rings, X, Y, Z
    const int* running = nullptr;             // non-zero while a measurement runs
    app::PeakHold* peaks = nullptr;           // the review shows its window's extremes
    const uint64_t* reviewBaseTime = nullptr; // local FILETIME count of review position 0; 0: none

    graphs::GraphContext Graphs() const { return {settings, analysis, rings, running}; }
};

// The display time in seconds, [SCALE] TIME[TIME_SEL].
inline double DisplayTime(const Settings& settings) { return app::AnalysisSettingsFrom(settings).displayTime; }

}  // namespace monitor
