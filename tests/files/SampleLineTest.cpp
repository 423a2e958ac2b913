// Sample values come out exactly as the C library's "%f" writes them.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>

#include "files/SampleLine.h"

namespace {

std::string Ours(double v) {
    char text[files::kFixedMaxChars];
    return std::string(text, files::FormatFixed(text, v));
}

std::string Printf(double v) {
    char text[files::kFixedMaxChars + 8];
    std::snprintf(text, sizeof text, "%f", v);
    return text;
}

uint64_t Next(uint64_t& s) {
    s ^= s << 13;
    s ^= s >> 7;
    s ^= s << 17;
    return s;
}

}  // namespace

TEST(FormatFixed, MatchesPrintfOnTiesSignsAndMagnitudes) {
    // Exact ties at the seventh decimal (odd multiples of 2^-7), values just either side of a
    // tie, negative zero, rounding to zero from below, and the extremes of the double range.
    const double values[] = {0.0078125, -0.0078125, 0.0234375, 1.0078125, 2.5e-7, 5e-7, -5e-7, 4.9999999e-7,
                             -0.0, 0.0, -1e-9, 0.9999995, 9.9999995, 999999.9999995, 123456789.0000005,
                             1234.5, -0.5, 1e15, -1e22, 1e300, -std::numeric_limits<double>::max(),
                             std::numeric_limits<double>::min(), std::numeric_limits<double>::denorm_min(),
                             std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()};
    for (double v : values) EXPECT_EQ(Ours(v), Printf(v)) << "bits of " << v;
}

TEST(FormatFixed, MatchesPrintfOnManyValues) {
    uint64_t s = 0x9E3779B97F4A7C15ull;
    int mismatches = 0;
    for (int i = 0; i < 300000 && mismatches < 5; ++i) {
        double v;
        switch (i % 4) {
        case 0:  // AD counts times a conversion factor, as the recorder's samples are
            v = static_cast<double>(static_cast<int32_t>(Next(s) % 65536) - 32768) * 0.0123;
            break;
        case 1:  // binary fractions with few bits: many exact ties
            v = static_cast<double>(static_cast<int64_t>(Next(s) % 2000001) - 1000000) / 128.0 /
                static_cast<double>(1u << (Next(s) % 20));
            break;
        case 2: {  // any finite bit pattern of moderate size
            uint64_t bits = Next(s);
            std::memcpy(&v, &bits, sizeof v);
            if (!std::isfinite(v) || std::fabs(v) > 1e40) v = std::ldexp(static_cast<double>(bits >> 11), -40);
            break;
        }
        default:  // near a rounding boundary of the sixth decimal
            v = static_cast<double>(static_cast<int64_t>(Next(s) % 20000000) - 10000000) / 1e6 + 5e-7;
            break;
        }
        const std::string ours = Ours(v);
        const std::string printed = Printf(v);
        if (ours != printed) {
            ++mismatches;
            ADD_FAILURE() << "ours " << ours << " printf " << printed;
        }
    }
}

TEST(FormatSampleLine, ThreeValuesWithCommasAndCrLf) {
    char line[files::kSampleLineMaxChars];
    char* end = files::FormatSampleLine(line, -0.5, 1234.5, 0.0);
    EXPECT_EQ(std::string(line, end), "-0.500000,1234.500000,0.000000\r\n");
    const double big = -std::numeric_limits<double>::max();
    end = files::FormatSampleLine(line, big, big, big);
    EXPECT_EQ(std::string(line, end), Printf(big) + "," + Printf(big) + "," + Printf(big) + "\r\n");
}
