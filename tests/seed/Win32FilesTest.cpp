// The archive's Win32 files under Wine: folders made on the way, appends, the tail, pending files
// that appear only when committed.
#ifdef _WIN32
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "seed/Win32ArchiveFiles.h"

namespace {

std::string TempFolder() {
    char base[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, base);
    return std::string(base) + "quorvel-seed-" + std::to_string(GetCurrentProcessId());
}

TEST(Win32ArchiveFiles, AppendsThroughNewFoldersAndCommitsWholeFilesOnly) {
    seed::Win32ArchiveFiles files;
    const std::string root = TempFolder();
    const std::string day = root + "\\2024\\XX\\QRV01\\HNZ.D\\XX.QRV01.00.HNZ.D.2024.127";
    const uint8_t a[4] = {'a', 'b', 'c', 'd'}, b[4] = {'e', 'f', 'g', 'h'};
    ASSERT_EQ(files.Append(day, a, 4), seed::FileResult::Ok);
    ASSERT_EQ(files.Append(day, b, 4), seed::FileResult::Ok);
    uint8_t tail[6] = {};
    ASSERT_TRUE(files.ReadTail(day, tail, 6));
    EXPECT_EQ(std::string(reinterpret_cast<char*>(tail), 6), "cdefgh");
    EXPECT_FALSE(files.ReadTail(day, tail, 9)) << "shorter than asked";
    EXPECT_TRUE(files.Exists(day));
    EXPECT_FALSE(files.Exists(root + "\\2024"));

    const std::string out = root + "\\x.mseed";
    {
        auto pending = files.Create(out);
        ASSERT_TRUE(pending);
        ASSERT_TRUE(pending->Write(a, 4));
    }  // dropped without Commit
    EXPECT_FALSE(files.Exists(out));
    EXPECT_FALSE(files.Exists(out + ".part"));
    auto pending = files.Create(out);
    ASSERT_TRUE(pending && pending->Write(b, 4) && pending->Commit());
    EXPECT_TRUE(files.Exists(out));
    EXPECT_FALSE(files.Exists(out + ".part"));
    // A folder where the file should be: the append cannot open it.
    ASSERT_TRUE(files.MakeFolders(root + "\\taken"));
    EXPECT_EQ(files.Append(root + "\\taken", a, 4), seed::FileResult::OpenFailed);

    DeleteFileA(day.c_str());
    DeleteFileA(out.c_str());
    for (const char* f : {"\\2024\\XX\\QRV01\\HNZ.D", "\\2024\\XX\\QRV01", "\\2024\\XX", "\\2024", "\\taken", ""}) {
        RemoveDirectoryA((root + f).c_str());
    }
}

}  // namespace
#endif
