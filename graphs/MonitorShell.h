// What both monitors share on Win32: what they show (handed over at construction), the pane dialog
// (layout at the next paint after a resize, button-face background, labels set only on a change,
// pop-up menus), moving controls and scaled fonts.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "graphs/GraphCore.h"
#include "graphs/GraphCtrl.h"
#include "graphs/MonitorLayout.h"
#include "pipeline/PeakHold.h"
#include "ui/Dialog.h"

namespace monitor {

// What a monitor shows, handed over by the window that owns it; all of it outlives the monitor.
struct MonitorModel {
    Settings* settings = nullptr;             // the scale and axis menus change it
    app::AnalysisState* analysis = nullptr;
    const WaveBuffer* rings = nullptr;        // three rings, X, Y, Z
    const int* running = nullptr;             // non-zero while a measurement runs
    app::PeakHold* peaks = nullptr;           // the review shows its window's extremes
    const uint64_t* reviewBaseTime = nullptr; // local FILETIME count of review position 0; 0: none

    graphs::GraphContext Graphs() const { return {settings, analysis, rings, running}; }
};

}  // namespace monitor

// A monitor pane: a modeless child dialog with a graph per axis that lays its controls out in the
// first paint after a resize and paints only its background (and what PaintOver adds).
class CMonitorPane : public ui::Dialog {
public:
    CMonitorPane(int templateId, const monitor::MonitorModel& model) : ui::Dialog(templateId, nullptr), model_(model) {}
    ~CMonitorPane() override;

    CGraphCtrl& Graph(int axis) { return *graphs_[axis]; }
    // The graphs' axis, scale and colours from the settings, then every label and field of each row.
    void ApplyGraphSettings();
    // The data handler's per-batch step: the graphs take the batch, then the rows' value fields.
    void AdvanceGraphs(int n);

protected:
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void OnOK() override {}      // Enter and Escape do not close a pane
    void OnCancel() override {}
    virtual void Layout() = 0;
    virtual void PaintOver(HDC) {}
    // Refreshes one row: its labels (all of them when `all`) or only its value fields.
    virtual void RefreshRow(int axis, bool all) = 0;

    // Creates the three graphs of `kind` in the template's frames frameId … frameId + 2.
    void CreateGraphs(int frameId, graphs::GraphKind kind);

    // Sets a label's text only when it differs.
    void SetLabel(int id, const std::string& text);
    RECT Rect(int id) const { return ItemRectInClient(id); }
    monitor::Size SizeOf(int id) const;
    monitor::Size ClientSize() const;
    // Tracks a pop-up menu of `items` at the cursor; returns the command chosen (0 for none).
    int TrackMenu(const std::vector<monitor::MenuItem>& items);
    void Move(HWND control, monitor::Point at);
    void Move(int id, monitor::Point at) { Move(Item(id), at); }
    // The controls around one row's graph, by their ids, and the graph itself.
    struct FrameIds {
        int xLeft, xRight, yTop, unit, yBottom, letter;
    };
    void PlaceFrame(int axis, const monitor::GraphFrame& frame, const FrameIds& ids);

    std::unique_ptr<CGraphCtrl> graphs_[3];

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
