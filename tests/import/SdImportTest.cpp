// The SD-card importer: classification by length, the BIT and KANZAN conversion, time lines.
#include "files/SdImport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "files/ImportFields.h"
#include "import/ImportTestSources.h"

namespace {

using files::ImportResult;
using files::ImportSd;
using files::MemorySource;
using files::SdConversion;
using Status = files::ImportResult::Status;
using Sample = std::vector<double>;

ImportResult Import(const std::string& text, int bit, std::array<double, 3> kanzan = {0.125, 0.125, 0.125}) {
    MemorySource source(text);
    return ImportSd(source, SdConversion{bit, kanzan});
}

std::vector<Sample> Samples(const ImportResult& r) {
    std::vector<Sample> out;
    for (size_t i = 0; i < r.samples[0].size(); ++i) out.push_back({r.samples[0][i], r.samples[1][i], r.samples[2][i]});
    return out;
}

uint64_t Time(int y, int mo, int d, int h, int mi, int s) { return *files::FileTimeOf({y, mo, d, h, mi, s}); }

const char kExample[] = "TM240506123456\r\n2048:4095,0000\r\n32768;40000,00000\r\n";

TEST(SdImport, ConvertsByTheLineFormatAndBit) {
    ImportResult r = Import(kExample, 12);
    ASSERT_EQ(r.status, Status::Loaded);
    EXPECT_EQ(r.baseTime, Time(2024, 5, 6, 12, 34, 56));
    EXPECT_EQ(Samples(r), (std::vector<Sample>{{0, 255.875, -256.0}, {0, 904.0, -4096.0}}));

    // BIT 16: 12-bit lines without a factor, 16-bit lines with KANZAN (per axis).
    r = Import(kExample, 16, {0.5, 0.25, 2.0});
    EXPECT_EQ(Samples(r), (std::vector<Sample>{{0, 2047, -2048}, {0, 1808.0, -65536.0}}));
    // BIT 12 applies KANZAN per axis to 12-bit lines, 0.125 to 16-bit lines.
    r = Import(kExample, 12, {0.5, 0.25, 2.0});
    EXPECT_EQ(Samples(r), (std::vector<Sample>{{0, 511.75, -4096.0}, {0, 904.0, -4096.0}}));
}

TEST(SdImport, ClassifiesLinesByLength) {
    const ImportResult r = Import(
        "32769A32767,32768\n"   // a 17-character line before any 14-character line
        "2048:4095,000\n"        // 13: skipped
        "2048:4095,00000\n"      // 15: skipped
        "32768;40000,0000\n"     // 16: skipped
        "32768;40000,000000\n"   // 18: skipped
        "\n"
        "TM2405061234\n"         // a short time line: skipped
        "TM24050612345678\n"     // a long one: skipped
        "2049: 204,+204\n"       // 14, read like atoi: a blank and a sign
        "204952047,2048",        // a digit as the low-pass code joins X and Y, like atoi
        12, {1, 1, 1});
    EXPECT_EQ(Samples(r), (std::vector<Sample>{{0.125, -0.125, 0}, {1, -1844, -1844}, {204952047 - 2048, -1, 0}}));
    EXPECT_EQ(r.baseTime, 0u);
}

TEST(SdImport, EmptyFileLoadsNothing) {
    for (const char* text : {"", "\r\n", "TM240506123456\r\n"}) {
        const ImportResult r = Import(text, 12);
        EXPECT_EQ(r.status, Status::Loaded);
        EXPECT_TRUE(r.samples[0].empty());
    }
}

TEST(SdImport, TheLastValidTimeLineDatesItsFollowingSample) {
    std::string file = "TM240506123456\n";
    for (int i = 0; i < 150; ++i) file += "2048:2048,2048\n";
    file += "TM240506123458\n";  // the time of sample 150: base 12:34:56.500 from the 1.5 s before
    file += "2048:2048,2048\n";
    ImportResult r = Import(file, 12);
    EXPECT_EQ(r.samples[0].size(), 151u);
    EXPECT_EQ(r.baseTime, Time(2024, 5, 6, 12, 34, 58) - 150 * files::kFileTimePerSample);

    // Impossible times are ignored, so an earlier valid one stays.
    for (const char* bad : {"TM241306123456", "TM240500123456", "TM240506253456", "TM240230123456", "TM24ab06123456",
                            "TM240506126056"}) {
        r = Import(std::string("TM240506123456\n2048:2048,2048\n") + bad + "\n", 12);
        EXPECT_EQ(r.baseTime, Time(2024, 5, 6, 12, 34, 56)) << bad;
        EXPECT_EQ(Import(std::string(bad) + "\n", 12).baseTime, 0u) << bad;
    }
}

TEST(SdImport, LineEndsDoNotMatter) {
    const std::string crlf = kExample;
    std::string lf, cr;
    for (char c : crlf) {
        if (c != '\r') lf += c;
        if (c != '\n') cr += c;
    }
    // With a byte-order mark the time line stays a time line; a lone CR ending the first line
    // leaves the CR LF lines after it as they are.
    const std::string bom = "\xEF\xBB\xBF" + crlf;
    const std::string mixed = "TM240506123456\r" + crlf.substr(16);
    for (const std::string& text : {lf, cr, bom, mixed}) {
        const ImportResult r = Import(text, 12);
        EXPECT_EQ(Samples(r), Samples(Import(crlf, 12)));
        EXPECT_EQ(r.baseTime, Time(2024, 5, 6, 12, 34, 56));
    }
}

TEST(SdImport, AReadErrorLoadsNothing) {
    std::string file;
    for (int i = 0; i < 1000; ++i) file += "2048:4095,0000\r\n";
    files::test::FaultySource source(file, 1000, 9000, files::FileErrorCause::HardIO, 1);
    const ImportResult r = ImportSd(source, SdConversion{12, {1, 1, 1}});
    EXPECT_EQ(r.status, Status::ReadError);
    EXPECT_EQ(r.readError, files::FileErrorCause::HardIO);
    EXPECT_TRUE(r.samples[0].empty());
}

}  // namespace
