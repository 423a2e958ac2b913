// The main window: the program's only top-level window, run modally by the application object. It
// holds the time monitor, the PSD monitor and the control panel side by side, and receives the
// registered messages of the receive thread, the imports and other programs.
#pragma once

#include <memory>

#include "app/BatchRoutes.h"
#include "app/MeasurementSession.h"
#include "app/SettingsView.h"
#include "pipeline/SampleThrottle.h"
#include "resources/resource.h"
#include "ui/Dialog.h"

class CBtnDialog;
class CGraphMoniDialog;
class CPsdMoniDialog;

class CQuorvelDlg : public ui::Dialog, public SettingsView, public app::SessionMonitors, public app::BatchViews {
public:
    CQuorvelDlg();
    ~CQuorvelDlg() override;

    // Places the panel, the PSD monitor and the time monitor for the present client size and
    // [PSD] FLG, widening the window first when it is narrower than they need.
    void LayoutPanes();
    // After the settings dialog was confirmed (it set the analysis up again): panes laid out, the
    // graphs' axis, scale and colours and both monitors' labels and fields anew, and the review
    // window shown again when in review.
    void RefreshAfterSettings() override;
    void RepaintGraphs() override;

    // app::SessionMonitors
    void ResetMonitors() override;
    // The standard title: [SPEC] TITLE with the program's version.
    void RestoreTitle() override;
    void ReviewAfterStop() override;

    // app::BatchViews
    void AdvanceGraphs(int n) override;
    void ShowTriggerMarkers(const std::array<bool, 3>& shown) override;
    void ShowLowPass(const std::string& text) override;
    void TriggerRecordingEnded(const std::vector<std::string>& paths) override;

    // Review position of the monitors (set to 0 by the review set-up).
    int reviewPosition[2] = {0, 0};

protected:
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    BOOL OnInitDialog() override;
    // Enter and Escape do nothing anywhere in the window: the dialog manager routes them from every
    // pane to these. Closing stays with the caption button, Alt+F4 and the system menu (WM_CLOSE).
    void OnOK() override {}
    void OnCancel() override {}
    void OnNcDestroy() override;

private:
    bool OnSysCommand(UINT command);
    void OnClose();
    void OnPaint();
    void OnSize();
    void OnGetMinMaxInfo(MINMAXINFO* info) const;
    void OnLinkEvent();
    void OnReviewSetup();

    std::unique_ptr<CBtnDialog> panel_;
    std::unique_ptr<CGraphMoniDialog> waveMonitor_;
    std::unique_ptr<CPsdMoniDialog> psdMonitor_;
    RECT panelRect_{}, waveRect_{}, psdRect_{};  // right after creation; widths are the fixed widths
    HICON icon_ = nullptr;
    SIZE minClient_{0, 0};
    bool initialised_ = false;
    bool layoutPending_ = false;
    // The data handler's pace, on this window's timer.
    static constexpr UINT_PTR kSampleTimer = 1;
    struct SampleTimer : app::ThrottleTimer {
        HWND window = nullptr;
        void Start(uint32_t ms) override { SetTimer(window, kSampleTimer, ms, nullptr); }
        void Stop() override { KillTimer(window, kSampleTimer); }
        uint32_t Now() const override { return GetTickCount(); }
    } sampleTimer_;
    app::SampleThrottle sampleThrottle_;
};
