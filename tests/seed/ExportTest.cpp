// The CSV export: split parts joined, values and start time exact as libmseed reads them, two
// recordings in one trigger file, and input that is refused without leaving a file.
#include <gtest/gtest.h>

#include <cstdio>

#include "SeedTestSupport.h"
#include "seed/CsvExport.h"

namespace {

const std::string kHeaderTail = "CLOCK:10.000000 ( msec )\r\nDATA:\r\n\x82\x77,\x82\x78,\x82\x79\r\ngal,gal,gal\r\n";

std::string Header(const char* comment, const char* dateMake) {
    return std::string(comment) + "\r\nDATE_MAKE:" + dateMake + "\r\n" + kHeaderTail;
}

std::string Lines(int from, int count) {
    std::string s;
    char line[80];
    for (int i = from; i < from + count; ++i) {
        std::snprintf(line, sizeof line, "%f,%f,%f\r\n", i * 0.0123, -i * 0.5, (i % 7) * 1234.5678);
        s += line;
    }
    return s;
}

// Local time is UTC+9 (Japan).
std::optional<seed::Ticks> Japan(uint64_t local) { return seed::TicksFromFileTime(local) - 9 * 3600 * seed::kTicksPerSecond; }

seed::ExportResult Export(seedtest::MemoryFiles& files, const std::string& chosen) {
    return seed::ExportCsv(chosen, files, seed::ArchiveCodes{}, Japan);
}

TEST(Export, SplitPartsJoinedWithTheirValuesAndTheFirstHeadersTime) {
    seedtest::MemoryFiles files;
    files.files["D:\\w\\20240506_090000.csv"] = Header("COMMENT_1:", "2024.05.06_09:00:00") + Lines(0, 100);
    files.files["D:\\w\\20240506_090000-1.csv"] = Header("COMMENT_1:", "2024.05.06_09:00:01") + Lines(100, 100);
    files.files["D:\\w\\20240506_090000-2.csv"] = Header("COMMENT_1:", "2024.05.06_09:00:02") + Lines(200, 7);
    const seed::ExportResult r = Export(files, "D:\\w\\20240506_090000-1.csv");
    ASSERT_EQ(r.status, seed::ExportResult::Status::Written) << seed::ExportMessage(r);
    EXPECT_EQ(r.output, "D:\\w\\20240506_090000.mseed");
    EXPECT_EQ(r.samples, 207u);
    if (!seedtest::HaveReader()) return;
    std::vector<double> axis[3];
    const auto records = seedtest::ReadRecords(files.files[r.output]);
    const int64_t startUs = seed::TicksOf({2024, 5, 6, 127, 0, 0, 0, 0}) * 100;
    std::map<std::string, int64_t> next;
    for (size_t i = 0; i < records.size(); ++i) {
        const auto& rec = records[i];
        EXPECT_EQ(rec.sequence, static_cast<int>(i + 1));
        EXPECT_EQ(rec.encoding, 5);
        const int a = rec.nslc == "XX.QRV01.00.HNE" ? 0 : rec.nslc == "XX.QRV01.00.HNN" ? 1 : 2;
        EXPECT_EQ(rec.startUs, startUs + static_cast<int64_t>(axis[a].size()) * 10000) << rec.nslc;
        axis[a].insert(axis[a].end(), rec.doubles.begin(), rec.doubles.end());
    }
    for (int i = 0; i < 207; ++i) {
        ASSERT_EQ(axis[0][static_cast<size_t>(i)], std::strtod(std::to_string(i * 0.0123).c_str(), nullptr));
        ASSERT_EQ(axis[2][static_cast<size_t>(i)], std::strtod(std::to_string((i % 7) * 1234.5678).c_str(), nullptr));
    }
    EXPECT_EQ(axis[1].size(), 207u);
}

TEST(Export, TwoTriggerRecordingsInOneFileKeepTheirOwnTimes) {
    if (!seedtest::HaveReader()) GTEST_SKIP() << "no libmseed in this tree";
    seedtest::MemoryFiles files;
    files.files["t.csv"] = Header("COMMENT_1:TRIG DATA", "2024.05.06_09:00:00") + Lines(0, 60) +
                           Header("COMMENT_1:TRIG DATA", "2024.05.06_09:00:00") + Lines(60, 10);
    const seed::ExportResult r = Export(files, "t.csv");
    ASSERT_EQ(r.status, seed::ExportResult::Status::Written) << seed::ExportMessage(r);
    EXPECT_EQ(r.segments, 2);
    const int64_t startUs = seed::TicksOf({2024, 5, 6, 127, 0, 0, 0, 0}) * 100;
    int zRecords = 0;
    for (const auto& rec : seedtest::ReadRecords(files.files["t.mseed"])) {
        if (rec.nslc != "XX.QRV01.00.HNZ") continue;
        // 56 + 4 samples of the first recording, then the second from its own start.
        const int64_t want[] = {startUs, startUs + 560000, startUs};
        EXPECT_EQ(rec.startUs, want[zRecords++]);
    }
    EXPECT_EQ(zRecords, 3);
}

TEST(Export, RefusedInputSaysWhereAndLeavesNoFile) {
    const std::string good = Header("COMMENT_1:", "2024.05.06_09:00:00") + Lines(0, 20);
    struct Case {
        const char* what;
        std::string bytes;
        seed::ExportResult::Status status;
        uint64_t line;
    };
    const Case cases[] = {
        {"empty", "", seed::ExportResult::Status::NotOurs, 1},
        {"another program's CSV", "time,x,y,z\r\n0,1,2,3\r\n", seed::ExportResult::Status::NotOurs, 1},
        {"other sample spacing", Header("COMMENT_1:", "2024.05.06_09:00:00").replace(49, 2, "20"),
         seed::ExportResult::Status::NotOurs, 3},
        {"impossible date", Header("COMMENT_1:", "2024.02.30_09:00:00") + Lines(0, 2), seed::ExportResult::Status::NotOurs, 2},
        {"a field that is no number", good + "1.0,abc,2.0\r\n", seed::ExportResult::Status::NotOurs, 27},
        {"a fourth field", good + "1.0,2.0,3.0,4.0\r\n", seed::ExportResult::Status::NotOurs, 27},
        {"last line cut", good + "1.000000,2.0", seed::ExportResult::Status::Truncated, 27},
        {"header cut", good.substr(0, 40), seed::ExportResult::Status::Truncated, 2},
        {"header only", Header("COMMENT_1:", "2024.05.06_09:00:00"), seed::ExportResult::Status::NoSamples, 0},
    };
    for (const Case& c : cases) {
        seedtest::MemoryFiles files;
        files.files["x.csv"] = c.bytes;
        const seed::ExportResult r = Export(files, "x.csv");
        EXPECT_EQ(r.status, c.status) << c.what << ": " << seed::ExportMessage(r);
        EXPECT_EQ(r.line, c.line) << c.what;
        EXPECT_EQ(files.files.size(), 1u) << c.what << ": a file was left";
    }
    // A part cut short fails the whole recording.
    seedtest::MemoryFiles files;
    files.files["y.csv"] = good;
    files.files["y-1.csv"] = good + "1.5";
    const seed::ExportResult r = Export(files, "y.csv");
    EXPECT_EQ(r.status, seed::ExportResult::Status::Truncated);
    EXPECT_EQ(seed::ExportMessage(r), "ファイルが途中で切れているため、変換できません。\ny-1.csv (27 行目)");
    EXPECT_FALSE(files.Exists("y.mseed"));
    // The output cannot be written: the message names it.
    files.files["y-1.csv"] = good;
    files.failAppendTo = "y.mseed";
    EXPECT_EQ(seed::ExportMessage(Export(files, "y.csv")), "ファイルの書き込みに失敗しました。\ny.mseed");
    EXPECT_FALSE(files.Exists("y.mseed"));
}

}  // namespace
