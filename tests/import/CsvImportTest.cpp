// The CSV importer: a file in the writer's format reads back exactly, and the header, short,
// empty and long lines, line ends, time lines and failures follow the import rules.
#include "files/CsvImport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "files/ImportFields.h"
#include "files/SampleLine.h"
#include "import/ImportTestSources.h"

namespace {

using files::ImportCsv;
using files::ImportOptions;
using files::ImportResult;
using files::MemorySource;
using Status = files::ImportResult::Status;

const char kHeader[] =
    "COMMENT_1:\r\nDATE_MAKE:2024.05.06_12:34:56\r\nCLOCK:10.000000 ( msec )\r\nDATA:\r\n"
    "Ｘ,Ｙ,Ｚ\r\ngal,gal,gal\r\n";

ImportResult Import(const std::string& text, ImportOptions options = {}) {
    MemorySource source(text);
    return ImportCsv(source, options);
}

using Sample = std::vector<double>;
std::vector<Sample> Samples(const ImportResult& r) {
    std::vector<Sample> out;
    EXPECT_EQ(r.samples[0].size(), r.samples[1].size());
    EXPECT_EQ(r.samples[0].size(), r.samples[2].size());
    for (size_t i = 0; i < r.samples[0].size(); ++i) out.push_back({r.samples[0][i], r.samples[1][i], r.samples[2][i]});
    return out;
}

uint64_t Time(int y, int mo, int d, int h, int mi, int s) { return *files::FileTimeOf({y, mo, d, h, mi, s}); }

TEST(CsvImport, AWrittenFileReadsBackToTheSameSixDecimals) {
    // Lines as the recordings' writer formats them, read back and formatted again by it.
    auto lineOf = [](double x, double y, double z) {
        char line[files::kSampleLineMaxChars];
        return std::string(line, files::FormatSampleLine(line, x, y, z));
    };
    std::mt19937 random(3);
    std::string file = kHeader;
    std::vector<std::string> lines;
    for (int i = 0; i < 5000; ++i) {
        lines.push_back(lineOf((double(random()) - 2147483648.0) / 997.0, double(random() % 2000) - 1000.0,
                               double(random()) / 4294967296.0 - 0.5));
        file += lines.back();
    }
    const ImportResult r = Import(file);
    ASSERT_EQ(r.status, Status::Loaded);
    EXPECT_EQ(r.baseTime, Time(2024, 5, 6, 12, 34, 56));
    const auto samples = Samples(r);
    ASSERT_EQ(samples.size(), lines.size());
    for (size_t i = 0; i < lines.size(); ++i)
        ASSERT_EQ(lineOf(samples[i][0], samples[i][1], samples[i][2]), lines[i]) << "line " << i;
}

TEST(CsvImport, HeaderRules) {
    // The header alone: loaded, no samples.
    ImportResult r = Import(kHeader);
    EXPECT_EQ(r.status, Status::Loaded);
    EXPECT_TRUE(r.samples[0].empty());

    // No "DATA:", or the file ends before the two column lines: nothing is loaded.
    for (const char* text : {"COMMENT_1:\r\n1,2,3\r\n", "DATA: \r\nX\r\ngal\r\n1,2,3\r\n", " DATA:\nX\ngal\n1,2,3\n",
                             "DATA:\r\n", "DATA:\r\nX,Y,Z\r\n", ""}) {
        r = Import(text);
        EXPECT_EQ(r.status, Status::NoDataLine) << text;
        EXPECT_TRUE(r.samples[0].empty()) << text;
    }

    // The two lines after "DATA:" are skipped whatever they hold; no time stated gives 0.
    r = Import("DATA:\n1,1,1\n2,2,2\n3,3,3\n");
    EXPECT_EQ(Samples(r), (std::vector<Sample>{{3, 3, 3}}));
    EXPECT_EQ(r.baseTime, 0u);
    // Without a line end after the second column line.
    EXPECT_EQ(Import("DATA:\nX\ngal").status, Status::Loaded);
}

TEST(CsvImport, DateMakeLines) {
    auto timeOf = [](const std::string& header) { return Import(header + "DATA:\nX\ngal\n").baseTime; };
    // A later line replaces an earlier one; lines after "DATA:" are samples, not times.
    EXPECT_EQ(timeOf("DATE_MAKE:2024.05.06_12:34:56\nDATE_MAKE:2025.12.31_23:59:59\n"), Time(2025, 12, 31, 23, 59, 59));
    EXPECT_EQ(Import("DATE_MAKE:2024.05.06_12:34:56\nDATA:\nX\ngal\nDATE_MAKE:2025.01.01_00:00:00\n").baseTime,
              Time(2024, 5, 6, 12, 34, 56));
    // Fields at fixed positions, each read like atoi: separators are not examined.
    EXPECT_EQ(timeOf("DATE_MAKE:2024/05/06 12-34-56 extra\n"), Time(2024, 5, 6, 12, 34, 56));
    EXPECT_EQ(timeOf("DATE_MAKE:2024.5 .6 _1 :3 :5 \n"), Time(2024, 5, 6, 1, 3, 5));
    // Impossible fields state no time: an earlier valid line stays, otherwise 0.
    for (const char* bad : {"DATE_MAKE:2024.13.06_12:34:56", "DATE_MAKE:2024.05.00_12:34:56",
                            "DATE_MAKE:2024.05.06_25:34:56", "DATE_MAKE:2024.02.30_12:34:56",
                            "DATE_MAKE:abcd.ef.gh_ij:kl:mn", "DATE_MAKE:2024.05", "DATE_MAKE:"}) {
        EXPECT_EQ(timeOf(std::string(bad) + "\n"), 0u) << bad;
        EXPECT_EQ(timeOf("DATE_MAKE:2024.05.06_12:34:56\n" + std::string(bad) + "\n"), Time(2024, 5, 6, 12, 34, 56))
            << bad;
    }
}

TEST(CsvImport, ShortEmptyAndExtraFields) {
    const ImportResult r = Import(
        "DATA:\nX\ngal\n"
        "1.5\n"            // the first line's missing axes are 0
        "1.0,2.0,3.0\n"
        "1.5,2.5\n"        // a short line keeps the previous Z
        "\n"               // an empty line repeats the previous sample
        ",7,\n"            // empty fields read as 0
        "4,5,6,7,8\n"      // fields after the third are ignored
        "  9e1 , -1x,+2\n"  // read like atof
        "-0.5,1234.5,0");  // the last line needs no line end
    EXPECT_EQ(Samples(r), (std::vector<Sample>{{1.5, 0, 0}, {1, 2, 3}, {1.5, 2.5, 3}, {1.5, 2.5, 3}, {0, 7, 0},
                                               {4, 5, 6}, {90, -1, 2}, {-0.5, 1234.5, 0}}));
}

TEST(CsvImport, LongLinesAreReadWithoutOverrun) {
    // 100 characters and more: the values are read from the whole line.
    const std::string padded = std::string(120, ' ') + "1.25," + std::string(200, '0') + "2.5,3" + std::string(300, ' ');
    const std::string longNumber = "1." + std::string(500, '0') + "1,-2,3";
    ImportResult r = Import(std::string(kHeader) + padded + "\r\n" + longNumber + "\r\n");
    EXPECT_EQ(Samples(r), (std::vector<Sample>{{1.25, 2.5, 3}, {1, -2, 3}}));

    // Beyond the line limit the rest of the line is not read; the following lines are.
    ImportOptions small;
    small.maxLine = 40;
    const std::string cut = "1," + std::string(40, '0') + "2,3";  // cut inside Y; Z is not reached
    r = Import(std::string(kHeader) + "9,9,9\n" + cut + "\n4,5,6\n", small);
    EXPECT_EQ(Samples(r), (std::vector<Sample>{{9, 9, 9}, {1, 0, 9}, {4, 5, 6}}));
}

TEST(CsvImport, LineEndsDoNotMatter) {
    const std::string lf = "COMMENT_1:\nDATE_MAKE:2024.05.06_12:34:56\nDATA:\nX\ngal\n1,2,3\n\n4,5,6\n";
    std::string crlf, cr;
    for (char c : lf) {
        crlf += c == '\n' ? "\r\n" : std::string(1, c);
        cr += c == '\n' ? '\r' : c;
    }
    const ImportResult expected = Import(lf);
    ASSERT_EQ(Samples(expected), (std::vector<Sample>{{1, 2, 3}, {1, 2, 3}, {4, 5, 6}}));
    // A byte-order mark before a first DATE_MAKE line; a lone CR ending the first line.
    const std::string bom = "\xEF\xBB\xBF" + crlf.substr(crlf.find("DATE_MAKE"));
    const std::string mixed = "COMMENT_1:\r" + crlf.substr(crlf.find("DATE_MAKE"));
    for (const std::string& text : {crlf, cr, bom, mixed}) {
        const ImportResult r = Import(text);
        ASSERT_EQ(r.status, Status::Loaded);
        EXPECT_EQ(Samples(r), Samples(expected));
        EXPECT_EQ(r.baseTime, expected.baseTime);
    }
}

TEST(CsvImport, FailuresLoadNothingOrStopAtTheLimit) {
    const std::string file = std::string(kHeader) + std::string(5000, '\n');
    // Early, late, and in the second pass only (the file went away between the passes).
    const struct {
        size_t failAt;
        int pass;
    } faults[] = {{10, -1}, {file.size() - 100, -1}, {file.size() - 100, 1}};
    for (const auto& fault : faults) {
        files::test::FaultySource source(file, 512, fault.failAt, files::FileErrorCause::HardIO, fault.pass);
        const ImportResult r = ImportCsv(source);
        EXPECT_EQ(r.status, Status::ReadError);
        EXPECT_EQ(r.readError, files::FileErrorCause::HardIO);
        EXPECT_TRUE(r.samples[0].empty());
    }
    ImportOptions limited;
    limited.maxSamples = 4999;
    EXPECT_EQ(Import(file, limited).status, Status::BufferError);
    limited.maxSamples = 5000;
    EXPECT_EQ(Import(file, limited).status, Status::Loaded);
}

TEST(CsvImport, ReportsProgressOverBothPasses) {
    const std::string file = std::string(kHeader) + std::string(100000, '\n');
    ImportOptions options;
    options.blockSize = 4096;
    uint64_t last = 0, total = 0;
    int calls = 0;
    options.progress = [&](uint64_t done, uint64_t all) {
        EXPECT_GE(done, last);
        last = done;
        total = all;
        ++calls;
    };
    EXPECT_EQ(Import(file, options).status, Status::Loaded);
    EXPECT_EQ(total, 2 * file.size());
    EXPECT_EQ(last, total);
    EXPECT_GT(calls, 40);
}

}  // namespace
