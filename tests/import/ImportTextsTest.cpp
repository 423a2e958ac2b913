// The texts the operator sees around an import: dialog filter, titles, file-error messages.
#include "files/ImportTexts.h"

#include <gtest/gtest.h>

#include "files/FileErrorText.h"

namespace {

TEST(ImportTexts, FilterTitleAndErrorTexts) {
    using namespace std::string_literals;
    EXPECT_EQ(files::ImportFilter("読み込みファイル", "csv"),
              "読み込みファイル (*.csv)\0*.csv\0全てのファイル (*.*)\0*.*\0\0"s);
    // "ポ" ends in the byte of "|": it must stay a whole character.
    EXPECT_EQ(files::ImportFilter("ポ", "txt"), "ポ (*.txt)\0*.txt\0全てのファイル (*.*)\0*.*\0\0"s);

    EXPECT_EQ(files::ImportedTitle("振動 Ver 1.0 HELDRIC", "C:\\data\\a.csv"), "振動 Ver 1.0 HELDRIC [C:\\data\\a.csv]");
    EXPECT_EQ(files::ImportProgressTitle("T [x]", 45), "T [x] 読み込み中 45%");

    EXPECT_EQ(files::FileErrorText(files::FileErrorCause::FileNotFound, "C:\\a.csv"), "C:\\a.csv が見つかりませんでした。");
    EXPECT_EQ(files::FileErrorText(files::FileErrorCause::SharingViolation, "%1.csv"),
              "%1.csv へのアクセス中に共有違反が発生しました。");
    EXPECT_EQ(files::FileErrorText(files::FileErrorCause::None, "x"), "エラーはありませんでした。");
}

}  // namespace
