// What both monitors share on Win32: the pane dialog (layout at the next paint after a resize,
// button-face background, labels set only on a change, pop-up menus), moving controls, scaled
// fonts and the graphs' context.
#pragma once

#include <windows.h>

#include <string>

#include "graphs/GraphCore.h"
#include "ui/Dialog.h"

// A monitor pane: a modeless child dialog that lays its controls out in the first paint after a
// resize and paints only its background (and what PaintOver adds).
class CMonitorPane : public ui::Dialog {
public:
    using ui::Dialog::Dialog;

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

private:
    bool relayoutPending_ = false;
};

namespace monitor {

// Moves a control, keeping its size.
void MoveControl(HWND control, int x, int y);
// A copy of `base` with its height multiplied by `factor` (truncated), width 0 and, when given,
// the weight; the caller owns it.
HFONT ScaledFont(HFONT base, double factor, int weight = -1);
// What every graph of the program reads: the application's settings, analysis, rings and flag.
graphs::GraphContext AppGraphContext();
// The display time in seconds, [SCALE] TIME[TIME_SEL].
double DisplayTime();

}  // namespace monitor
