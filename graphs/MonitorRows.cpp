// The monitors' rows: layout, labels, value fields, review window and menu commands.
#include "graphs/MonitorRows.h"

#include <algorithm>
#include <array>

#include "config/FormatSignificant.h"
#include "graphs/MonitorText.h"
#include "resources/resource.h"

namespace monitor {

namespace {

constexpr int kTimeZeroLabel[3] = {IDC_GM_ZERO_X, IDC_GM_ZERO_Y, IDC_GM_ZERO_Z};
constexpr int kTimeLetter[3] = {IDC_GM_LETTER_X, IDC_GM_LETTER_Y, IDC_GM_LETTER_Z};
constexpr int kPsdLetter[3] = {IDC_PM_LETTER_X, IDC_PM_LETTER_Y, IDC_PM_LETTER_Z};

// A monitor's labels around a row's graph: the first row's ids (the other rows follow by one) and
// the three axis letters.
struct FrameBase {
    int xLeft, xRight, yTop, unit, yBottom;
    const int* letters;
};
constexpr FrameBase kTimeFrame{IDC_GM_X_LEFT, IDC_GM_X_RIGHT, IDC_GM_Y_TOP, IDC_GM_UNIT, IDC_GM_Y_BOTTOM, kTimeLetter};
constexpr FrameBase kPsdFrame{IDC_PM_X_LEFT, IDC_PM_X_RIGHT, IDC_PM_Y_TOP, IDC_PM_UNIT, IDC_PM_Y_BOTTOM, kPsdLetter};

// The sizes of a row's frame labels and of three controls of its own (`fields`, the first row's
// ids), in the order the rows' sizes list them.
template <class RowSizes>
RowSizes SizesOf(const PaneView& view, const FrameBase& b, int row, const std::array<int, 3>& fields) {
    auto size = [&](int firstRowId) { return view.SizeOf(firstRowId + row); };
    return {size(b.yTop),   size(b.unit),    view.SizeOf(b.letters[row]), size(b.yBottom), size(b.xLeft),
            size(b.xRight), size(fields[0]), size(fields[1]),             size(fields[2])};
}

MonitorRows::FrameIds FrameIdsOf(const FrameBase& b, int row) {
    return {b.xLeft + row, b.xRight + row, b.yTop + row, b.unit + row, b.yBottom + row, b.letters[row]};
}

}  // namespace

void MonitorRows::PlaceFrame(int axis, const GraphFrame& f, const FrameIds& ids) {
    view_.PlaceGraph(axis, f.graph);
    const std::pair<int, Point> moves[] = {{ids.xLeft, f.xLeft}, {ids.xRight, f.xRight}, {ids.yTop, f.yTop},
                                           {ids.unit, f.unit},   {ids.letter, f.letter}, {ids.yBottom, f.yBottom}};
    for (const auto& [id, at] : moves) view_.Move(id, at);
}

void MonitorRows::AdvanceGraphs(int n) {
    for (int i = 0; i < 3; ++i) {
        graphs::GraphCore* g = view_.Core(i);
        if (!g || !g->Wave()) continue;
        g->AppendSamples(n);
        RefreshRow(i, false);
    }
}

// ---- time monitor

void TimeRows::Layout() {
    TimeRowSizes sizes[3];
    for (int i = 0; i < 3; ++i)
        sizes[i] = SizesOf<TimeRowSizes>(view_, kTimeFrame, i, {IDC_GM_MAX_FRAME, IDC_GM_NOW_FRAME, IDC_GM_MIN_FRAME});
    layout_ = LayOutTimeMonitor(view_.ClientSize(), sizes, view_.SizeOf(kTimeZeroLabel[0]).w);
    for (int i = 0; i < 3; ++i) {
        const TimeRowPlaces& r = layout_.rows[i];
        PlaceFrame(i, r, FrameIdsOf(kTimeFrame, i));
        view_.MoveField(Field::Max, i, r.maxField);
        view_.MoveField(Field::Now, i, r.nowField);
        view_.MoveField(Field::Min, i, r.minField);
        view_.MoveField(Field::Trig, i, r.trigField);
        PlaceLevelLabels(i);
    }
    view_.Place(IDC_GM_SCROLL, layout_.scroll);
    view_.Move(IDC_GM_DATE, layout_.date);
    view_.Move(IDC_GM_TIME, layout_.time);
}

void TimeRows::PlaceLevelLabels(int axis) {
    graphs::GraphCore& g = *view_.Core(axis);
    const graphs::ValueTransform& v = g.Value();
    const TimeRowPlaces& row = layout_.rows[axis];
    auto yPix = [&](double value) { return row.graph.y + v.originY - graphs::TruncPixel((value - g.YMin()) * v.pxPerY); };
    const Settings& s = *model_.settings;
    const double level = axis == 0 ? s.valX : (axis == 1 ? s.valY : s.valZ);
    const LevelLabelPlaces p = monitor::PlaceLevelLabels(
        {yPix(0.0), yPix(level), yPix(-level), view_.SizeOf(kTimeZeroLabel[axis]).h,
         view_.SizeOf(IDC_GM_T_UPPER + axis).h, row.unitBottom, row.yBottomTop, s.trigMode != 0});

    if (p.zeroMoved) {
        view_.Move(kTimeZeroLabel[axis], {layout_.labelColumnX, p.zeroY});
        view_.ShowItem(kTimeZeroLabel[axis], true);
    }
    if (p.levelsMoved) {
        view_.Move(IDC_GM_T_UPPER + axis, {layout_.labelColumnX, p.upperY});
        view_.Move(IDC_GM_T_LOWER + axis, {layout_.labelColumnX, p.lowerY});
    }
    view_.ShowItem(IDC_GM_T_UPPER + axis, p.upperShown);
    view_.ShowItem(IDC_GM_T_LOWER + axis, p.lowerShown);
}

void TimeRows::RepaintGraphs() {
    for (int i = 0; i < 3; ++i) {
        if (!view_.Core(i)) continue;
        view_.RepaintGraph(i);
        PlaceLevelLabels(i);
    }
}

void TimeRows::UpdateAxisFields(int axis, bool timeLabel, bool scaleLabels, bool values) {
    if (axis < 0 || axis > 2 || !view_.Core(axis)) return;
    if (timeLabel) view_.SetLabel(IDC_GM_X_RIGHT + axis, FormatSignificant(DisplayTime(*model_.settings), 6));
    if (scaleLabels) {
        graphs::GraphCore& g = *view_.Core(axis);
        const std::string top = graphs::FieldText(g.YMax(), 12);
        const std::string bottom = graphs::FieldText(g.YMin(), 12);
        const bool changed =
            view_.LabelText(IDC_GM_Y_TOP + axis) != top || view_.LabelText(IDC_GM_Y_BOTTOM + axis) != bottom;
        view_.SetLabel(IDC_GM_Y_TOP + axis, top);
        view_.SetLabel(IDC_GM_Y_BOTTOM + axis, bottom);
        if (changed) PlaceLevelLabels(axis);
    }
    if (values) {
        const int bit = model_.settings->bit;
        view_.SetField(Field::Max, axis, graphs::FieldText(model_.peaks->Max(axis), bit));
        view_.SetField(Field::Min, axis, graphs::FieldText(model_.peaks->Min(axis), bit));
        const WaveBuffer& ring = model_.rings[axis];
        if (*model_.running != 0 && ring.heldCount > 0 && ring.Capacity() > 0)
            view_.SetField(Field::Now, axis, graphs::FieldText(ring.Newest(), bit));
        else
            view_.SetField(Field::Now, axis, "");
    }
}

void TimeRows::ResetForMeasurement() {
    model_.peaks->Clear();
    for (int i = 0; i < 3; ++i) {
        graphs::GraphCore& g = *view_.Core(i);
        g.SetWindow(0, 0);
        if (model_.settings->accAuto != 0) g.UpdateScale();
        for (Field f : {Field::Max, Field::Min, Field::Now}) view_.SetField(f, i, "");
    }
}

int TimeRows::ReviewScrollMax() { return std::max(model_.rings[0].heldCount - view_.Core(0)->SweepLength(), 0); }

void TimeRows::ShowReviewWindow(int pos, const std::function<void(int start, int count)>& reviewPsd) {
    const graphs::ReviewSpan span = graphs::ReviewSpanAt(model_.rings[0], pos, view_.Core(0)->SweepLength());
    for (int i = 0; i < 3; ++i) {
        graphs::GraphCore& g = *view_.Core(i);
        g.SetWindow(span.start, span.count);
        if (model_.settings->accAuto != 0) g.UpdateScale();
        view_.UpdateGraph(i);
        const graphs::Extremes e = graphs::SpanExtremes(model_.rings[i], span);
        model_.peaks->Show(i, e.lo, e.hi);
        UpdateAxisFields(i, false, false, true);
    }
    if (reviewPsd) reviewPsd(span.start, span.count);

    const graphs::ReviewClock clock = graphs::ReviewClockAt(*model_.reviewBaseTime, pos);
    view_.SetLabel(IDC_GM_DATE, clock.date);
    view_.SetLabel(IDC_GM_TIME, clock.time);
}

void TimeRows::ApplyScaleCommand(int axis, int command) {
    monitor::ApplyScaleCommand(*model_.settings, axis, command);
    for (int i = 0; i < 3; ++i) {
        view_.Core(i)->UpdateScale();
        view_.RepaintGraph(i);
        PlaceLevelLabels(i);
    }
}

std::vector<PaneText> TimeRows::TimeAxisTexts() {
    std::vector<PaneText> texts;
    const double display = DisplayTime(*model_.settings);
    for (int i = 0; i < 3; ++i) {
        graphs::GraphCore& g = *view_.Core(i);
        const auto labels =
            graphs::TimeLabels(display, layout_.timeLabelX0, layout_.timeLabelLeftLimit, layout_.timeLabelRightLimit,
                               [&g](double ms) { return g.Value().Px(ms); });
        for (const graphs::TimeLabel& label : labels) texts.push_back({label.x, layout_.rows[i].xLeft.y, label.text});
    }
    return texts;
}

// ---- PSD monitor

void PsdRows::Layout() {
    PsdRowSizes sizes[3];
    for (int i = 0; i < 3; ++i)
        sizes[i] = SizesOf<PsdRowSizes>(view_, kPsdFrame, i, {IDC_PM_FREQ_FRAME, IDC_PM_VALUE_FRAME, IDC_PM_UNIT_HZ});
    layout_ = LayOutPsdMonitor(view_.ClientSize(), sizes);
    for (int i = 0; i < 3; ++i) {
        const PsdRowPlaces& r = layout_.rows[i];
        view_.Move(IDC_PM_CAPTION + i, r.caption);
        view_.MoveField(Field::Freq, i, r.freqField);
        view_.Move(IDC_PM_UNIT_HZ + i, r.unitHz);
        view_.MoveField(Field::Value, i, r.valueField);
        view_.Move(IDC_PM_UNIT_GAL + i, r.unitGal);
        PlaceFrame(i, r, FrameIdsOf(kPsdFrame, i));
        PlaceDecadeLabels(i);
    }
}

void PsdRows::PlaceDecadeLabels(int axis) {
    const int ids[] = {IDC_PM_DECADE_1 + axis, IDC_PM_DECADE_10 + axis};
    for (int id : ids) view_.ShowItem(id, false);
    if (model_.settings->xType != 0 || !view_.Core(axis)) return;
    const graphs::ValueTransform& v = view_.Core(axis)->Value();
    const auto places = monitor::PlaceDecadeLabels({layout_.decadeLabelX0, v.Px(0.0), v.Px(1.0),
                                                    view_.SizeOf(ids[0]).w, view_.SizeOf(ids[1]).w,
                                                    layout_.decadeLeftLimit, layout_.decadeRightLimit});
    for (size_t k = 0; k < places.size(); ++k) {
        view_.Move(ids[k], {places[k].x, layout_.rows[axis].decadeLabelY});
        if (places[k].shown) view_.ShowItem(ids[k], true);
    }
}

void PsdRows::UpdateAxisFields(int axis, bool freqLabels, bool scaleLabels, bool values) {
    if (axis < 0 || axis > 2 || !view_.Core(axis)) return;
    graphs::GraphCore& g = *view_.Core(axis);
    if (freqLabels) {
        view_.SetLabel(IDC_PM_X_LEFT + axis, graphs::FormatHz(g.FMin()) + "(Hz)");
        view_.SetLabel(IDC_PM_X_RIGHT + axis, graphs::FormatHz(g.FMax()));
        PlaceDecadeLabels(axis);
    }
    if (scaleLabels) {
        view_.SetLabel(IDC_PM_Y_BOTTOM + axis, FormatSignificant(g.YMin(), 4));
        view_.SetLabel(IDC_PM_Y_TOP + axis, FormatSignificant(g.YMax(), 4));
    }
    if (values) {
        const app::PsdResult& psd = g.Psd();
        view_.SetField(Field::Freq, axis, psd.psdValid ? graphs::FormatHz(psd.psdPeakFreq) : "");
        view_.SetField(Field::Value, axis, psd.psdValid ? graphs::FormatPsdValue(psd.psdPeakCopy) : "");
    }
}

void PsdRows::ResetForMeasurement() {
    for (int i = 0; i < 3; ++i) {
        graphs::GraphCore& g = *view_.Core(i);
        g.SetWindow(0, 0);
        g.RunAnalysis();  // finds the window empty: the spectrum becomes invalid
        UpdateAxisFields(i, false, true, true);
    }
}

void PsdRows::ShowWindowAt(int start, int count) {
    for (int i = 0; i < 3; ++i) {
        graphs::GraphCore& g = *view_.Core(i);
        g.SetWindow(start, count);
        if (g.RunAnalysis()) g.UpdateScale();
        view_.UpdateGraph(i);
        UpdateAxisFields(i, false, true, true);
    }
}

void PsdRows::RepaintGraphs() {
    for (int i = 0; i < 3; ++i)
        if (view_.Core(i)) view_.RepaintGraph(i);
}

void PsdRows::ApplyAxisCommand(int command) {
    monitor::ApplyAxisCommand(*model_.settings, command);
    for (int i = 0; i < 3; ++i) {
        view_.Core(i)->ApplyAxisSettings();
        // The decade labels follow the axis type even when the range stayed.
        PlaceDecadeLabels(i);
    }
    RepaintGraphs();
}

}  // namespace monitor
