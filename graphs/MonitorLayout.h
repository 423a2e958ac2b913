// Where the monitors put their controls, which labels they show and what their pop-up menus set:
// arithmetic on sizes and settings, without windows. The dialogs measure their controls, call these
// and move what they are told to.
#pragma once

#include <string>
#include <vector>

#include "config/Settings.h"

namespace monitor {

struct Size {
    int w = 0, h = 0;
};
struct Point {
    int x = 0, y = 0;
};
struct Box {
    int x = 0, y = 0, w = 0, h = 0;
};

// ---- the main window: time monitor | PSD monitor | panel, left to right

struct PaneBoxes {
    Box wave, psd, panel;  // a PSD monitor that is off keeps its window in an empty box at 0, 0
};
// How much wider the client must grow to hold the panes (0: wide enough). `minWidth` is the
// client width the window was designed with, without the PSD monitor.
[[nodiscard]] int MissingWidth(int clientWidth, int minWidth, int psdWidth, bool psdOn);
// The panes on a client of `client`: the panel at the right edge, the PSD monitor left of it when
// on, the time monitor in the rest; all of them the full height.
[[nodiscard]] PaneBoxes LayOutPanes(Size client, int panelWidth, int psdWidth, bool psdOn);

// What both monitors place around each graph: the graph, the end labels of its x axis, the top and
// bottom labels and the unit of its y axis, and the axis letter.
struct GraphFrame {
    Box graph;
    Point xLeft, xRight, yTop, unit, letter, yBottom;
};

// ---- the time monitor

// The template sizes of one row's controls.
struct TimeRowSizes {
    Size yTop, unit, letter, yBottom, xLeft, xRight, maxField, nowField, minField;
};
struct TimeRowPlaces : GraphFrame {
    Point maxField, nowField, minField, trigField;
    int unitBottom = 0;  // the level labels stay below this …
    int yBottomTop = 0;  // … and above this
};
struct TimeLayout {
    TimeRowPlaces rows[3];
    Box scroll;
    Point date, time;
    int labelColumnX = 0;  // left edge of the zero and level labels
    int timeLabelX0 = 0;   // the graphs' left edge, origin of the time labels
    int timeLabelLeftLimit = 0, timeLabelRightLimit = 0;
};
// Three rows of equal height over the client; in each the graph between the y labels on the left
// and the value fields on the right, the time labels under it. The scroll bar and the date and
// time labels of review take the bottom strip. `zeroWidth` is the zero label's width.
[[nodiscard]] TimeLayout LayOutTimeMonitor(Size client, const TimeRowSizes (&rows)[3], int zeroWidth);

// Where a row's zero and trigger-level labels go. Inputs are the pixel rows of 0, +level and
// −level on the dialog; a label sits 6 pixels above its row.
struct LevelLabelInput {
    int zeroRow = 0, upperRow = 0, lowerRow = 0;
    int zeroHeight = 0, levelHeight = 0;
    int unitBottom = 0, yBottomTop = 0;
    bool levelsOn = false;  // [TRIG] TRIG_MODE
};
struct LevelLabelPlaces {
    bool zeroMoved = false;  // fits between the unit and the bottom label: moved and shown; else left as it is
    int zeroY = 0;
    bool levelsMoved = false;  // trigger levels on: both moved (and shown as below); else both hidden
    int upperY = 0, lowerY = 0;
    bool upperShown = false, lowerShown = false;  // between the labels and clear of a placed zero label
};
[[nodiscard]] LevelLabelPlaces PlaceLevelLabels(const LevelLabelInput& in);

// ---- the PSD monitor

struct PsdRowSizes {
    Size yTop, unit, letter, yBottom, xLeft, xRight, freqField, valueField, unitHz;
};
struct PsdRowPlaces : GraphFrame {
    Point caption, freqField, unitHz, valueField, unitGal;
    int decadeLabelY = 0;
};
struct PsdLayout {
    PsdRowPlaces rows[3];
    int decadeLabelX0 = 0, decadeLeftLimit = 0, decadeRightLimit = 0;
};
// Three rows: the caption and the peak fields on top, the spectrum under them with its y labels on
// the left and its frequency labels below.
[[nodiscard]] PsdLayout LayOutPsdMonitor(Size client, const PsdRowSizes (&rows)[3]);

// The decade labels "1" and "10" on a logarithmic frequency axis: at their pixel columns, shown
// only when the axis is logarithmic and they fit between the end labels.
struct DecadePlace {
    int x = 0;
    bool shown = false;
};
struct DecadeInput {
    int x0 = 0, oneColumn = 0, tenColumn = 0;  // columns of 1 Hz and 10 Hz on the graph
    int oneWidth = 0, tenWidth = 0;
    int leftLimit = 0, rightLimit = 0;
};
[[nodiscard]] std::vector<DecadePlace> PlaceDecadeLabels(const DecadeInput& in);

// ---- the pop-up menus

struct MenuItem {
    int command = 0;  // 0: a separator
    std::string text;
    bool checked = false;
};
// The time monitor's scale menu for `axis` (Z has its own scales) and what a command sets.
[[nodiscard]] std::vector<MenuItem> ScaleMenu(const Settings& s, int axis);
void ApplyScaleCommand(Settings& s, int axis, int command);
// The PSD monitor's frequency-axis menu and what a command sets.
[[nodiscard]] std::vector<MenuItem> AxisMenu(const Settings& s);
void ApplyAxisCommand(Settings& s, int command);

}  // namespace monitor
