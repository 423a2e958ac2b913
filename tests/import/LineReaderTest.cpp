// Line splitting: every block size gives the lines of a plain whole-string split, whatever the
// line ends and lengths; read errors stop the reader with their cause.
#include "files/LineReader.h"

#include <gtest/gtest.h>

#include <random>
#include <regex>
#include <string>
#include <vector>

#include "import/ImportTestSources.h"

namespace {

using files::FileErrorCause;
using files::Line;
using files::LineReader;
using files::MemorySource;

struct Got {
    std::string text;
    bool truncated;
    bool operator==(const Got& o) const { return text == o.text && truncated == o.truncated; }
};

// The documented rule as a plain split of the whole string: a byte-order mark first is dropped,
// every match of CR* LF or of a lone CR ends a line, and text after the last one is a line too.
std::vector<Got> Reference(const std::string& data, size_t maxLine) {
    maxLine = std::max(maxLine, LineReader::kMinLine);
    const std::string text = data.compare(0, 3, "\xEF\xBB\xBF") == 0 ? data.substr(3) : data;
    static const std::regex lineEnd("\r*\n|\r");
    std::vector<std::string> parts;
    auto start = text.cbegin();
    std::smatch end;
    while (std::regex_search(start, text.cend(), end, lineEnd)) {
        parts.emplace_back(start, end[0].first);
        start = end[0].second;
    }
    if (start != text.cend()) parts.emplace_back(start, text.cend());
    std::vector<Got> lines;
    for (std::string& part : parts) {
        const bool truncated = part.size() > maxLine;
        if (truncated) part.resize(maxLine);
        lines.push_back({part, truncated});
    }
    return lines;
}

std::vector<Got> Split(const std::string& data, size_t block, size_t maxLine) {
    MemorySource source(data);
    LineReader reader(source, block, maxLine);
    std::vector<Got> lines;
    Line line;
    while (reader.Next(line)) lines.push_back({std::string(line.text, line.size), line.truncated});
    EXPECT_EQ(reader.Error(), FileErrorCause::None);
    EXPECT_EQ(reader.BytesRead(), data.size());
    return lines;
}

TEST(LineReader, AgreesWithAWholeStringSplitForAnyBlockSize) {
    std::mt19937 random(13);
    // Code-page-932 bytes too, among them the line-end bytes with the high bit set.
    const char alphabet[] = {'a', '\x8D', ',', '\x8A', '\r', '\n', '\r', '\n', '\0'};
    for (int round = 0; round < 3000; ++round) {
        std::string data(random() % 200, ' ');
        // Long runs without line ends now and then, so lines pass the limit.
        const int endWeight = round % 3 == 0 ? 1 : 8;
        for (char& c : data) c = alphabet[random() % (endWeight + 1)];
        if (round % 5 == 0) data.insert(0, "\xEF\xBB\xBF");
        const size_t block = 1 + random() % 9;
        const size_t maxLine = 32 + random() % 8;
        ASSERT_EQ(Split(data, block, maxLine), Reference(data, maxLine))
            << "round " << round << " block " << block << " maxLine " << maxLine;
    }
}

TEST(LineReader, LineEndStylesGiveTheSameLines) {
    const std::vector<Got> expected = {{"TM240506123456", false}, {"", false}, {"2048:4095,0000", false}};
    EXPECT_EQ(Split("TM240506123456\r\n\r\n2048:4095,0000\r\n", 1 << 20, 100), expected);
    EXPECT_EQ(Split("TM240506123456\n\n2048:4095,0000\n", 1 << 20, 100), expected);
    EXPECT_EQ(Split("TM240506123456\r\r2048:4095,0000\r", 1 << 20, 100), expected);
    // No line end after the last line, or a lone carriage return there.
    EXPECT_EQ(Split("TM240506123456\n\n2048:4095,0000", 3, 100), expected);
    EXPECT_EQ(Split("TM240506123456\r\n\r\n2048:4095,0000\r", 3, 100), expected);
    // A doubled carriage return before the line feed is one line end.
    EXPECT_EQ(Split("a\r\r\nb\r\n", 2, 100), (std::vector<Got>{{"a", false}, {"b", false}}));
    // A UTF-8 byte-order mark is no part of the first line.
    EXPECT_EQ(Split("\xEF\xBB\xBFTM240506123456\r\n\r\n2048:4095,0000\r\n", 2, 100), expected);
}

TEST(LineReader, LongLinesAreCutAndTheRestSkipped) {
    const std::string longLine(1'000'000, '7');
    const auto lines = Split("1,2,3\n" + longLine + "\n4,5,6\n", 4096, 100);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1], (Got{std::string(100, '7'), true}));
    EXPECT_EQ(lines[2], (Got{"4,5,6", false}));
}

TEST(LineReader, AReadErrorEndsTheLinesWithItsCause) {
    files::test::FaultySource source("line 1\nline 2\nline 3\n", 4, 10, FileErrorCause::LockViolation);
    LineReader reader(source, 4, 100);
    Line line;
    while (reader.Next(line)) {
    }
    EXPECT_EQ(reader.Error(), FileErrorCause::LockViolation);
}

}  // namespace
