// Manual and trigger recording over an in-memory file system: which samples each file holds,
// the trigger state machine, the log rows, lamps, markers and the end-of-trigger report.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "common/FakeWaveFileSystem.h"
#include "files/SampleLine.h"
#include "recording/RecordingControl.h"

using app::GalBatch;
using app::RecordingControl;

namespace {

using Sample = std::array<double, 3>;

std::string Line(const Sample& s) {
    char text[files::kSampleLineMaxChars];
    return std::string(text, files::FormatSampleLine(text, s[0], s[1], s[2]));
}

// Sample i of a quiet stream: small values that tell the samples apart.
Sample Quiet(int i) { return {(i % 5000) * 0.01, -(i % 700) * 0.01, 1.0 + (i % 300) * 0.01}; }
Sample Loud(int i) { return {150.0 + i * 0.001, 0.0, 0.0}; }

struct Fixture {
    FakeWaveFileSystem fs;
    Settings settings;
    WaveBuffer rings[3];
    RecordingControl control{fs, settings};
    std::vector<Sample> sent;  // every sample fed so far, in order
    std::vector<std::string> log;
    std::vector<std::string> messages;
    std::vector<bool> trigLamp;
    std::array<bool, 3> markers{};
    std::vector<app::TriggerRecordingEnd> ended;

    explicit Fixture(int capacity = 6000) {
        settings.saveDirectory = "D:\\data";
        settings.savedataMaxnum = 30000;
        settings.trigMode = 1;
        settings.beforTime = 1.0;
        settings.afterTime = 1.0;
        settings.valX = settings.valY = settings.valZ = 100.0;
        for (WaveBuffer& ring : rings) ring.Reset(capacity);
        control.hooks.addLog = [this](const char* text) { log.push_back(text); };
        control.hooks.showMessage = [this](const std::string& text) { messages.push_back(text); };
        control.hooks.triggerChanged = [this](bool on) { trigLamp.push_back(on); };
        control.hooks.markersChanged = [this](const std::array<bool, 3>& shown) { markers = shown; };
        control.hooks.triggerEnded = [this](const app::TriggerRecordingEnd& end) { ended.push_back(end); };
        control.OnMeasurementStart();
    }

    // One batch through the pipeline's order: rings, manual recording, trigger processing.
    void Batch(const std::vector<Sample>& samples) {
        GalBatch batch;
        for (const Sample& s : samples)
            for (int a = 0; a < 3; ++a) batch[a].push_back(s[a]);
        for (int a = 0; a < 3; ++a) rings[a].Append(batch[a].data(), batch[a].size());
        control.RecordBatch(batch);
        control.TriggerBatch(batch, rings);
        sent.insert(sent.end(), samples.begin(), samples.end());
    }
    // Samples from..to of `make` in batches of `size`.
    void Feed(Sample (*make)(int), int from, int to, size_t size = 1) {
        std::vector<Sample> batch;
        for (int i = from; i <= to; ++i) {
            batch.push_back(make(i));
            if (batch.size() == size) Batch(std::exchange(batch, {}));
        }
        if (!batch.empty()) Batch(batch);
    }

    // The sample lines of a file; every six-line header in it is skipped.
    std::vector<std::string> Lines(const std::string& path) {
        std::vector<std::string> lines;
        const std::string& text = fs.files[path];
        int headerRows = 0;
        for (size_t pos = 0; pos < text.size();) {
            const size_t end = text.find("\r\n", pos) + 2;
            if (text.compare(pos, 10, "COMMENT_1:") == 0) headerRows = 6;
            if (headerRows > 0) --headerRows;
            else lines.push_back(text.substr(pos, end - pos));
            pos = end;
        }
        return lines;
    }
    // The lines samples first..last (indices into `sent`) would give.
    std::vector<std::string> Expected(int first, int last) const {
        std::vector<std::string> lines;
        for (int i = first; i <= last; ++i) lines.push_back(Line(sent[static_cast<size_t>(i)]));
        return lines;
    }
    static const std::string& TrigPath() {
        static const std::string path = "D:\\data\\Trig.dt\\20240506_123456.csv";
        return path;
    }
};

}  // namespace

TEST(TriggerPreTrigger, BeforTimeOneGivesTheHundredNewestSamplesEndingWithTheExceedingOne) {
    Fixture f;
    f.Feed(Quiet, 0, 299);
    f.Feed(Loud, 300, 300);
    EXPECT_EQ(f.log, std::vector<std::string>{"TRIG-START"});
    EXPECT_EQ(f.Lines(f.TrigPath()), f.Expected(201, 300));
}

