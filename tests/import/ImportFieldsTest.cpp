// Number fields read like atof (checked against the C library where it rounds correctly, and
// against fixed values in every build) and calendar times on the file-time scale.
#include "files/ImportFields.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

namespace {

using files::CalendarTime;
using files::FileTimeOf;
using files::ReadDouble;

double Read(const std::string& s) { return ReadDouble(s.data(), s.data() + s.size()); }

// Same value, including the sign of zero and NaN for NaN.
::testing::AssertionResult Same(const std::string& text, double got, double want) {
    if ((std::isnan(got) && std::isnan(want)) ||
        (got == want && std::signbit(got) == std::signbit(want)))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "'" << text << "': got " << got << ", want " << want;
}

TEST(ReadDouble, ReadsLikeAtof) {
    const struct {
        const char* text;
        double value;
    } cases[] = {
        {"12.500000", 12.5}, {"-0.125000", -0.125}, {"0.000000", 0.0}, {"-0.000000", -0.0},
        {"1234567.123456", 1234567.123456}, {"  \t+3.5", 3.5}, {"1e3", 1000.0}, {"1.5e", 1.5},
        {".5", 0.5}, {"-.5x", -0.5}, {"", 0.0}, {"abc", 0.0}, {"-", 0.0}, {"+-1", 0.0}, {"- 1", 0.0}, {"-x", 0.0},
        {"0x1A", 26.0}, {"-0x1p-2", -0.25}, {"0x8p+-2000", 8.0}, {"0x1.8p", 1.5}, {"0x", 0.0}, {"0xg", 0.0}, {"1e400", HUGE_VAL},
        {"-1e400", -HUGE_VAL}, {"1e-400", 0.0}, {"-1e-400", -0.0}, {"inF", HUGE_VAL},
        {"-Infinity", -HUGE_VAL}, {"0.1", 0.1}, {"2.5 gal", 2.5}, {"1.000000000000000000000001", 1.0},
    };
    for (const auto& c : cases) EXPECT_TRUE(Same(c.text, Read(c.text), c.value));
    // Too large, and an exponent after the number's end that must not count.
    const std::string huge = "9" + std::string(400, '0') + ".5.e-999";
    EXPECT_TRUE(Same(huge, Read(huge), HUGE_VAL));
    EXPECT_TRUE(std::isnan(Read("nan")));
    EXPECT_TRUE(std::isnan(Read(" -NaN(123)")));
    // The field ends where the caller says, even inside a number.
    const std::string field = "1.2345";
    EXPECT_EQ(ReadDouble(field.data(), field.data() + 3), 1.2);
}

#ifndef _WIN32
// The C library here rounds correctly, so every input must give strtod's result.
TEST(ReadDouble, AgreesWithStrtodOnRandomText) {
    std::mt19937 random(7);
    const char alphabet[] = "0123456789.eE+-xXpPaAfF \tinfINFnaN()";
    for (int round = 0; round < 200000; ++round) {
        std::string text(random() % 24, ' ');
        for (char& c : text) c = alphabet[random() % (sizeof alphabet - 1)];
        ASSERT_TRUE(Same(text, Read(text), std::strtod(text.c_str(), nullptr)));
    }
    for (int round = 0; round < 20000; ++round) {
        char text[64];
        const double v = std::ldexp(double(random()) / 4294967296.0, int(random() % 2100) - 1075);
        std::snprintf(text, sizeof text, round % 2 ? "%.17g" : "%f", round % 3 ? v : -v);
        ASSERT_TRUE(Same(text, Read(text), std::strtod(text, nullptr)));
    }
}
#endif

TEST(FileTimeOf, CountsFrom1601) {
    EXPECT_EQ(FileTimeOf({1601, 1, 1, 0, 0, 0}), 0u);
    EXPECT_EQ(FileTimeOf({1970, 1, 1, 0, 0, 0}), 116444736000000000u);
    EXPECT_EQ(FileTimeOf({2024, 5, 6, 12, 34, 56}), 116444736000000000u + 1714998896ull * 10000000u);
    EXPECT_EQ(*FileTimeOf({2024, 3, 1, 0, 0, 0}) - *FileTimeOf({2024, 2, 28, 0, 0, 0}), 2 * 86400ull * 10000000u);
    EXPECT_EQ(*FileTimeOf({2100, 3, 1, 0, 0, 0}) - *FileTimeOf({2100, 2, 28, 0, 0, 0}), 86400ull * 10000000u);
}

TEST(FileTimeOf, RefusesImpossibleFields) {
    const CalendarTime bad[] = {
        {2024, 13, 1, 0, 0, 0}, {2024, 0, 1, 0, 0, 0},  {2024, 5, 0, 0, 0, 0},   {2024, 4, 31, 0, 0, 0},
        {2023, 2, 29, 0, 0, 0}, {2100, 2, 29, 0, 0, 0}, {2024, 5, 6, 25, 0, 0},  {2024, 5, 6, 24, 0, 0},
        {2024, 5, 6, 0, 60, 0}, {2024, 5, 6, 0, 0, 60}, {2024, 5, 6, -1, 0, 0}, {1600, 12, 31, 23, 59, 59},
        {30828, 1, 1, 0, 0, 0},
    };
    for (const CalendarTime& t : bad)
        EXPECT_FALSE(FileTimeOf(t)) << t.year << "-" << t.month << "-" << t.day << " " << t.hour << ":" << t.minute
                                    << ":" << t.second;
    EXPECT_TRUE(FileTimeOf({2000, 2, 29, 23, 59, 59}));
    EXPECT_TRUE(FileTimeOf({30827, 12, 31, 23, 59, 59}));
}

}  // namespace
