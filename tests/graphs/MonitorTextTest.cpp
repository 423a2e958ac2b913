// The time monitor's value texts, time labels and scroll moves.
#include <gtest/gtest.h>

#include "graphs/MonitorText.h"

using graphs::FormatValue6;

TEST(FormatValue6, EdgesOfEveryRange) {
    EXPECT_EQ(FormatValue6(999.96), " 1000.");
    EXPECT_EQ(FormatValue6(1234.4), " 1234.");
    EXPECT_EQ(FormatValue6(-12.34), " -12.3");
    EXPECT_EQ(FormatValue6(12.34), "  12.3");
    EXPECT_EQ(FormatValue6(0.0), "   0.0");
    EXPECT_EQ(FormatValue6(999.94), " 999.9");
    EXPECT_EQ(FormatValue6(9999.5), " 10000");
    EXPECT_EQ(FormatValue6(999999.4), "999999");
    EXPECT_EQ(FormatValue6(999999.5), "*Over*");
    EXPECT_EQ(FormatValue6(1000000), "*Over*");
    EXPECT_EQ(FormatValue6(-999.5), "-999.5");
    EXPECT_EQ(FormatValue6(-1234.4), "-1234.");
    EXPECT_EQ(FormatValue6(-12345), "-12345");
    EXPECT_EQ(FormatValue6(-99999.4), "-99999");
    EXPECT_EQ(FormatValue6(-99999.5), "*over*");  // would print as −100000 and be cut to −10000
    EXPECT_EQ(FormatValue6(-100000), "*over*");
}

TEST(FieldText, TwelveBitValuesAreTruncatedIntegers) {
    EXPECT_EQ(graphs::FieldText(-3.9, 12), "-3");
    EXPECT_EQ(graphs::FieldText(3.9, 12), "3");
    EXPECT_EQ(graphs::FieldText(1e300, 12), "2147483647");
    EXPECT_EQ(graphs::FieldText(-3.9, 16), "  -3.9");
}

TEST(TimeLabels, OnlyThoseThatFitBetweenTheEnds) {
    // 1000 pixels from x = 50: 0.1 px per ms over 10 s.
    auto at = [](double seconds, double plotMs) {
        return [seconds, plotMs](double ms) { return static_cast<int>(ms * 1000.0 / plotMs); };
    };
    const int x0 = 50, left = 100, right = 1000;
    EXPECT_TRUE(graphs::TimeLabels(5.0, x0, left, right, at(5.0, 5000)).empty());
    auto ten = graphs::TimeLabels(10.0, x0, left, right, at(10.0, 10000));
    ASSERT_EQ(ten.size(), 1u);
    EXPECT_EQ(ten[0].x, 540);
    EXPECT_EQ(ten[0].text, "5.0");
    auto twenty = graphs::TimeLabels(20.0, x0, left, right, at(20.0, 20000));
    ASSERT_EQ(twenty.size(), 3u);
    EXPECT_EQ(twenty[2].text, "15.0");
    // One hour on the same width: labels 35 pixels apart at least, none past the right end.
    auto hour = graphs::TimeLabels(3600.0, x0, left, right, at(3600.0, 3600000));
    for (size_t i = 1; i < hour.size(); ++i) EXPECT_GE(hour[i].x - hour[i - 1].x, 35);
    EXPECT_LT(hour.back().x + 35, right);
    EXPECT_GT(hour.front().x, left);
}

TEST(ScrollTarget, CodesOfTheScrollBar) {
    EXPECT_EQ(graphs::ScrollTarget(graphs::kLineLeft, 10, 0, 50, 7), 9);
    EXPECT_EQ(graphs::ScrollTarget(graphs::kLineRight, 10, 0, 50, 7), 11);
    EXPECT_EQ(graphs::ScrollTarget(graphs::kPageLeft, 10, 0, 50, 7), 3);
    EXPECT_EQ(graphs::ScrollTarget(graphs::kPageRight, 10, 0, 50, 7), 17);
    EXPECT_EQ(graphs::ScrollTarget(graphs::kThumbTrack, 10, 33, 50, 7), 33);
    EXPECT_EQ(graphs::ScrollTarget(graphs::kLeft, 10, 0, 50, 7), 0);
    EXPECT_EQ(graphs::ScrollTarget(graphs::kRight, 10, 0, 50, 7), 50);
    EXPECT_FALSE(graphs::ScrollTarget(graphs::kThumbPosition, 10, 33, 50, 7).has_value());
    EXPECT_FALSE(graphs::ScrollTarget(graphs::kEndScroll, 10, 0, 50, 7).has_value());
}

TEST(PsdTexts, FrequencyAndValueFields) {
    // Non-zero frequencies take the low-pass field's six-character rule (LowPassText); zero is a number here.
    EXPECT_EQ(graphs::FormatHz(0.125), " 0.125");
    EXPECT_EQ(graphs::FormatHz(0), "   0.0");
    EXPECT_EQ(graphs::FormatPsdValue(9.96), "  10.0");
    EXPECT_EQ(graphs::FormatPsdValue(1234.56), "1234.6");
    EXPECT_EQ(graphs::FormatPsdValue(123456.7), "123456");
}
