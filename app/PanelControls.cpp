// The control panel's controls from the settings and the measurement.
#include "app/PanelControls.h"

#include "config/FormatSignificant.h"
#include "pipeline/MeasurementRules.h"
#include "resources/resource.h"

namespace app {

namespace {

// The level labels, fields and units follow the trigger mode.
constexpr int kTriggerLevelControls[] = {IDC_LABEL_XY, IDC_LABEL_Z, IDC_LEVEL_XY, IDC_LEVEL_Z, IDC_UNIT_XY, IDC_UNIT_Z};

}  // namespace

void ShowTriggerLevels(const ui::DialogItems& items, const Settings& settings) {
    items.CheckItem(IDC_TRIG_MODE, settings.trigMode != 0);
    items.SetItemText(IDC_LEVEL_XY, FormatSignificant(settings.valX, 6));
    items.SetItemText(IDC_LEVEL_Z, FormatSignificant(settings.valZ, 6));
}

void ShowTriggerSettings(const ui::DialogItems& items, const Settings& settings) {
    ShowTriggerLevels(items, settings);
    for (int id : kTriggerLevelControls) items.EnableItem(id, settings.trigMode != 0);
}

void ShowIdleButtons(const ui::DialogItems& items, bool idle) {
    for (int id : {IDC_SETTINGS, IDC_LOAD_SD, IDC_LOAD_DATA}) items.EnableItem(id, idle);
    items.EnableItem(IDC_RECORD, !idle);
    items.EnableItem(IDC_PPCLEAR, !idle);
}

void DisableLoads(const ui::DialogItems& items) {
    for (int id : {IDC_SETTINGS, IDC_LOAD_SD, IDC_LOAD_DATA}) items.EnableItem(id, false);
}

void ShowStatusText(const ui::DialogItems& items, const std::string& text) {
    if (items.ItemText(IDC_STATUS_TEXT) != text) items.SetItemText(IDC_STATUS_TEXT, text);
}

const char* RecordButtonCaption(bool recording) { return recording ? "記録停止" : "記録"; }

int OnOffLampState(bool on) { return on ? 0 : 4; }

bool RingsTooSmallFor(const Settings& settings, const WaveBuffer& ring, bool running) {
    return running && ring.Capacity() < RingCapacity(settings);
}

}  // namespace app
