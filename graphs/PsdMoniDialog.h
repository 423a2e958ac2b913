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

    CGraphCtrl& Graph(int axis) { return *graphs_[axis]; }

    // Refreshes the chosen groups of one row: frequency labels (and decade labels), y labels, the
    // peak fields (emptied while the spectrum is not valid).
    void UpdatePsdAxisFields(int axis, bool freqLabels, bool scaleLabels, bool values);
    // The data handler's per-batch step: slide the windows, analyse, refresh the peak fields.
    void AdvanceGraphs(int n);
    // A measurement starts: empty windows, invalid spectra, empty fields.
    void ResetForMeasurement();
    // Review: every graph shows the window of `count` samples from ring index `start`, analysed.
    void ShowWindowAt(int start, int count);
    // Repaints the graphs (after a setting they draw changed elsewhere).
    void RepaintGraphs();
    // Field colours from [COLOR] again, and a repaint (after the settings changed).
    void ApplyFieldColors();

    // Called after the frequency-axis menu changed a setting, for the time monitor's graphs.
    std::function<void()> axisChanged;

protected:
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    BOOL OnInitDialog() override;
    void Layout() override;

private:
    void PlaceDecadeLabels(int axis);
    void OnAxisMenu();

    std::unique_ptr<CGraphCtrl> graphs_[3];
    CNumCtrl freqField_[3], valueField_[3];
    HFONT captionFont_ = nullptr;
    HFONT letterFont_ = nullptr;

    // Layout results used by the decade labels.
    int decadeLabelX0_ = 0;
    int decadeLeftLimit_ = 0;
    int decadeRightLimit_ = 0;
    int decadeLabelY_[3] = {0, 0, 0};
};
