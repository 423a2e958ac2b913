// The monitors' rows over a pane that records what it is asked: the value fields live and in
// review, the trigger-level labels following the trigger mode, and the decade labels only on the
// logarithmic axis.
#include <gtest/gtest.h>

#include <map>
#include <memory>

#include "graphs/GraphFixture.h"
#include "graphs/MonitorRows.h"
#include "graphs/MonitorText.h"
#include "resources/resource.h"

namespace {

using monitor::Field;

struct RecordingPane : monitor::PaneView {
    graphs::GraphCore* graphs[3] = {};
    std::map<int, std::string> labels;
    mutable std::map<int, bool> shown;
    std::map<std::pair<Field, int>, std::string> fields;

    graphs::GraphCore* Core(int axis) override { return graphs[axis]; }
    monitor::Size SizeOf(int) const override { return {40, 12}; }
    monitor::Size ClientSize() const override { return {640, 560}; }
    void Move(int, monitor::Point) override {}
    void Place(int, const monitor::Box&) override {}
    void PlaceGraph(int, const monitor::Box&) override {}
    void RepaintGraph(int) override {}
    void UpdateGraph(int) override {}
    void SetLabel(int id, const std::string& text) override { labels[id] = text; }
    std::string LabelText(int id) const override { return labels.count(id) ? labels.at(id) : ""; }
    void ShowItem(int id, bool on) const override { shown[id] = on; }
    void MoveField(Field, int, monitor::Point) override {}
    void SetField(Field f, int axis, const std::string& text) override { fields[{f, axis}] = text; }
};

struct Monitors : GraphFixture {
    explicit Monitors(graphs::GraphKind kind) : GraphFixture(kind) {
        for (int i = 0; i < 3; ++i) {
            graphs[i] = std::make_unique<graphs::GraphCore>(Context(), hosts[i]);
            graphs[i]->Bind(kind, i);
            graphs[i]->OnSize({0, 0, 402, 102});
            graphs[i]->ApplyAxisSettings();
            graphs[i]->UpdateScale();
            pane.graphs[i] = graphs[i].get();
        }
    }
    monitor::MonitorModel Model() { return {&settings, &analysis, rings, &running, &peaks, &baseTime}; }

    RecordingHost hosts[3];
    std::unique_ptr<graphs::GraphCore> graphs[3];
    RecordingPane pane;
    app::PeakHold peaks;
    uint64_t baseTime = 0;
};

TEST(MonitorPaneRows, TimeRowsShowLiveValuesAndReviewExtremesAndNoLevelsWithoutTrigger) {
    Monitors m(graphs::GraphKind::Time);
    monitor::TimeRows rows(m.Model(), m.pane);
    m.settings.trigMode = 0;
    rows.Layout();
    EXPECT_FALSE(m.pane.shown[IDC_GM_T_UPPER]) << "no trigger: no level labels";
    EXPECT_FALSE(m.pane.shown[IDC_GM_T_LOWER]);

    // A sweep and a half: the first sweep holds -3 and 2, the rest 9.
    std::vector<double> samples(static_cast<size_t>(m.graphs[0]->SweepLength() * 3 / 2), 0.0);
    samples[10] = 2.0;
    samples[20] = -3.0;
    samples.back() = 9.0;
    m.running = 0;
    for (WaveBuffer& r : m.rings) r.Append(samples.data(), samples.size());
    rows.AdvanceGraphs(static_cast<int>(samples.size()));
    EXPECT_EQ((m.pane.fields[{Field::Now, 0}]), "") << "no live value without a measurement";
    m.running = 1;
    rows.AdvanceGraphs(0);
    EXPECT_EQ((m.pane.fields[{Field::Now, 2}]), graphs::FieldText(9.0, m.settings.bit));

    int psdStart = -1, psdCount = -1;
    rows.ShowReviewWindow(0, [&](int start, int count) { psdStart = start, psdCount = count; });
    EXPECT_EQ(m.peaks.Max(1), 2.0);
    EXPECT_EQ(m.peaks.Min(1), -3.0);
    EXPECT_EQ((m.pane.fields[{Field::Min, 1}]), graphs::FieldText(-3.0, m.settings.bit));
    EXPECT_EQ(psdStart, 0);
    EXPECT_GT(psdCount, 0);

    rows.ResetForMeasurement();
    EXPECT_EQ(m.peaks.Max(0), 0.0);
    EXPECT_EQ((m.pane.fields[{Field::Max, 0}]), "");
}

TEST(MonitorPaneRows, DecadeLabelsShowOnlyOnTheLogarithmicAxis) {
    Monitors m(graphs::GraphKind::Psd);
    monitor::PsdRows rows(m.Model(), m.pane);
    m.settings.xType = 1;
    rows.Layout();
    EXPECT_FALSE(m.pane.shown[IDC_PM_DECADE_1]);
    EXPECT_FALSE(m.pane.shown[IDC_PM_DECADE_10]);
    m.settings.xType = 0;
    for (int i = 0; i < 3; ++i) m.graphs[i]->ApplyAxisSettings();
    rows.Layout();
    EXPECT_TRUE(m.pane.shown[IDC_PM_DECADE_1] || m.pane.shown[IDC_PM_DECADE_10]);
}

}  // namespace
