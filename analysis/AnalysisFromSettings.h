// The analysis settings as the settings record holds them.
#pragma once

#include "analysis/Analysis.h"
#include "config/Settings.h"

namespace app {

// Resolves the display time from [SCALE] TIME and TIME_SEL; an index outside the table (only
// possible before a load corrected it) takes the nearest entry.
inline AnalysisSettings AnalysisSettingsFrom(const Settings& s) {
    AnalysisSettings a;
    const int last = static_cast<int>(s.time.size()) - 1;
    const int sel = s.timeSel < 0 ? 0 : (s.timeSel > last ? last : s.timeSel);
    a.displayTime = s.time[sel];
    a.psdEnabled = s.psdFlg;
    a.windowType = s.windowType;
    a.highPassEnabled = s.hipassFilterFlg;
    a.highPassCutoff = s.hipassFilter;
    return a;
}

}  // namespace app
