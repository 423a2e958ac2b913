// What both monitors share on Win32: what they show (handed over at construction), the pane dialog
// (layout at the next paint after a resize, button-face background, labels set only on a change,
// pop-up menus), moving controls and scaled fonts.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "graphs/GraphCore.h"
#include "ui/Dialog.h"

namespace monitor {

// What a monitor shows, handed over by the window that owns it; all of it outlives the monitor.
struct MonitorModel {
    Settings* settings = nullptr;             // the scale and axis menus change it
    app::AnalysisState* analysis = nullptr;
    const WaveBuffer* rings = nullptr;        // three rings, X, Y, Z
    const int* running = nullptr;             // non-zero while a measurement runs
    double* peakMin = nullptr;                // three each: the review shows its window's extremes
    double* peakMax = nullptr;
    const uint64_t* reviewBaseTime = nullptr; // local FILETIME count of review position 0; 0: none

    graphs::GraphContext Graphs() const { return {settings, analysis, rings, running}; }
};

}  // namespace monitor

// A monitor pane: a modeless child dialog that lays its controls out in the first paint after a
// resize and paints only its background (and what PaintOver adds).
class CMonitorPane : public ui::Dialog {
public:
    CMonitorPane(int templateId, const monitor::MonitorModel& model) : ui::Dialog(templateId, nullptr), model_(model) {}

protected:
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void OnOK() override {}      // Enter and Escape do not close a pane
    void OnCancel() override {}
    virtual void Layout() = 0;
    virtual void PaintOver(HDC) {}

    // Sets a label's text only when it differs.
    void SetLabel(int id, const std::string& text);
    RECT Rect(int id) const { return ItemRectInClient(id); }
    // Tracks `menu` at the cursor as this pane's pop-up; returns the command chosen (0 for none)
    // and destroys the menu.
    int TrackMenu(HMENU menu);

    bool initialised_ = false;  // set at the end of the dialog initialisation
    const monitor::MonitorModel model_;

private:
    bool relayoutPending_ = false;
};

namespace monitor {

// Moves a control, keeping its size.
void MoveControl(HWND control, int x, int y);
// A copy of `base` with its height multiplied by `factor` (truncated), width 0 and, when given,
// the weight; the caller owns it.
HFONT ScaledFont(HFONT base, double factor, int weight = -1);
// The display time in seconds, [SCALE] TIME[TIME_SEL].
double DisplayTime(const Settings& settings);

}  // namespace monitor
