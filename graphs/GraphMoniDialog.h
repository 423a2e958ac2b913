// The time-waveform monitor: the left pane of the main window. One row per axis with its time
// graph, level and time labels and four value fields; a scroll bar with date and time labels moves
// a window over the held samples in review.
#pragma once

#include <functional>
#include <memory>

#include "graphs/GraphCtrl.h"
#include "graphs/MonitorShell.h"
#include "graphs/NumCtrl.h"
#include "resources/resource.h"

class CGraphMoniDialog : public CMonitorPane {
public:
    // The scale menu changes the model's settings ([SCALE] ACC_AUTO among them); the review
    // writes its window's extremes into the model's peaks.
    explicit CGraphMoniDialog(const monitor::MonitorModel& model);
    ~CGraphMoniDialog() override;

    // Refreshes the chosen groups of one row: the display-time label, the y labels (and the level
    // labels when they changed), the value fields.
    void UpdateAxisFields(int axis, bool timeLabel, bool scaleLabels, bool values) {
        rows_.UpdateAxisFields(axis, timeLabel, scaleLabels, values);
    }
    // A measurement starts: empty sweeps, peaks 0, value fields empty.
    void ResetForMeasurement() { rows_.ResetForMeasurement(); }
    // Shows the window at the scroll position on the graphs and the date and time of its start.
    void ShowReviewWindow();
    // Review set-up: scroll range over the held samples, position 0, ShowReviewWindow, then the
    // scroll bar and the date and time labels shown and enabled.
    void EnterReview();
    // Live again: scroll range 0 … 0, scroll bar disabled and hidden with the date and time labels.
    void LeaveReview();
    // The trigger marker of an axis ("Trig"), shown while that axis exceeds its level.
    void SetTriggerMarker(int axis, bool shown);
    // Field colours from [COLOR] again, and a repaint (after the settings changed).
    void ApplyFieldColors();
    // Repaints the graphs and places the level labels again (after the trigger mode or levels
    // changed).
    void RepaintGraphs() { rows_.RepaintGraphs(); }

    // Called by ShowReviewWindow with the window it shows, for the spectra of the PSD monitor.
    std::function<void(int start, int count)> reviewPsd;
    // Called after the scale menu changed a setting, for the PSD monitor's graphs.
    std::function<void()> scaleChanged;

protected:
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    BOOL OnInitDialog() override;
    void Layout() override { rows_.Layout(); }
    CNumCtrl& FieldOf(monitor::Field field, int axis) override;
    // The time labels under the graphs.
    void PaintOver(HDC dc) override;
    monitor::MonitorRows& Rows() override { return rows_; }

private:
    void OnHScroll(int code, HWND scrollBar);
    void OnScaleMenu(int axis);

    CNumCtrl maxField_[3], minField_[3], nowField_[3], trigField_[3];
    HFONT letterFont_ = nullptr;
    HFONT labelFont_ = nullptr;
    monitor::TimeRows rows_;
};
