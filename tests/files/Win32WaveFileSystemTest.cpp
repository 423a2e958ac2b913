// The writer on the real Windows file system (Windows builds only; run under Wine): sharing,
// appending to an existing file, a first file only where none exists, folders that exist already.
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

    // A first file: never one that exists or that our own writer holds; a name held by another
    // program, or a folder of that name, cannot be opened at all.
    const std::string fresh = folder + "\\new.csv";
    {
        auto created = fs.OpenNew(fresh);
        ASSERT_TRUE(created.file);
        EXPECT_TRUE(fs.OpenNew(fresh).taken);
    }
    EXPECT_TRUE(fs.OpenNew(path).taken);
    EXPECT_EQ(ReadAll(path), "a\r\nb\r\n");
    HANDLE other = CreateFileA(fresh.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    auto locked = fs.OpenNew(fresh), folderName = fs.OpenNew(sub);
    EXPECT_TRUE(!locked.taken && !locked.file && !folderName.taken && !folderName.file);
    CloseHandle(other);

    const files::WaveClock now = fs.LocalNow();
    EXPECT_GE(now.year, 2024);
    DeleteFileA(path.c_str());
    DeleteFileA(fresh.c_str());
    RemoveDirectoryA(sub.c_str());
    RemoveDirectoryA(folder.c_str());
}
#endif
