// The archive as the program runs it: nothing while it is off, files once a measurement with the
// archive on has samples, and a failure reported like the recordings' (a log row and a message).
#include <gtest/gtest.h>

#include "SeedTestSupport.h"
#include "seed/LiveArchive.h"

namespace {

struct FixedClock : seed::ArchiveClock {
    long long UtcMicros() override { return 1700000000000000LL; }
    long long SteadyMicros() override { return 5000000; }
};

TEST(LiveArchive, WritesOnlyWhenOnAndReportsFailuresLikeTheRecordings) {
    seedtest::MemoryFiles files;
    FixedClock clock;
    seed::LiveArchive archive(files, clock);
    Settings settings;
    settings.saveDirectory = "C:\\data";
    settings.kanzan = {0.125, 0.125, 0.25};
    std::vector<std::string> log, messages;
    app::RecordingHooks hooks;
    hooks.addLog = [&](const char* text) { log.push_back(text); };
    hooks.showMessage = [&](const std::string& text) { messages.push_back(text); };
    const int running = 1;
    archive.Attach(settings, hooks, &running);
    EXPECT_TRUE(archive.MeasurementRuns());

    device::SampleBatch batch;
    for (int i = 0; i < 10; ++i) {
        batch.x.push_back(i);
        batch.y.push_back(-i);
        batch.z.push_back(2 * i);
        batch.arrivalUs.push_back(5000000 + 10000 * i);
        batch.breakBefore.push_back(0);
    }
    archive.OnMeasurementStart();
    archive.OnBatch(batch);
    archive.OnMeasurementStop();
    EXPECT_TRUE(files.files.empty()) << "the archive is off";

    archive.settings.enabled = 1;
    archive.OnMeasurementStart();
    archive.OnBatch(batch);
    archive.OnMeasurementStop();
    EXPECT_GE(files.files.size(), 2u) << "the station description and a day file";
    EXPECT_TRUE(log.empty());

    files.failMakeFolders = true;
    archive.OnMeasurementStart();
    EXPECT_EQ(log, std::vector<std::string>{kLogSeedError});
    EXPECT_EQ(messages, std::vector<std::string>{"FILE OPEN ERROR"});
}

}  // namespace
