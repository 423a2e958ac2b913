// The history core: how trigger files group, the events read from them (across parts, two in one
// file, unreadable files), the list's order and cells, and the CSV export.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "HistoryFiles.h"
#include "history/HistoryWindowText.h"
#include "history/TriggerHistory.h"

namespace app {
namespace {

using history_test::SampleLines;
using history_test::ScratchFolder;
using history_test::TriggerHeader;
using history_test::WriteBytes;

files::FileStamp Stamp(const std::string& name) { return {name, 10, 1}; }

std::vector<std::string> Names(const GroupFiles& g) {
    std::vector<std::string> names;
    for (const auto& f : g.files) names.push_back(f.name);
    return names;
}

TEST(TriggerFileGroups, PartsJoinTheirFirstFileNewestFirst) {
    const std::vector<files::FileStamp> listing = {
        Stamp("20240506_123456-10.csv"), Stamp("20240506_123456.csv"), Stamp("20240506_123456-2.csv"),
        Stamp("20240506_123456-1.csv"),  Stamp("20240507_080000.CSV"), Stamp("20240507_080000-1.csv"),
        Stamp("20240508_000000-1.csv"),  Stamp("20240509_000000-01.csv"), Stamp("20240509_000000.csv"),
        Stamp("TrigHistory.idx"),        Stamp(".csv"),               Stamp("notes.txt"),
        Stamp("20240507_080000_2-1.csv"), Stamp("20240507_080000_2.csv")};
    const std::vector<GroupFiles> groups = GroupTriggerFiles(listing);
    ASSERT_EQ(groups.size(), 6u);
    EXPECT_EQ(groups[0].key, "20240509_000000.csv");
    EXPECT_EQ(Names(groups[0]), std::vector<std::string>{"20240509_000000.csv"});
    EXPECT_EQ(groups[1].key, "20240509_000000-01.csv");  // "-01" is no part number
    EXPECT_EQ(groups[2].key, "20240508_000000-1.csv");   // a part without its first file stands alone
    // A second recording of the same second has a name of its own, with its own parts.
    EXPECT_EQ(Names(groups[3]), (std::vector<std::string>{"20240507_080000_2.csv", "20240507_080000_2-1.csv"}));
    EXPECT_EQ(Names(groups[4]), (std::vector<std::string>{"20240507_080000.CSV", "20240507_080000-1.csv"}));
    EXPECT_EQ(Names(groups[5]), (std::vector<std::string>{"20240506_123456.csv", "20240506_123456-1.csv",
                                                          "20240506_123456-2.csv", "20240506_123456-10.csv"}));
}

std::vector<double> Sine(std::size_t n, double amplitude, double hz) {
    std::vector<double> v(n);
    for (std::size_t i = 0; i < n; ++i) v[i] = std::round(amplitude * std::sin(6.283185307179586 * hz * i / 100.0) * 1e6) / 1e6;
    return v;
}

TEST(TriggerEvents, OneRecordingAcrossItsParts) {
    ScratchFolder dir;
    const std::size_t n = 2500;
    const std::vector<double> x = Sine(n, 120.0, 2.0), y = Sine(n, -40.0, 3.0), z = Sine(n, 15.0, 7.0);
    // 1000 samples per file, as with SAVEDATA_MAXNUM 1000; each part has its own header and time.
    WriteBytes(dir.File("20240506_123456.csv"), TriggerHeader("2024.05.06_12:34:56") + SampleLines(x, y, z, 0, 1000));
    WriteBytes(dir.File("20240506_123456-1.csv"), TriggerHeader("2024.05.06_12:35:06") + SampleLines(x, y, z, 1000, 2000));
    WriteBytes(dir.File("20240506_123456-2.csv"), TriggerHeader("2024.05.06_12:35:16") + SampleLines(x, y, z, 2000));

    const std::vector<GroupFiles> groups = GroupTriggerFiles(*files::ListFolder(dir.Path()));
    ASSERT_EQ(groups.size(), 1u);
    IntensityCalculator calc;
    std::vector<TriggerEvent> events;
    std::atomic<bool> cancel{false};
    ASSERT_EQ(ReadGroupEvents(dir.Path(), groups[0], calc, events, cancel), GroupRead::Ok);
    ASSERT_EQ(events.size(), 1u);
    const TriggerEvent& e = events[0];
    EXPECT_EQ(e.files.size(), 3u);
    EXPECT_EQ(e.samples, 2500);
    EXPECT_EQ(HistoryCellText(e, HistoryColumn::Time), "2024/05/06 12:34:56");  // the first file's time
    double px = 0, py = 0, pz = 0, pv = 0;
    for (std::size_t i = 0; i < n; ++i) {
        px = std::max(px, std::fabs(x[i]));
        py = std::max(py, std::fabs(y[i]));
        pz = std::max(pz, std::fabs(z[i]));
        pv = std::max(pv, std::sqrt(x[i] * x[i] + y[i] * y[i] + z[i] * z[i]));
    }
    EXPECT_EQ(e.peak[0], px);
    EXPECT_EQ(e.peak[1], py);
    EXPECT_EQ(e.peak[2], pz);
    EXPECT_DOUBLE_EQ(e.vectorPeak, pv);
    // The intensity is that of all 2500 samples, not of one part.
    const IntensityResult whole = IntensityCalculator().Compute(x.data(), y.data(), z.data(), n);
    ASSERT_TRUE(e.hasIntensity);
    EXPECT_EQ(e.intensityTenths, whole.tenths);
    EXPECT_EQ(HistoryCellText(e, HistoryColumn::Duration), "25.00");
    EXPECT_EQ(HistoryCellText(e, HistoryColumn::File), "20240506_123456.csv (+2)");
}

TEST(TriggerEvents, FilesReadAsTheImportReadsThem) {
    ScratchFolder dir;
    const std::vector<double> a(20, 3.0), b(500, -8.0);
    // Two recordings that started in the same second share one file. The import reads the second
    // header as six lines of samples (zeros); the history shows the file as one recording from the
    // first header's time, as the review would load it.
    WriteBytes(dir.File("20240506_123456.csv"), TriggerHeader("2024.05.06_12:34:57") + SampleLines(a, a, a) +
                                                    TriggerHeader("2024.05.06_12:34:58") + SampleLines(b, b, b));
    // No header time: the name gives it. CR-only lines, as an editor may save them. Not a waveform
    // file at all: no recording.
    WriteBytes(dir.File("20240601_070809.csv"), "COMMENT_1:TRIG DATA\rDATA:\rX\rgal\r1,2,3\r4,5,6\r");
    WriteBytes(dir.File("list.csv"), "a,b,c\r\n1,2,3\r\n");

    IntensityCalculator calc;
    std::atomic<bool> cancel{false};
    std::vector<TriggerEvent> events;
    std::vector<std::vector<TriggerEvent>> byGroup;
    for (const GroupFiles& g : GroupTriggerFiles(*files::ListFolder(dir.Path()))) {
        ASSERT_EQ(ReadGroupEvents(dir.Path(), g, calc, events, cancel), GroupRead::Ok) << g.key;
        byGroup.push_back(events);
    }
    ASSERT_EQ(byGroup.size(), 3u);
    EXPECT_TRUE(byGroup[0].empty());  // list.csv
    ASSERT_EQ(byGroup[1].size(), 1u);
    EXPECT_EQ(HistoryCellText(byGroup[1][0], HistoryColumn::Time), "2024/06/01 07:08:09");
    EXPECT_EQ(byGroup[1][0].samples, 2);
    EXPECT_EQ(byGroup[1][0].peak[2], 6.0);
    ASSERT_EQ(byGroup[2].size(), 1u);
    EXPECT_EQ(HistoryCellText(byGroup[2][0], HistoryColumn::Time), "2024/05/06 12:34:57");
    EXPECT_EQ(byGroup[2][0].samples, 526);
    EXPECT_EQ(byGroup[2][0].peak[1], 8.0);

    // A part that vanished between the listing and the read: try again later, nothing half read.
    GroupFiles gone{"20240506_123456.csv", {*files::StampFile(dir.Path(), "20240506_123456.csv"), {"20240506_123456-1.csv", 1, 1}}};
    EXPECT_EQ(ReadGroupEvents(dir.Path(), gone, calc, events, cancel), GroupRead::Unreadable);
    EXPECT_TRUE(events.empty());
    cancel = true;
    EXPECT_EQ(ReadGroupEvents(dir.Path(), gone, calc, events, cancel), GroupRead::Cancelled);
}

TEST(TriggerEvents, TimesOfNamesAndTheirCalendar) {
    for (const char* name : {"20240229_235959.csv", "16010101_000000.csv", "99991231_235959-3.csv",
                             "20240507_080000_2.csv"}) {
        const files::CalendarTime t = CalendarOf(FileNameTime(name));
        char back[16];
        std::snprintf(back, sizeof back, "%04d%02d%02d_%02d%02d%02d", t.year, t.month, t.day, t.hour, t.minute, t.second);
        EXPECT_EQ(std::string(back), std::string(name).substr(0, 15));
    }
    EXPECT_EQ(FileNameTime("20230229_000000.csv"), 0u);  // no such day
    EXPECT_EQ(FileNameTime("2024050_6123456.csv"), 0u);
    EXPECT_EQ(FileNameTime("memo.csv"), 0u);
}

TriggerEvent Event(const std::string& group, int day, long long samples, double peakX, int tenths, bool intensity = true) {
    TriggerEvent e;
    e.group = group;
    e.files = {group};
    e.startTime = FileNameTime("202405" + std::string(day < 10 ? "0" : "") + std::to_string(day) + "_120000");
    e.samples = samples;
    e.peak[0] = peakX;
    e.vectorPeak = peakX;
    e.hasIntensity = intensity;
    e.intensityTenths = tenths;
    return e;
}

std::vector<std::string> Column(TriggerHistoryList& list, HistoryColumn c) {
    std::vector<std::string> out;
    for (const TriggerEvent* e : list.Rows()) out.push_back(HistoryCellText(*e, c));
    return out;
}

TEST(TriggerHistoryList, NewestFirstSortableAndUpdatedByGroup) {
    TriggerHistoryList list;
    HistoryUpdate reset;
    reset.reset = true;
    reset.folder = "T";
    reset.groups.push_back({"a.csv", {Event("a.csv", 3, 100, 5.0, 45)}});
    reset.groups.push_back({"b.csv", {Event("b.csv", 1, 300, 50.0, 0, false)}});
    reset.groups.push_back({"c.csv", {Event("c.csv", 2, 200, 0.5, 44)}});
    list.Apply(reset);
    EXPECT_EQ(Column(list, HistoryColumn::File), (std::vector<std::string>{"a.csv", "c.csv", "b.csv"}));
    list.SortBy(HistoryColumn::Intensity);  // largest first, none last
    EXPECT_EQ(Column(list, HistoryColumn::Class), (std::vector<std::string>{"5弱", "4", "-"}));
    list.SortBy(HistoryColumn::Intensity);
    EXPECT_EQ(Column(list, HistoryColumn::Intensity), (std::vector<std::string>{"-", "4.4", "4.5"}));
    list.SortBy(HistoryColumn::PeakX);
    EXPECT_EQ(Column(list, HistoryColumn::PeakX), (std::vector<std::string>{"50.00", "5.00", "0.50"}));
    list.SortBy(HistoryColumn::File);
    EXPECT_EQ(Column(list, HistoryColumn::File), (std::vector<std::string>{"a.csv", "b.csv", "c.csv"}));
    list.SortBy(HistoryColumn::Duration);
    EXPECT_EQ(Column(list, HistoryColumn::Duration), (std::vector<std::string>{"3.00", "2.00", "1.00"}));

    HistoryUpdate change;
    change.folder = "T";
    change.groups.push_back({"a.csv", {Event("a.csv", 3, 400, 5.0, 45), Event("a.csv", 3, 50, 1.0, 10)}});
    change.groups.push_back({"c.csv", {}});  // read again and found empty
    change.removed.push_back("b.csv");
    list.Apply(change);
    EXPECT_EQ(list.Size(), 2u);
    EXPECT_EQ(Column(list, HistoryColumn::Duration), (std::vector<std::string>{"4.00", "0.50"}));
}

TEST(TriggerHistoryList, CsvHasTheCaptionsAndQuotesWhatNeedsIt) {
    TriggerEvent e = Event("20240506_123456.csv", 6, 1234, 1.005, 51);
    e.peak[1] = 12.3456;
    TriggerEvent odd = Event("a,\"b\".csv", 7, 5, 0.0, 0, false);
    odd.files.push_back("a,\"b\"-1.csv");
    const std::string csv = HistoryCsv({&e, &odd});
    EXPECT_EQ(csv,
              "開始日時,継続時間(s),ファイル,最大Ｘ(gal),最大Ｙ(gal),最大Ｚ(gal),合成最大(gal),計測震度,震度階級\r\n"
              "2024/05/06 12:00:00,12.34,20240506_123456.csv,1.00,12.35,0.00,1.00,5.1,5強\r\n"
              "2024/05/07 12:00:00,0.05,\"a,\"\"b\"\".csv (+1)\",0.00,0.00,0.00,0.00,-,-\r\n");
}

TEST(TriggerHistoryWindow, SelectionFollowsItsRecordingAndTheStatusFollowsTheReading) {
    TriggerHistoryList list;
    HistoryUpdate reset;
    reset.reset = true;
    reset.groups.push_back({"a.csv", {Event("a.csv", 3, 100, 5.0, 45)}});
    reset.groups.push_back({"b.csv", {Event("b.csv", 1, 300, 50.0, 0, false)}});
    list.Apply(reset);
    HistorySelection selection;
    EXPECT_EQ(selection.TakeRow(list.Rows()), std::nullopt) << "nothing noted: the selection stays";
    selection.Remember(list.Rows(), 0);
    list.SortBy(HistoryColumn::Time);  // oldest first now: the newest moved to the end
    EXPECT_EQ(selection.TakeRow(list.Rows()), 1);
    EXPECT_EQ(selection.TakeRow(list.Rows()), std::nullopt) << "taken once";
    selection.Remember(list.Rows(), 1);
    HistoryUpdate gone;
    gone.removed.push_back(list.Rows()[1]->group);
    list.Apply(gone);
    EXPECT_EQ(selection.TakeRow(list.Rows()), -1) << "its recording went: no row selected";
    EXPECT_EQ(HistoryCell(list.Rows(), 1, 0), "");
    EXPECT_EQ(HistoryCell(list.Rows(), 0, kHistoryColumnCount), "");

    EXPECT_EQ(HistoryHeading(HistoryColumn::File, HistoryColumn::File, true),
              std::string(HistoryColumnCaption(HistoryColumn::File)) + " ▲");
    EXPECT_EQ(HistoryHeading(HistoryColumn::Time, HistoryColumn::File, true), HistoryColumnCaption(HistoryColumn::Time));

    const HistoryStatusLine reading = HistoryStatusOf({2, 5, true}, 0);
    EXPECT_EQ(reading.text, "トリガファイルを読み込み中… 2 / 5");
    EXPECT_TRUE(reading.barShown);
    EXPECT_EQ(reading.barRange, 5);
    EXPECT_EQ(HistoryStatusOf({0, 0, true}, 3).text, "トリガファイルを確認中…");
    EXPECT_FALSE(HistoryStatusOf({0, 0, true}, 3).barShown);
    EXPECT_EQ(HistoryStatusOf({}, 0).text, "トリガ記録はありません。");
    EXPECT_EQ(HistoryStatusOf({}, 12).text, "12 件");
}

}  // namespace
}  // namespace app
