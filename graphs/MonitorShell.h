// What both monitors share on Win32: what they show (handed over at construction), the pane dialog
// (layout at the next paint after a resize, button-face background, labels set only on a change,
// pop-up menus), moving controls and scaled fonts.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "graphs/GraphCtrl.h"
#include "graphs/MonitorRows.h"
#include "graphs/NumCtrl.h"
#include "ui/Dialog.h"

// A monitor pane: a modeless child dialog with a graph per axis that lays its controls out in the
// first paint after a resize and paints only its background (and what PaintOver adds). It is the
// view its rows (monitor::TimeRows, monitor::PsdRows) work on.
class CMonitorPane : public ui::Dialog, public monitor::PaneView {
public:
    CMonitorPane(int templateId, const monitor::MonitorModel& model) : ui::Dialog(templateId, nullptr), model_(model) {}
    ~CMonitorPane() override;

    // The graphs' axis, scale and colours from the settings, then every label and field of each row.
    void ApplyGraphSettings();
    // The data handler's per-batch step: the graphs take the batch, then the rows' value fields.
    void AdvanceGraphs(int n) { Rows().AdvanceGraphs(n); }

protected:
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void OnOK() override {}      // Enter and Escape do not close a pane
    void OnCancel() override {}
    virtual void Layout() = 0;
    virtual void PaintOver(HDC) {}
    // The rows' rules, which work on this pane.
    virtual monitor::MonitorRows& Rows() = 0;

    // Creates the three graphs of `kind` in the template's frames frameId … frameId + 2.
    void CreateGraphs(int frameId, graphs::GraphKind kind);

    // Tracks a pop-up menu of `items` at the cursor; returns the command chosen (0 for none).
    int TrackMenu(const std::vector<monitor::MenuItem>& items);
    RECT Rect(int id) const { return ItemRectInClient(id); }
    void Move(HWND control, monitor::Point at);
    // The value field of a row.
    virtual CNumCtrl& FieldOf(monitor::Field field, int axis) = 0;

    // monitor::PaneView
    graphs::GraphCore* Core(int axis) override { return graphs_[axis] ? &graphs_[axis]->Core() : nullptr; }
    monitor::Size SizeOf(int id) const override;
    monitor::Size ClientSize() const override;
    void Move(int id, monitor::Point at) override { Move(Item(id), at); }
    void Place(int id, const monitor::Box& box) override;
    void PlaceGraph(int axis, const monitor::Box& box) override;
    void RepaintGraph(int axis) override;
    void UpdateGraph(int axis) override;
    void SetLabel(int id, const std::string& text) override;
    std::string LabelText(int id) const override { return ItemText(id); }
    void ShowItem(int id, bool shown) const override { ui::Dialog::ShowItem(id, shown); }
    void MoveField(monitor::Field field, int axis, monitor::Point at) override { Move(FieldOf(field, axis).Handle(), at); }
    void SetField(monitor::Field field, int axis, const std::string& text) override { FieldOf(field, axis).SetText(text); }

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

}  // namespace monitor
