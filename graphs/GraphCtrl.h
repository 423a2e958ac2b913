// CGraphCtrl: the child window that plots one axis as a sweeping time graph or as a spectrum. The
// logic lives in graphs::GraphCore; this class owns the window, its pens and the paint.
#pragma once

#include <windows.h>

#include "graphs/GdiGraphSurface.h"
#include "graphs/GraphCore.h"
#include "graphs/PendingPaint.h"

class CGraphCtrl : private graphs::GraphHost {
public:
    explicit CGraphCtrl(const graphs::GraphContext& context);
    virtual ~CGraphCtrl();
    CGraphCtrl(const CGraphCtrl&) = delete;
    CGraphCtrl& operator=(const CGraphCtrl&) = delete;

    // Binds kind and axis, builds pens and transforms, then creates the window over `rect`
    // (parent client coordinates) with id `id`. False when the window could not be created.
    virtual bool Create(const RECT& rect, HWND parent, int id, graphs::GraphKind kind, int axis);

    void RecalcTransform() { core_.RecalcTransform(); }
    // Rebuilds the background brush and pens from [COLOR] and repaints.
    void ApplyColors();
    void ApplyAxisSettings() { core_.ApplyAxisSettings(); }
    void UpdateScale() { core_.UpdateScale(); }
    void AppendSamples(int k) { core_.AppendSamples(k); }
    void SetWindow(int start, int count) { core_.SetWindow(start, count); }
    // The analysis of the window (PSD graph); true when a new spectrum was stored.
    bool RunAnalysis() { return core_.RunAnalysis(); }

    graphs::GraphCore& Core() { return core_; }
    HWND Handle() const { return hwnd_; }

private:
    static bool RegisterWindowClass();
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnPaint();
    // Draws the pending band straight into the window: no update region, no WM_PAINT.
    void PaintBandNow();
    void OnSize();
    void OnRButtonDown();
    void OnNcDestroy();

    // graphs::GraphHost
    bool WindowExists() const override { return hwnd_ != nullptr; }
    void Invalidate(const graphs::PixelRect* rect) override;
    void UpdateNow() override;
    void Notify(graphs::GraphNotice notice) override;

    graphs::GraphContext context_;
    HWND hwnd_ = nullptr;  // null before Create and after the window is destroyed
    graphs::GraphPens pens_;
    graphs::PaintBuffer buffer_;
    graphs::GraphCore core_;
    graphs::PendingPaint pending_;
};