TEST(TriggerPreTrigger, BeforTimeZeroWritesNeitherPreTriggerLinesNorTheExceedingSample) {
    Fixture f;
    f.settings.beforTime = 0.0;
    f.Feed(Quiet, 0, 299);
    f.Feed(Loud, 300, 300);
    EXPECT_TRUE(f.Lines(f.TrigPath()).empty());
    f.Feed(Quiet, 301, 302);
    EXPECT_EQ(f.Lines(f.TrigPath()), f.Expected(301, 302));
}

TEST(TriggerPreTrigger, ShortlyAfterTheStartOnlyTheHeldSamplesAreWritten) {
    Fixture f;
    f.Feed(Quiet, 0, 29);
    f.Feed(Loud, 30, 30);
    EXPECT_EQ(f.Lines(f.TrigPath()), f.Expected(0, 30));
    ASSERT_EQ(f.ended.size(), 0u);
}

TEST(TriggerPreTrigger, ReadsAcrossTheRingsWrapAndFromABatchLargerThanTheRing) {
    Fixture wrapped(250);  // 1000 samples through a ring of 250: the span wraps its storage end
    wrapped.Feed(Quiet, 0, 1029, 7);
    wrapped.Feed(Loud, 1030, 1030);
    EXPECT_EQ(wrapped.Lines(wrapped.TrigPath()), wrapped.Expected(931, 1030));

    Fixture small(50);  // the batch holds the span itself
    std::vector<Sample> batch;
    for (int i = 0; i < 120; ++i) batch.push_back(i == 110 ? Loud(i) : Quiet(i));
    small.Batch(batch);
    std::vector<std::string> expected = small.Expected(11, 119);
    EXPECT_EQ(small.Lines(small.TrigPath()), expected);
}

TEST(TriggerDetection, StrictlyAboveEachAxisOwnLevelAndMarkersFollowTheLastBatch) {
    Fixture f;
    f.settings.valX = 100.0;
    f.settings.valY = 100.0;
    f.settings.valZ = 50.0;
    f.Batch({{100.0, -100.0, 50.0}, {60.0, 0.0, -50.0}});  // equal to the level, or under it
    EXPECT_EQ(f.control.trigState, 0);
    EXPECT_EQ(f.markers, (std::array<bool, 3>{false, false, false}));

    f.Batch({{-100.5, 0.0, 0.0}});
    EXPECT_EQ(f.control.trigState, 1);
    EXPECT_EQ(f.markers, (std::array<bool, 3>{true, false, false}));
    f.Batch({{0.0, 0.0, 60.0}});  // Z is compared with its own level
    EXPECT_EQ(f.control.trigState, 1);
    EXPECT_EQ(f.control.Markers(), (std::array<bool, 3>{false, false, true}));

    f.settings.trigMode = 0;  // detection goes on, but no marker is shown
    f.Batch({{0.0, 0.0, 60.0}});
    EXPECT_EQ(f.markers, (std::array<bool, 3>{false, false, false}));
}

TEST(TriggerAfterTime, TheFileEndsAfterTheAfterTimeCountedFromTheFirstQuietSample) {
    Fixture zero;
    zero.settings.afterTime = 0.0;
    zero.settings.beforTime = 0.0;
    zero.Feed(Loud, 0, 0);
    zero.Feed(Quiet, 1, 1);
    EXPECT_EQ(zero.control.trigState, 2);
    zero.Feed(Quiet, 2, 2);
    EXPECT_EQ(zero.control.trigState, 3);
    zero.Feed(Quiet, 3, 3);  // ends the recording, not written
    EXPECT_EQ(zero.control.trigState, 0);
    EXPECT_EQ(zero.log, (std::vector<std::string>{"TRIG-START", "TRIG-END"}));
    EXPECT_EQ(zero.trigLamp, (std::vector<bool>{true, false}));
    EXPECT_EQ(zero.Lines(zero.TrigPath()), zero.Expected(1, 2));
    EXPECT_TRUE(zero.fs.openPaths.empty());

    // AFTER_TIME 1.0: 100 counted quiet samples after the one that ended the exceedance; a new
    // exceedance during the after-time keeps the same file and restarts the count.
    Fixture one;
    one.Feed(Quiet, 0, 199, 13);
    one.Feed(Loud, 200, 210, 4);
    one.Feed(Quiet, 211, 260, 9);
    one.Feed(Loud, 261, 261);
    one.Feed(Quiet, 262, 500, 5);
    EXPECT_EQ(one.log, (std::vector<std::string>{"TRIG-START", "TRIG-END"}));
    EXPECT_EQ(one.Lines(one.TrigPath()), one.Expected(101, 362));
    ASSERT_EQ(one.ended.size(), 1u);
    EXPECT_EQ(one.ended[0].paths, std::vector<std::string>{Fixture::TrigPath()});
    EXPECT_EQ(one.ended[0].firstSample, 101);
    EXPECT_EQ(one.ended[0].triggerSample, 200);
    EXPECT_EQ(one.ended[0].lastSample, 362);
}

