// Every consumer of a batch is reached through the routes, and the windows' ones no longer once
// they are cleared.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/BatchRoutes.h"
#include "common/FakeWaveFileSystem.h"

namespace {

struct Views : app::BatchViews {
    std::vector<std::string> calls;
    void AdvanceGraphs(int n) override { calls.push_back("graphs " + std::to_string(n)); }
    void ShowTriggerMarkers(const std::array<bool, 3>&) override { calls.push_back("markers"); }
    void ShowLowPass(const std::string& text) override { calls.push_back("lowpass" + text); }
    void TriggerRecordingEnded(const std::vector<std::string>&) override { calls.push_back("ended"); }
};

}  // namespace

TEST(BatchRoutes, ABatchReachesArchiveViewsAndLinkUntilTheViewsGo) {
    device::SampleHandOff handOff;
    Settings settings;
    settings.kanzan = {1, 1, 1};
    WaveBuffer rings[3];
    for (WaveBuffer& ring : rings) ring.Reset(100);
    app::PeakHold peaks;
    FakeWaveFileSystem files;
    app::RecordingControl recorder(files, settings);
    app::SamplePipeline pipeline;
    Views views;
    size_t archived = 0;
    app::RouteBatches({pipeline, recorder, rings, [&](const device::SampleBatch& b) { archived += b.x.size(); },
                       [] {}, views});

    (void)handOff.Push(SampleRecord{1, 2, 3}, 20.0);
    (void)handOff.Push(SampleRecord{4, 5, 6}, 20.0);
    ASSERT_EQ(pipeline.OnSampleData(handOff, settings, rings, peaks, true), 2);
    EXPECT_EQ(archived, 2u);
    EXPECT_EQ(views.calls, (std::vector<std::string>{"lowpass" + app::FormatLowPass(20.0), "markers", "graphs 2"}));

    app::UnrouteViews(pipeline, recorder);
    views.calls.clear();
    (void)handOff.Push(SampleRecord{7, 8, 9}, 20.0);
    ASSERT_EQ(pipeline.OnSampleData(handOff, settings, rings, peaks, true), 1);
    EXPECT_EQ(archived, 3u);
    EXPECT_TRUE(views.calls.empty());
}
