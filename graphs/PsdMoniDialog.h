// The PSD monitor: the middle pane of the main window while spectra are on. One row per axis with
// its spectrum graph, y and frequency labels (decade labels on the logarithmic axis) and the
// frequency and value of the largest line.
#pragma once

#include <functional>
#include <memory>

#include "graphs/GraphCtrl.h"
#include "graphs/MonitorShell.h"
#include "graphs/NumCtrl.h"
#include "resources/resource.h"

class CPsdMoniDialog : public CMonitorPane {
public:
    explicit CPsdMoniDialog(const monitor::MonitorModel& model);
    ~CPsdMoniDialog() override;

    // Refreshes the chosen groups of one row: frequency labels (and decade labels), y labels, the
    // peak fields (emptied while the spectrum is not valid).
    void UpdatePsdAxisFields(int axis, bool freqLabels, bool scaleLabels, bool values) {
        rows_.UpdateAxisFields(axis, freqLabels, scaleLabels, values);
    }
    // A measurement starts: empty windows, invalid spectra, empty fields.
    void ResetForMeasurement() { rows_.ResetForMeasurement(); }
    // Review: every graph shows the window of `count` samples from ring index `start`, analysed.
    void ShowWindowAt(int start, int count) { rows_.ShowWindowAt(start, count); }
    // Repaints the graphs (after a setting they draw changed elsewhere).
    void RepaintGraphs() { rows_.RepaintGraphs(); }
    // Field colours from [COLOR] again, and a repaint (after the settings changed).
    void ApplyFieldColors();

    // Called after the frequency-axis menu changed a setting, for the time monitor's graphs.
    std::function<void()> axisChanged;

protected:
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    BOOL OnInitDialog() override;
    void Layout() override { rows_.Layout(); }
    CNumCtrl& FieldOf(monitor::Field field, int axis) override;
    monitor::MonitorRows& Rows() override { return rows_; }

private:
    void OnAxisMenu();

    CNumCtrl freqField_[3], valueField_[3];
    HFONT captionFont_ = nullptr;
    HFONT letterFont_ = nullptr;
    monitor::PsdRows rows_;
};
