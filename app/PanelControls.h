// What the control panel's controls show of the settings and the measurement, without the window:
// the trigger mode and levels, the buttons of an idle or running measurement, the link's status
// and the record button's caption. The panel (app/BtnDialog) applies these to itself.
#pragma once

#include <string>

#include "config/Settings.h"
#include "pipeline/WaveBuffer.h"
#include "ui/DialogItems.h"

namespace app {

// The trigger check box and the two level fields.
void ShowTriggerLevels(const ui::DialogItems& items, const Settings& settings);
// The same, with the level labels, fields and units enabled as the trigger mode says.
void ShowTriggerSettings(const ui::DialogItems& items, const Settings& settings);
// Settings, loads and the two measuring buttons: idle, or a measurement runs.
void ShowIdleButtons(const ui::DialogItems& items, bool idle);
// From the first step of a start: no settings, no loads.
void DisableLoads(const ui::DialogItems& items);
// The status text, set only when it changed (each set is a server call and a repaint).
void ShowStatusText(const ui::DialogItems& items, const std::string& text);
// The record button's caption and the record and trigger lamps' states.
[[nodiscard]] const char* RecordButtonCaption(bool recording);
[[nodiscard]] int OnOffLampState(bool on);
// New settings confirmed while a measurement runs: its rings must still hold two display windows
// and the trigger spans of the new settings.
[[nodiscard]] bool RingsTooSmallFor(const Settings& settings, const WaveBuffer& ring, bool running);

}  // namespace app
