// The two monitors' rows without their windows: where the graphs, labels and fields of each row go,
// what the labels and value fields say, which level and decade labels show, a measurement's start,
// the review's window and the commands of the scale and frequency-axis menus. The Win32 panes
// create the controls, implement PaneView over them and forward their messages here.
#pragma once

#include <string>
#include <vector>

#include "graphs/MonitorLayout.h"
#include "graphs/MonitorModel.h"
#include "graphs/ReviewWindow.h"

namespace monitor {

// The value fields of a row.
enum class Field { Max, Min, Now, Trig, Freq, Value };

// What the rows ask of their pane. Controls are addressed by their ids, graphs and fields by axis.
class PaneView {
public:
    virtual ~PaneView() = default;
    // Null before the graphs exist.
    virtual graphs::GraphCore* Core(int axis) = 0;
    virtual Size SizeOf(int id) const = 0;
    virtual Size ClientSize() const = 0;
    // Moves a control, keeping its size; Place sets both.
    virtual void Move(int id, Point at) = 0;
    virtual void Place(int id, const Box& box) = 0;
    virtual void PlaceGraph(int axis, const Box& box) = 0;
    virtual void RepaintGraph(int axis) = 0;
    // Paints what the graph has pending now.
    virtual void UpdateGraph(int axis) = 0;
    // A label's text, set only when it differs.
    virtual void SetLabel(int id, const std::string& text) = 0;
    virtual std::string LabelText(int id) const = 0;
    virtual void ShowItem(int id, bool shown) const = 0;
    virtual void MoveField(Field field, int axis, Point at) = 0;
    virtual void SetField(Field field, int axis, const std::string& text) = 0;
};

// A text drawn over the pane.
struct PaneText {
    int x = 0, y = 0;
    std::string text;
};

class MonitorRows {
public:
    MonitorRows(const MonitorModel& model, PaneView& view) : model_(model), view_(view) {}
    virtual ~MonitorRows() = default;

    // Refreshes the chosen groups of one row: the axis labels along x (and the level or decade
    // labels they move), the y labels, the value fields.
    virtual void UpdateAxisFields(int axis, bool xLabels, bool scaleLabels, bool values) = 0;
    // Refreshes one row: its labels (all of them when `all`) or only its value fields.
    void RefreshRow(int axis, bool all) { UpdateAxisFields(axis, all, all, true); }
    // The data handler's per-batch step: the graphs take the batch, then the rows' value fields.
    void AdvanceGraphs(int n);

    // The controls around one row's graph, by their ids.
    struct FrameIds {
        int xLeft, xRight, yTop, unit, yBottom, letter;
    };

protected:
    void PlaceFrame(int axis, const GraphFrame& frame, const FrameIds& ids);

    const MonitorModel model_;
    PaneView& view_;
};

// The time monitor's rows.
class TimeRows : public MonitorRows {
public:
    using MonitorRows::MonitorRows;

    void Layout();
    // x: the display-time label; the level labels follow y labels that changed.
    void UpdateAxisFields(int axis, bool timeLabel, bool scaleLabels, bool values) override;
    // The zero and trigger-level labels beside a row's graph.
    void PlaceLevelLabels(int axis);
    // Repaints the graphs and places the level labels again.
    void RepaintGraphs();
    // A measurement starts: empty sweeps, peaks 0, value fields empty.
    void ResetForMeasurement();
    // The highest scroll position of the review: every window of a sweep's length.
    [[nodiscard]] int ReviewScrollMax();
    // Shows the window at scroll position `pos` on the graphs, its extremes in the fields and the
    // date and time of its start; `reviewPsd` gets the window before the labels change.
    void ShowReviewWindow(int pos, const std::function<void(int start, int count)>& reviewPsd);
    // A command of an axis's scale menu: the settings, every graph's scale and level labels.
    void ApplyScaleCommand(int axis, int command);
    // The time labels under the graphs.
    [[nodiscard]] std::vector<PaneText> TimeAxisTexts();

private:
    TimeLayout layout_;
};

// The PSD monitor's rows.
class PsdRows : public MonitorRows {
public:
    using MonitorRows::MonitorRows;

    void Layout();
    // x: the frequency labels and the decade labels; the peak fields are empty while the spectrum
    // is not valid.
    void UpdateAxisFields(int axis, bool freqLabels, bool scaleLabels, bool values) override;
    // The "1" and "10" labels of the logarithmic frequency axis.
    void PlaceDecadeLabels(int axis);
    // A measurement starts: empty windows, invalid spectra, empty fields.
    void ResetForMeasurement();
    // Review: every graph shows the window of `count` samples from ring index `start`, analysed.
    void ShowWindowAt(int start, int count);
    void RepaintGraphs();
    // A command of the frequency-axis menu: the settings, every graph's axis and decade labels.
    void ApplyAxisCommand(int command);

private:
    PsdLayout layout_;
};

}  // namespace monitor
