// FormatSignificant: the number-to-text rule of the INI file and of the displays.
#include "config/FormatSignificant.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>

namespace {

struct Case {
    double value;
    int digits;
    const char* text;
};

class FormatSignificantCases : public ::testing::TestWithParam<Case> {};

TEST_P(FormatSignificantCases, GivesTheDocumentedText) {
    const Case& c = GetParam();
    EXPECT_EQ(FormatSignificant(c.value, c.digits), c.text) << c.value << " with " << c.digits;
}

INSTANTIATE_TEST_SUITE_P(
    FifteenDigits, FormatSignificantCases,
    ::testing::Values(Case{0.0, 15, "0.0"}, Case{-0.0, 15, "0.0"}, Case{1, 15, "1.0"},
                      Case{100, 15, "100.0"}, Case{999, 15, "999.0"}, Case{0.5, 15, "0.5"},
                      Case{0.125, 15, "0.125"}, Case{0.05, 15, "0.05"},
                      Case{2000.5, 15, "2000.5"}, Case{0.00001, 15, "1.0e-5"},
                      Case{1e20, 15, "1.0e+20"}, Case{-2.5, 15, "-2.5"},
                      // the fixed-point branch keeps digits - e decimals, then drops zeros
                      Case{0.1, 15, "0.1"}, Case{0.0002, 15, "0.0002"}, Case{-0.05, 15, "-0.05"},
                      Case{0.0001, 15, "1.0e-4"}, Case{1.5e-7, 15, "1.5e-7"},
                      // 15 significant digits: the 16th rounds
                      Case{1.0 / 3.0, 15, "0.333333333333333"}, Case{1e15, 15, "1.0e+15"},
                      Case{999999999999999.0, 15, "999999999999999.0"},
                      Case{0.30000000000000004, 15, "0.3"}, Case{2.5e300, 15, "2.5e+300"},
                      Case{-1e-100, 15, "-1.0e-100"}, Case{1e100, 15, "1.0e+100"}));

INSTANTIATE_TEST_SUITE_P(
    DisplayDigits, FormatSignificantCases,
    ::testing::Values(Case{100, 6, "100.0"}, Case{0.125, 6, "0.125"}, Case{0.05, 6, "0.05"},
                      Case{1.0 / 3.0, 6, "0.333333"}, Case{123456, 6, "123456.0"},
                      Case{1234567, 6, "1.23457e+6"}, Case{9.9999999, 6, "10.0"},
                      Case{100, 4, "100.0"}, Case{0.125, 4, "0.125"}, Case{3.14159, 4, "3.142"},
                      Case{12345.6, 4, "1.235e+4"}, Case{9999.6, 4, "1.0e+4"},
                      Case{0.000123456, 4, "0.0001235"}, Case{0.5, 4, "0.5"}));

TEST(FormatSignificant, PowersOfTenTakeTheSameBranchInEveryBuild) {
    EXPECT_EQ(FormatSignificant(std::nextafter(0.1, 1.0), 15), "0.1");
    EXPECT_EQ(FormatSignificant(0.001, 15), "0.001");
    EXPECT_EQ(FormatSignificant(std::nextafter(0.0001, 1.0), 15), "1.0e-4");
    EXPECT_EQ(FormatSignificant(std::nextafter(0.0001, 0.0), 15), "1.0e-4");
    EXPECT_EQ(FormatSignificant(1000.0, 15), "1000.0");
    EXPECT_EQ(FormatSignificant(1e14, 15), "100000000000000.0");
}

TEST(FormatSignificant, NonFiniteValuesGiveWordsInsteadOfUndefinedBehaviour) {
    EXPECT_EQ(FormatSignificant(std::numeric_limits<double>::infinity(), 15), "inf");
    EXPECT_EQ(FormatSignificant(-std::numeric_limits<double>::infinity(), 15), "-inf");
    EXPECT_EQ(FormatSignificant(std::nan(""), 15), "nan");
}

TEST(FormatSignificant, FifteenDigitsReadBackToTheSameDouble) {
    std::srand(7);
    for (int i = 0; i < 2000; ++i) {
        double mantissa = (std::rand() % 1000000) / 1000.0 + 0.001;
        double value = mantissa * std::pow(10.0, std::rand() % 20 - 10);
        std::string text = FormatSignificant(value, 15);
        double back = std::strtod(text.c_str(), nullptr);
        EXPECT_NEAR(back, value, std::fabs(value) * 1e-14) << text;
        EXPECT_NE(text.find('.'), std::string::npos) << text;
        EXPECT_NE(text.back(), '.') << text;
    }
}

}  // namespace