TEST(TriggerBatching, FilesAreTheSameHoweverTheStreamIsCutIntoBatches) {
    // A stream with several bursts on different axes, fed sample by sample and in random batches.
    std::vector<Sample> stream;
    for (int i = 0; i < 6000; ++i) {
        Sample s = Quiet(i);
        if (i % 1500 > 700 && i % 1500 < 760 && i % 3 == 0) s[(i / 1500) % 3] = (i % 2 ? 130.0 : -130.0);
        stream.push_back(s);
    }
    struct Result {
        std::map<std::string, std::string> files;
        std::vector<app::TriggerRecordingEnd> ended;
    };
    auto run = [&](unsigned seed) {
        Fixture f(800);
        f.settings.savedataMaxnum = 150;
        std::mt19937 random(seed);
        for (size_t i = 0; i < stream.size();) {
            const size_t n = seed == 0 ? 1 : std::min<size_t>(1 + random() % 400, stream.size() - i);
            f.fs.now.minute = static_cast<int>(i / 1500);  // each event gets a name of its own
            f.Batch(std::vector<Sample>(stream.begin() + static_cast<std::ptrdiff_t>(i),
                                        stream.begin() + static_cast<std::ptrdiff_t>(i + n)));
            i += n;
        }
        return Result{f.fs.files, f.ended};
    };
    const Result one = run(0);
    ASSERT_EQ(one.ended.size(), 4u);
    for (unsigned seed : {1u, 2u, 3u}) {
        const Result cut = run(seed);
        EXPECT_EQ(cut.files, one.files) << "seed " << seed;
        ASSERT_EQ(cut.ended.size(), one.ended.size());
        for (size_t e = 0; e < one.ended.size(); ++e) {
            EXPECT_EQ(cut.ended[e].paths, one.ended[e].paths);
            EXPECT_EQ(cut.ended[e].firstSample, one.ended[e].firstSample);
            EXPECT_EQ(cut.ended[e].lastSample, one.ended[e].lastSample);
        }
    }
}

TEST(TriggerSplit, FortyFiveThousandSamplesGiveThirtyThousandAndFifteenThousand) {
    Fixture f(40000);
    f.settings.afterTime = 0.0;
    f.Feed(Quiet, 0, 99, 100);
    f.Feed(Loud, 100, 44998, 100);
    f.Feed(Quiet, 44999, 45010, 100);
    EXPECT_EQ(f.Lines(f.TrigPath()), f.Expected(1, 30000));
    EXPECT_EQ(f.Lines("D:\\data\\Trig.dt\\20240506_123456-1.csv"), f.Expected(30001, 45000));
    EXPECT_EQ(f.fs.files.size(), 2u);
    ASSERT_EQ(f.ended.size(), 1u);
    EXPECT_EQ(f.ended[0].paths.size(), 2u);
}

TEST(TriggerMode, SwitchedOffMidRecordingEndsWithTheNextBatchAndOnAgainWaitsForAnExceedance) {
    Fixture f;
    f.Feed(Quiet, 0, 99);
    f.Feed(Loud, 100, 105);
    f.settings.trigMode = 0;
    f.Feed(Loud, 106, 110, 5);
    EXPECT_EQ(f.log, (std::vector<std::string>{"TRIG-START", "TRIG-END"}));
    EXPECT_EQ(f.Lines(f.TrigPath()), f.Expected(1, 105));
    EXPECT_TRUE(f.fs.openPaths.empty());

    f.settings.trigMode = 1;
    f.fs.now.second = 59;
    f.Feed(Quiet, 111, 300);
    EXPECT_EQ(f.fs.files.size(), 1u);
    f.Feed(Loud, 301, 301);
    EXPECT_EQ(f.log.back(), "TRIG-START");
    EXPECT_EQ(f.Lines("D:\\data\\Trig.dt\\20240506_123459.csv"), f.Expected(202, 301));
}

TEST(TriggerFailures, AnUnopenableFileStillRunsTheStatesAndLogsButWritesNothing) {
    Fixture f;
    f.fs.lockedPaths.insert(Fixture::TrigPath());
    f.settings.afterTime = 0.0;
    f.Feed(Quiet, 0, 99);
    f.Feed(Loud, 100, 100);
    f.Feed(Quiet, 101, 110);
    EXPECT_EQ(f.log, (std::vector<std::string>{"TRIG-START", "TRIG-END"}));
    EXPECT_EQ(f.messages, std::vector<std::string>{files::kFileOpenError});
    EXPECT_EQ(f.fs.files.size(), 0u);
    ASSERT_EQ(f.ended.size(), 1u);
    EXPECT_TRUE(f.ended[0].paths.empty());
}

