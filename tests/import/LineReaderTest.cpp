// Line splitting: every block size gives the lines of a plain whole-string split, whatever the
// line ends and lengths; read errors stop the reader with their cause.
#include "files/LineReader.h"

#include <gtest/gtest.h>

#include <random>
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

// The line rules written as plainly as possible, on the whole string at once.
std::vector<Got> Reference(const std::string& data, size_t maxLine) {
    maxLine = std::max(maxLine, LineReader::kMinLine);
    const size_t window = std::min(data.size(), LineReader::kModeWindow + 1);
    char term = '\n';
    const size_t first = data.find_first_of("\r\n");
    if (first < LineReader::kModeWindow && data[first] == '\r') {
        size_t j = first;
        while (j < window && data[j] == '\r') ++j;
        if (j < window ? data[j] != '\n' : window == data.size()) term = '\r';
    }
    std::vector<Got> lines;
    size_t start = 0;
    while (start < data.size()) {
        size_t stop = data.find(term, start);
        const bool last = stop == std::string::npos;
        if (last) stop = data.size();
        std::string text = data.substr(start, stop - start);
        if (term == '\n' && !text.empty() && text.back() == '\r') text.pop_back();
        const bool truncated = text.size() > maxLine;
        if (truncated) text.resize(maxLine);
        lines.push_back({text, truncated});
        start = stop + 1;
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
    const char alphabet[] = {'a', 'b', ',', '\r', '\n', '\r', '\n', '\0'};
    for (int round = 0; round < 3000; ++round) {
        std::string data(random() % 200, ' ');
        // Long runs without line ends now and then, so lines pass the limit.
        const int endWeight = round % 3 == 0 ? 1 : 7;
        for (char& c : data) c = alphabet[random() % (endWeight + 1)];
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
    // A doubled carriage return before the line feed keeps one.
    EXPECT_EQ(Split("a\r\r\nb\r\n", 2, 100), (std::vector<Got>{{"a\r", false}, {"b", false}}));
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
