// The waveform writer over an in-memory file system: names, headers, splits, appending to an
// existing file, the Trig.dt folder, and failures to open or to write.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/FakeWaveFileSystem.h"
#include "files/WaveFile.h"

using files::WaveFileWriter;
using files::WaveKind;

namespace {

const std::string kManualHeader =
    "COMMENT_1:\r\nDATE_MAKE:2024.05.06_12:34:56\r\nCLOCK:10.000000 ( msec )\r\nDATA:\r\n"
    "\x82\x77,\x82\x78,\x82\x79\r\ngal,gal,gal\r\n";

struct Fixture {
    FakeWaveFileSystem fs;
    Settings settings;
    std::vector<std::string> messages;
    std::vector<std::string> failures;
    WaveFileWriter record{WaveKind::Record, fs, settings};
    WaveFileWriter trigger{WaveKind::Trigger, fs, settings};

    Fixture() {
        settings.saveDirectory = "D:\\data";
        settings.savedataMaxnum = 30000;
        for (WaveFileWriter* w : {&record, &trigger}) {
            w->reports.showMessage = [this](const char* text) { messages.push_back(text); };
            w->reports.writeFailed = [this](WaveKind, const std::string& path) { failures.push_back(path); };
        }
    }
    static std::string Line(int i) { return std::to_string(i) + ".000000,0.500000,-" + std::to_string(i) + ".000000\r\n"; }
    static void Write(WaveFileWriter& w, int from, int to) {
        for (int i = from; i <= to; ++i) w.Append(i, 0.5, -i);
    }
};

}  // namespace

TEST(WaveFileSplit, PartsOfMaxnumLinesEachWithItsOwnHeader) {
    Fixture f;
    f.settings.savedataMaxnum = 3;
    ASSERT_TRUE(f.record.Open(0));
    f.Write(f.record, 1, 3);
    f.fs.now.second = 58;  // a later part carries the time it was opened
    f.Write(f.record, 4, 7);
    f.record.Close();

    std::string later = kManualHeader;
    later.replace(later.find("12:34:56"), 8, "12:34:58");
    EXPECT_EQ(f.fs.files.size(), 3u);
    EXPECT_EQ(f.fs.files["D:\\data\\20240506_123456.csv"], kManualHeader + f.Line(1) + f.Line(2) + f.Line(3));
    EXPECT_EQ(f.fs.files["D:\\data\\20240506_123456-1.csv"], later + f.Line(4) + f.Line(5) + f.Line(6));
    EXPECT_EQ(f.fs.files["D:\\data\\20240506_123456-2.csv"], later + f.Line(7));
    EXPECT_EQ(f.record.index, 2);
    EXPECT_EQ(f.record.lines, 1);
    EXPECT_EQ(f.record.base, "D:\\data\\20240506_123456");
    EXPECT_EQ(f.record.RecordingPaths().size(), 3u);
    EXPECT_TRUE(f.messages.empty());
}

TEST(WaveFileSplit, ExactlyMaxnumLinesGiveOneFileAndNoEmptyPart) {
    Fixture f;
    f.settings.savedataMaxnum = 3;
    ASSERT_TRUE(f.record.Open(0));
    f.Write(f.record, 1, 3);
    f.record.Close();
    EXPECT_EQ(f.fs.files.size(), 1u);
    EXPECT_EQ(f.record.lines, 3);
}

TEST(WaveFileNames, ARecordingNeverWritesIntoAFileAnotherOneWrote) {
    Fixture f;
    f.settings.saveDirectory = "D:\\data\\";  // a trailing separator is not doubled
    f.settings.savedataMaxnum = 1;
    f.fs.folders.insert("D:\\data\\Trig.dt");  // already there: no message
    const std::string trig = "D:\\data\\Trig.dt\\20240506_123456";
    ASSERT_TRUE(f.trigger.Open(0));
    f.Write(f.trigger, 1, 1);
    f.trigger.Close();
    ASSERT_TRUE(f.trigger.Open(0));  // a re-trigger in the same second: a name of its own, split as usual
    f.Write(f.trigger, 2, 3);
    f.trigger.Close();

    std::string header = kManualHeader;
    header.replace(0, 12, "COMMENT_1:TRIG DATA\r\n");
    EXPECT_EQ(f.fs.files[trig + ".csv"], header + f.Line(1));
    EXPECT_EQ(f.fs.files[trig + "_2.csv"], header + f.Line(2));
    EXPECT_EQ(f.fs.files[trig + "_2-1.csv"], header + f.Line(3));
    EXPECT_EQ(f.trigger.RecordingPaths(), (std::vector<std::string>{trig + "_2.csv", trig + "_2-1.csv"}));
    EXPECT_TRUE(f.messages.empty());

    // Without Trig.dt both kinds share the data folder: the file the manual recording holds, and
    // later the closed files of that second, are taken too.
    f.fs.folders.clear();
    f.fs.folderFails = true;
    ASSERT_TRUE(f.record.Open(0));
    ASSERT_TRUE(f.trigger.Open(0));
    EXPECT_EQ(f.record.base, "D:\\data\\20240506_123456");
    EXPECT_EQ(f.trigger.base, "D:\\data\\20240506_123456_2");
    f.record.Close();
    f.trigger.Close();
    ASSERT_TRUE(f.record.Open(0));
    EXPECT_EQ(f.record.base, "D:\\data\\20240506_123456_3");
    f.record.Close();
    EXPECT_EQ(f.fs.files["D:\\data\\20240506_123456.csv"], kManualHeader);
    EXPECT_EQ(f.messages, std::vector<std::string>{files::kTrigFolderError});
}