TEST(ManualRecording, ButtonStartsAndEndsAndEveryBatchIsWrittenInOrder) {
    Fixture f;
    f.settings.trigMode = 0;
    std::vector<bool> changes;
    f.control.hooks.recordingChanged = [&](bool on) { changes.push_back(on); };
    f.Feed(Quiet, 0, 9);
    f.control.ToggleRecording();
    EXPECT_EQ(f.control.recording, 1);
    f.Feed(Quiet, 10, 500, 37);
    f.control.ToggleRecording();
    f.Feed(Quiet, 501, 510);
    EXPECT_EQ(f.control.recording, 0);
    EXPECT_EQ(f.Lines("D:\\data\\20240506_123456.csv"), f.Expected(10, 500));
    EXPECT_EQ(f.log, (std::vector<std::string>{"SAVE-START", "SAVE-END"}));
    EXPECT_EQ(changes, (std::vector<bool>{true, false}));

    // A first file that cannot be opened: the recording does not start and nothing is logged.
    f.fs.now.second = 57;
    f.fs.lockedPaths.insert("D:\\data\\20240506_123457.csv");
    f.control.ToggleRecording();
    EXPECT_EQ(f.control.recording, 0);
    EXPECT_EQ(f.log.size(), 2u);
    EXPECT_EQ(f.messages, std::vector<std::string>{files::kFileOpenError});
}

TEST(MeasurementStop, EndsTheTriggerBeforeTheManualRecordingAndHidesTheMarkers) {
    Fixture f;
    f.Feed(Quiet, 0, 99);
    f.control.ToggleRecording();
    f.Feed(Loud, 100, 110);
    EXPECT_EQ(f.markers[0], true);
    f.control.OnMeasurementStop();
    EXPECT_EQ(f.log, (std::vector<std::string>{"SAVE-START", "TRIG-START", "TRIG-END", "SAVE-END"}));
    EXPECT_EQ(f.markers, (std::array<bool, 3>{false, false, false}));
    EXPECT_EQ(f.control.trigState, 0);
    EXPECT_EQ(f.control.recording, 0);
    EXPECT_TRUE(f.fs.openPaths.empty());
    ASSERT_EQ(f.ended.size(), 1u);
    EXPECT_EQ(f.ended[0].lastSample, 110);
    EXPECT_EQ(f.Lines("D:\\data\\20240506_123456.csv"), f.Expected(100, 110));
}

TEST(WriteFailure, ReportedOnceWithALogRowWhileMeasuringAndTheOtherRecordingGoesOn) {
    Fixture f;
    f.settings.afterTime = 100.0;
    f.Feed(Quiet, 0, 99);
    f.control.ToggleRecording();
    f.Feed(Loud, 100, 100);
    f.Feed(Quiet, 101, 110);
    const std::string manual = "D:\\data\\20240506_123456.csv";
    const std::vector<std::string> recorded = f.Lines(manual);
    f.fs.failingPaths.insert(manual);  // the disk under the manual recording's file fails
    f.Feed(Quiet, 111, 111);
    f.fs.failingPaths.clear();  // it works again: the failed recording still takes nothing, so no gap
    f.Feed(Quiet, 112, 200, 10);
    EXPECT_EQ(f.log, (std::vector<std::string>{"SAVE-START", "TRIG-START", "SAVE-ERR"}));
    ASSERT_EQ(f.messages.size(), 1u);
    EXPECT_NE(f.messages[0].find(manual), std::string::npos);
    EXPECT_EQ(f.Lines(manual), recorded);
    EXPECT_EQ(f.Lines(f.TrigPath()), f.Expected(1, 200));
    EXPECT_EQ(f.control.recording, 1);  // the operator ends it; the button still says so
    f.control.ToggleRecording();
    EXPECT_EQ(f.log.back(), "SAVE-END");
}

TEST(TruncatedSamples, HundredsOfASecondWithoutBinaryFractionLoss) {
    EXPECT_EQ(app::TruncatedSamples(0.29), 29);
    EXPECT_EQ(app::TruncatedSamples(1.0), 100);
    EXPECT_EQ(app::TruncatedSamples(0.999), 99);
    EXPECT_EQ(app::TruncatedSamples(-1.0), 0);
    EXPECT_EQ(app::TruncatedSamples(300.0), 30000);
}
