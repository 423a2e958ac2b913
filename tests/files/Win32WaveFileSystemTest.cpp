// The writer on the real Windows file system (Windows builds only; run under Wine): sharing,
// appending to an existing file, folders that exist already.
#ifdef _WIN32
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "files/Win32WaveFileSystem.h"

namespace {

std::string TempFolder() {
    char base[MAX_PATH];
    GetTempPathA(sizeof base, base);
    std::string folder = std::string(base) + "quorvel-wave-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

std::string ReadAll(const std::string& path) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    if (h == INVALID_HANDLE_VALUE) return "<unreadable>";
    std::string text(GetFileSize(h, nullptr), '\0');
    DWORD read = 0;
    if (!text.empty()) ReadFile(h, &text[0], static_cast<DWORD>(text.size()), &read, nullptr);
    CloseHandle(h);
    return text;
}

}  // namespace

TEST(Win32WaveFileSystem, AppendsNeverTruncatesAndRefusesASecondWriter) {
    files::Win32WaveFileSystem fs;
    const std::string folder = TempFolder();
    const std::string path = folder + "\\wave.csv";
    {
        auto first = fs.OpenForAppend(path);
        ASSERT_TRUE(first);
        ASSERT_TRUE(first->Append("a\r\n", 3));
        EXPECT_EQ(fs.OpenForAppend(path), nullptr);  // write access is not shared
        EXPECT_EQ(ReadAll(path), "a\r\n");           // reading is
    }
    {
        auto again = fs.OpenForAppend(path);
        ASSERT_TRUE(again);
        ASSERT_TRUE(again->Append("b\r\n", 3));
    }
    EXPECT_EQ(ReadAll(path), "a\r\nb\r\n");

    const std::string sub = folder + "\\Trig.dt";
    EXPECT_EQ(fs.CreateFolder(sub), files::WaveFileSystem::FolderResult::Created);
    EXPECT_EQ(fs.CreateFolder(sub), files::WaveFileSystem::FolderResult::Existed);
    EXPECT_EQ(fs.CreateFolder(folder + "\\missing\\Trig.dt"), files::WaveFileSystem::FolderResult::Failed);
    EXPECT_EQ(fs.OpenForAppend(folder + "\\missing\\x.csv"), nullptr);

    const files::WaveClock now = fs.LocalNow();
    EXPECT_GE(now.year, 2024);
    DeleteFileA(path.c_str());
    RemoveDirectoryA(sub.c_str());
    RemoveDirectoryA(folder.c_str());
}
#endif