TEST(WaveFileNames, TrigDtThatCannotBeMadeIsReportedAndTheDataFolderUsed) {
    Fixture f;
    f.fs.folderFails = true;
    ASSERT_TRUE(f.trigger.Open(0));
    EXPECT_EQ(f.messages, std::vector<std::string>{files::kTrigFolderError});
    EXPECT_EQ(f.trigger.base, "D:\\data\\20240506_123456");
}

TEST(WaveFileOpen, AFileHeldByAnotherProgramGivesFileOpenError) {
    Fixture f;
    f.fs.lockedPaths.insert("D:\\data\\20240506_123456.csv");
    EXPECT_FALSE(f.record.Open(0));
    EXPECT_FALSE(f.record.IsOpen());
    EXPECT_EQ(f.messages, std::vector<std::string>{files::kFileOpenError});
    EXPECT_EQ(f.record.base, "D:\\data\\20240506_123456");
    f.Write(f.record, 1, 5);  // a closed file takes nothing
    EXPECT_EQ(f.fs.files.count("D:\\data\\20240506_123456.csv"), 0u);

    f.settings.saveDirectory = std::string(250, 'd');  // the path would not fit
    EXPECT_FALSE(f.record.Open(0));
    EXPECT_EQ(f.messages.size(), 2u);
    EXPECT_TRUE(f.fs.openPaths.empty());
}

TEST(WaveFileOpen, AContinuationThatCannotBeOpenedDropsTheRestOfTheRecording) {
    Fixture f;
    f.settings.savedataMaxnum = 2;
    f.fs.lockedPaths.insert("D:\\data\\20240506_123456-1.csv");
    ASSERT_TRUE(f.record.Open(0));
    f.Write(f.record, 1, 6);
    f.record.Close();
    EXPECT_EQ(f.messages, std::vector<std::string>{files::kFileOpenError});
    EXPECT_EQ(f.fs.files["D:\\data\\20240506_123456.csv"], kManualHeader + f.Line(1) + f.Line(2));
    EXPECT_EQ(f.fs.files.count("D:\\data\\20240506_123456-2.csv"), 0u);
}

TEST(WaveFileWrite, AFailedWriteIsReportedOnceAndKeepsEverythingWrittenBefore) {
    Fixture f;
    f.settings.savedataMaxnum = 4;
    ASSERT_TRUE(f.record.Open(0));
    f.Write(f.record, 1, 2);
    f.record.Flush();
    const std::string before = f.fs.files["D:\\data\\20240506_123456.csv"];
    f.fs.spaceLeft = 10;  // the disk fills: less than a line fits
    f.Write(f.record, 3, 3);
    f.record.Flush();
    EXPECT_FALSE(f.record.IsOpen());
    f.Write(f.record, 4, 9);  // past the split point too: no part is opened, nothing written
    f.record.Flush();
    f.record.Close();
    EXPECT_EQ(f.failures, std::vector<std::string>{"D:\\data\\20240506_123456.csv"});
    EXPECT_EQ(f.fs.files["D:\\data\\20240506_123456.csv"], before);
    EXPECT_EQ(f.fs.files.size(), 1u);
    EXPECT_TRUE(f.fs.openPaths.empty());

    // The next recording reports its own first failure again.
    f.fs.spaceLeft = -1;
    f.fs.now.second = 59;
    ASSERT_TRUE(f.record.Open(0));
    f.fs.spaceLeft = 0;
    f.Write(f.record, 1, 1);
    f.record.Close();
    EXPECT_EQ(f.failures.size(), 2u);
}

TEST(WaveFileWrite, AHeaderThatCannotBeWrittenIsAnOpenError) {
    Fixture f;
    f.fs.spaceLeft = 20;
    EXPECT_FALSE(f.record.Open(0));
    EXPECT_EQ(f.messages, std::vector<std::string>{files::kFileOpenError});
    EXPECT_TRUE(f.failures.empty());
    EXPECT_TRUE(f.fs.openPaths.empty());
}

TEST(WaveFileWrite, LinesReachTheFileAtFlushAndWhenTheBufferFills) {
    Fixture f;
    ASSERT_TRUE(f.record.Open(0));
    const std::string& file = f.fs.files["D:\\data\\20240506_123456.csv"];
    f.Write(f.record, 1, 10);
    EXPECT_EQ(file, kManualHeader);
    f.record.Flush();
    std::string expected = kManualHeader;
    for (int i = 1; i <= 10; ++i) expected += f.Line(i);
    EXPECT_EQ(file, expected);
    for (int i = 0; i < 20000; ++i) f.record.Append(-1234.5678, 1234.5678, 0.0);
    EXPECT_GT(file.size(), 300000u);  // a long batch does not sit in memory
}
