// The archive's INI keys: nothing written with default settings, everything once set, codes that
// could not go into a record header replaced on load.
#include <gtest/gtest.h>

#include "config/FileProfileStore.h"
#include "seed/ArchiveSettings.h"

namespace {

TEST(ArchiveSettings, DefaultsWriteNothingAndSetKeysComeBack) {
    FileProfileStore store = FileProfileStore::FromText("[SPEC]\r\nCOM=COM3\r\n");
    seed::ArchiveSettings s;
    seed::LoadArchiveSettings(store, s);
    EXPECT_FALSE(s.stored);
    EXPECT_EQ(s.enabled, 0);
    seed::SaveArchiveSettings(store, s);
    EXPECT_EQ(store.Text(), "[SPEC]\r\nCOM=COM3\r\n");

    s.stored = true;  // the dialog's OK
    s.enabled = 1;
    s.root = "D:\\arc";
    s.codes.station = "AB12";
    s.codes.location = "";
    seed::SaveArchiveSettings(store, s);
    seed::ArchiveSettings back;
    seed::LoadArchiveSettings(store, back);
    EXPECT_TRUE(back.stored);
    EXPECT_EQ(back.enabled, 1);
    EXPECT_EQ(back.root, "D:\\arc");
    EXPECT_EQ(back.codes.station, "AB12");
    EXPECT_EQ(back.codes.location, "");
    EXPECT_EQ(back.codes.channels[2], "HNZ");
    EXPECT_EQ(seed::ArchiveRoot(back, "C:\\data"), "D:\\arc");
    back.root.clear();
    EXPECT_EQ(seed::ArchiveRoot(back, "C:\\data"), "C:\\data\\SDS");
}

TEST(ArchiveSettings, CodesThatCannotGoIntoAHeaderAreRefusedOrReplaced) {
    FileProfileStore store =
        FileProfileStore::FromText("[MSEED]\r\nNETWORK=xx\r\nSTATION=TOOLONG\r\nLOCATION=0\r\nCHANNEL_X=HNZ\r\n");
    seed::ArchiveSettings s;
    seed::LoadArchiveSettings(store, s);
    EXPECT_EQ(s.codes.network, "XX");
    EXPECT_EQ(s.codes.station, "QRV01");
    EXPECT_EQ(s.codes.location, "0");
    EXPECT_EQ(s.codes.channels, (std::array<std::string, 3>{{"HNE", "HNN", "HNZ"}})) << "X and Z on one channel";

    seed::ArchiveCodes c;
    EXPECT_FALSE(seed::CodeProblem(c));
    c.station = "A B";
    EXPECT_TRUE(seed::CodeProblem(c));
    c = {};
    c.channels[1] = "HN";
    EXPECT_TRUE(seed::CodeProblem(c));
    c = {};
    c.network = "";
    EXPECT_TRUE(seed::CodeProblem(c));
}

}  // namespace
