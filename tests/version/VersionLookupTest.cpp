// The version string search over a fake block: first translation, fallback order, probe count,
// the title rule and the file-date text.
#include "config/Version.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace {

// A fake block: the paths it holds, and every path it was asked for in order.
struct FakeBlock {
    std::map<std::string, std::string> values;
    std::vector<std::string> probes;

    version::ValueQuery Query() {
        return [this](const std::string& path) -> std::optional<std::string> {
            probes.push_back(path);
            auto it = values.find(path);
            if (it == values.end()) return std::nullopt;
            return it->second;
        };
    }
};

TEST(VersionLookup, PathHasLowerCaseFourDigitHex) {
    EXPECT_EQ(version::StringValuePath({0x0411, 0x03a4}, "FileVersion"), "\\StringFileInfo\\041103a4\\FileVersion");
    EXPECT_EQ(version::StringValuePath({0x0C0C, 0x04B0}, "CompanyName"), "\\StringFileInfo\\0c0c04b0\\CompanyName");
    EXPECT_EQ(version::StringValuePath({0, 0}, "X"), "\\StringFileInfo\\00000000\\X");
}

TEST(VersionLookup, FirstTranslationHitIsTheOnlyProbe) {
    FakeBlock block;
    block.values["\\StringFileInfo\\041103a4\\FileVersion"] = "2.1.0.0";
    block.values["\\StringFileInfo\\04010000\\FileVersion"] = "9.9.9.9";  // would be the first fallback
    EXPECT_EQ(version::QueryVersionString(block.Query(), {0x0411, 0x03a4}, "FileVersion"), "2.1.0.0");
    EXPECT_EQ(block.probes.size(), 1u);
}

TEST(VersionLookup, FallbackFindsAValueTheFirstTranslationLacks) {
    FakeBlock block;
    block.values["\\StringFileInfo\\040904b0\\CompanyName"] = "Example";
    EXPECT_EQ(version::QueryVersionString(block.Query(), {0x0411, 0x03a4}, "CompanyName"), "Example");
    // First translation, then code pages 0000, 03a4, 03b5, 03b6 fully (4 x 45), then 0401..0409 of 04b0.
    EXPECT_EQ(block.probes.size(), 1u + 4 * 45 + 9);
}

TEST(VersionLookup, CodePageIsTheOuterLoop) {
    FakeBlock block;
    // Earlier code page with the last language, and a later code page with the first language:
    // the earlier code page wins although its language comes last in the list.
    block.values["\\StringFileInfo\\100c03b5\\FileVersion"] = "early code page";
    block.values["\\StringFileInfo\\040104e8\\FileVersion"] = "late code page";
    EXPECT_EQ(version::QueryVersionString(block.Query(), {0x0407, 0x04e4}, "FileVersion"), "early code page");
}

TEST(VersionLookup, LatePairComesAfterEveryEarlierPairInListOrder) {
    FakeBlock block;
    block.values["\\StringFileInfo\\0c0c04e8\\FileVersion"] = "last but one";
    EXPECT_EQ(version::QueryVersionString(block.Query(), {0x0411, 0x03a4}, "FileVersion"), "last but one");
    ASSERT_EQ(block.probes.size(), 1u + 11 * 45 + 44);
    // After the first: languages 0401 … 0421, 0804 … 100c under code page 0000, then under 03a4, …
    for (const auto& [i, path] : std::map<std::size_t, const char*>{
             {1, "04010000"}, {33, "04210000"}, {34, "08040000"}, {45, "100c0000"}, {46, "040103a4"},
             {1 + 4 * 45, "040104b0"}, {1 + 11 * 45, "040104e8"}, {11 * 45 + 44, "0c0c04e8"}})
        EXPECT_EQ(block.probes[i], "\\StringFileInfo\\" + std::string(path) + "\\FileVersion") << i;
}

TEST(VersionLookup, NothingFoundIsEmptyAfterExactly540FallbackProbes) {
    FakeBlock block;
    block.values["\\StringFileInfo\\041103a4\\CompanyName"] = "another name";
    EXPECT_EQ(version::QueryVersionString(block.Query(), {0x0411, 0x03a4}, "FileVersion"), "");
    EXPECT_EQ(block.probes.size(), 1u + 540);
}

TEST(VersionLookup, FallbackListsHoldTheDocumentedEntries) {
    EXPECT_EQ(version::kFallbackCodePages.front(), 0x0000);
    EXPECT_EQ(version::kFallbackCodePages[4], 0x04b0);
    EXPECT_EQ(version::kFallbackCodePages.back(), 0x04e8);
    // 0401 .. 0421 without a gap, then the twelve sub-language ids.
    for (int i = 0; i < 33; ++i) EXPECT_EQ(version::kFallbackLanguages[i], 0x0401 + i);
    EXPECT_EQ(version::kFallbackLanguages[33], 0x0804);
    EXPECT_EQ(version::kFallbackLanguages.back(), 0x100c);
}

TEST(VersionLookup, EmptyValueStillCountsAsFound) {
    FakeBlock block;
    block.values["\\StringFileInfo\\041103a4\\FileVersion"] = "";
    block.values["\\StringFileInfo\\04010000\\FileVersion"] = "1.0";
    EXPECT_EQ(version::QueryVersionString(block.Query(), {0x0411, 0x03a4}, "FileVersion"), "");
    EXPECT_EQ(block.probes.size(), 1u);
}

TEST(VersionLookup, OverlongValueIsCutToTheBuffer) {
    FakeBlock block;
    block.values["\\StringFileInfo\\041103a4\\CompanyName"] = std::string(1000, 'c');
    EXPECT_EQ(version::QueryVersionString(block.Query(), {0x0411, 0x03a4}, "CompanyName"),
              std::string(version::kMaxValueLength, 'c'));
}

TEST(MainTitle, TitleBlankVersionTextBlankHeldric) {
    EXPECT_EQ(version::MainTitle("OSKAMO 振動波形解析プログラム", std::string("2.1.0.0")),
              "OSKAMO 振動波形解析プログラム Ver 2.1.0.0 HELDRIC");
    EXPECT_EQ(version::MainTitle("OSKAMO 振動波形解析プログラム", std::nullopt),  // no version block
              "OSKAMO 振動波形解析プログラム  HELDRIC");
    EXPECT_EQ(version::MainTitle("T", std::string()), "T Ver  HELDRIC");  // a block without the value
    EXPECT_EQ(version::MainTitle("", std::string("1.0.0.0")), " Ver 1.0.0.0 HELDRIC");
}

TEST(FileDate, PadsEveryFieldButTheYear) {
    EXPECT_EQ(version::FormatFileDate(2024, 1, 5, 9, 7, 3), "2024.01.05-09.07.03");
    EXPECT_EQ(version::FormatFileDate(2026, 12, 31, 23, 59, 58), "2026.12.31-23.59.58");
    EXPECT_EQ(version::FormatFileDate(999, 1, 1, 0, 0, 0), " 999.01.01-00.00.00");
}

}  // namespace
