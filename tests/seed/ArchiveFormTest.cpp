// The miniSEED dialog's controls: the settings shown, codes that cannot be used named, and OK
// taking the form over and marking it to be written.
#include <gtest/gtest.h>

#include "common/FakeDialogItems.h"
#include "resources/SeedResource.h"
#include "seed/ArchiveForm.h"

namespace {

TEST(ArchiveForm, ShownCodesComeBackAndOkMarksTheSettingsToBeWritten) {
    testing_ui::FakeDialogItems items;
    seed::ArchiveSettings settings;
    settings.codes.station = "KOBE";
    seed::ShowArchiveForm(items, settings, true);
    EXPECT_FALSE(items.enabled[IDC_SEED_EXPORT]) << "no export while measuring";
    seed::CodesRead read = seed::ReadArchiveCodes(items);
    EXPECT_FALSE(read.problem);
    EXPECT_EQ(read.codes.station, "KOBE");
    EXPECT_EQ(read.codes.channels, settings.codes.channels);

    items.text[IDC_SEED_CHANNEL_Y] = "H?";
    EXPECT_TRUE(seed::ReadArchiveCodes(items).problem);

    items.checked[IDC_SEED_ARCHIVE] = true;
    items.text[IDC_SEED_ROOT] = "D:\\SDS";
    seed::TakeArchiveForm(items, read.codes, settings);
    EXPECT_EQ(settings.enabled, 1);
    EXPECT_EQ(settings.root, "D:\\SDS");
    EXPECT_TRUE(settings.stored);
}

}  // namespace
