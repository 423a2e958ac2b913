// A file loaded into the rings for review: what the rings, the review time and the title show
// after a load, after an open error, and after a load that gave up the previous file and failed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/WaveReview.h"

namespace {

struct FakeShell : app::ImportShell {
    files::FileImport next;
    bool releaseFirst = false;  // the read asks for memory once
    std::string title = "old";
    std::vector<std::string> told;
    int reviews = 0;

    files::FileImport ReadFile(const std::string&, bool, const files::SdConversion&,
                               const files::ImportOptions& options) override {
        if (releaseFirst) releaseFirst = !options.releaseMemory();
        return next;
    }
    bool HasMainWindow() const override { return true; }
    std::string Title() const override { return title; }
    void SetTitle(const std::string& t) override { title = t; }
    std::string ProgramTitle(const std::string& t) const override { return "P " + t; }
    void StartReview() override { ++reviews; }
    void Tell(const std::string& text) override { told.push_back(text); }
    void SetWaitCursor(bool) override {}
    uint32_t Now() const override { return 0; }
};

class Review : public ::testing::Test {
protected:
    Review() {
        settings.title = "T";
        for (WaveBuffer& ring : rings) ring.Adopt({1.0, 2.0});
    }
    app::ImportTarget Target() { return {settings, rings, holdFile, baseTime, [this] { return busy; }}; }

    Settings settings;
    WaveBuffer rings[3];
    bool holdFile = true;
    uint64_t baseTime = 77;
    bool busy = false;
    FakeShell shell;
};

TEST_F(Review, ALoadedFileFillsTheRingsAndNamesItselfInTheTitle) {
    shell.next.result.samples[0] = shell.next.result.samples[1] = shell.next.result.samples[2] = {1, 2, 3};
    shell.next.result.baseTime = 5;
    ASSERT_TRUE(app::ReviewWaveFile("d/a.csv", false, Target(), shell));
    EXPECT_EQ(rings[2].heldCount, 3);
    EXPECT_EQ(baseTime, 5u);
    EXPECT_NE(shell.title.find("a.csv"), std::string::npos);
    EXPECT_EQ(shell.reviews, 1);

    busy = true;
    EXPECT_FALSE(app::ReviewWaveFile("d/b.csv", false, Target(), shell)) << "a measurement's rings stay";
    EXPECT_EQ(shell.title.find("b.csv"), std::string::npos);
}

TEST_F(Review, AFailedLoadLeavesThePreviousFileUnlessItWasGivenUp) {
    shell.next.openError = files::FileErrorCause::FileNotFound;
    EXPECT_FALSE(app::ReviewWaveFile("d/x.csv", false, Target(), shell));
    EXPECT_EQ(shell.told, std::vector<std::string>{files::FileErrorText(files::FileErrorCause::FileNotFound, "d/x.csv")});
    EXPECT_EQ(rings[0].heldCount, 2);
    EXPECT_EQ(baseTime, 77u);
    EXPECT_EQ(shell.title, "old");

    shell.next = {};
    shell.next.result.status = files::ImportResult::Status::BufferError;
    shell.releaseFirst = true;
    EXPECT_FALSE(app::ReviewWaveFile("d/big.csv", false, Target(), shell));
    EXPECT_EQ(shell.told.back(), "FILE OPENREAD ERROR");
    EXPECT_EQ(rings[0].heldCount, 0);
    EXPECT_FALSE(holdFile);
    EXPECT_EQ(baseTime, 0u) << "the display no longer names the file given up";
    EXPECT_EQ(shell.title, "P T");
    EXPECT_EQ(shell.reviews, 1);
}

}  // namespace
