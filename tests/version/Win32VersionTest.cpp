// The platform side (Win32 tree only): this test program carries the program's version resource,
// so the lookup, the title and the version dialog read real data.
#ifdef _WIN32

#include "app/AboutDlg.h"
#include "app/VersionDialog.h"
#include "config/Win32Version.h"
#include "QuorvelVersion.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

TEST(Win32Version, OwnExecutableYieldsFileVersionAndCompany) {
    std::optional<version::VersionBlock> block = version::LoadVersionBlock(version::ModulePath());
    ASSERT_TRUE(block);
    EXPECT_EQ(block->translation.language, 0x0411);
    EXPECT_EQ(block->translation.codePage, 0x03a4);
    EXPECT_EQ(version::QueryVersionString(*block, "FileVersion"), QUORVEL_FILE_VERSION);
    EXPECT_EQ(version::QueryVersionString(*block, "CompanyName"), "Quorvel Sokki Works");
    EXPECT_EQ(version::QueryVersionString(*block, "NoSuchValue"), "");
    // Japanese text arrives as CP932 bytes, whole although it has more bytes than characters.
    EXPECT_EQ(version::QueryVersionString(*block, "FileDescription"), "振動波形解析プログラム");
}

TEST(Win32Version, FilesWithoutVersionResourceYieldNone) {
    EXPECT_FALSE(version::LoadVersionBlock("C:\\no\\such\\file.exe"));
    char folder[MAX_PATH];
    char path[MAX_PATH];
    ASSERT_NE(GetTempPathA(MAX_PATH, folder), 0u);
    ASSERT_NE(GetTempFileNameA(folder, "ver", 0, path), 0u);
    if (FILE* f = std::fopen(path, "wb")) {
        std::fputs("MZ not really a program", f);
        std::fclose(f);
    }
    EXPECT_FALSE(version::LoadVersionBlock(path));
    DeleteFileA(path);
}

TEST(Win32Version, MainTitleCarriesTheRunningProgramsVersion) {
    EXPECT_EQ(BuildMainTitle("OSKAMO 振動波形解析プログラム"), "OSKAMO 振動波形解析プログラム Ver " QUORVEL_FILE_VERSION " HELDRIC");
    EXPECT_EQ(BuildMainTitle(""), " Ver " QUORVEL_FILE_VERSION " HELDRIC");
}

TEST(Win32Version, VersionDialogShowsNameVersionCompanyAndDate) {
    // Opened modelessly so its fields can be read.
    CVersionDialog dialog;
    if (!dialog.Create(nullptr)) {
        HWND probe = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        if (!probe) GTEST_SKIP() << "no display to create a window on";
        DestroyWindow(probe);
        FAIL() << "the version dialog could not be created";
    }
    std::string name = version::ModulePath();
    name = name.substr(name.find_last_of("\\/") + 1);
    EXPECT_EQ(dialog.ItemText(IDC_VERSION_FILENAME), name);
    EXPECT_EQ(dialog.ItemText(IDC_VERSION_FILEVERSION), QUORVEL_FILE_VERSION);
    EXPECT_EQ(dialog.ItemText(IDC_VERSION_COMPANY), "Quorvel Sokki Works");
    const std::string date = dialog.ItemText(IDC_VERSION_FILEDATE);
    ASSERT_EQ(date.size(), 19u) << date;
    EXPECT_EQ(date[4], '.');
    EXPECT_EQ(date[10], '-');
    char caption[64] = "";
    GetWindowTextA(dialog.Handle(), caption, sizeof caption);
    EXPECT_STREQ(caption, "バージョン情報");
    RECT client{};
    GetClientRect(dialog.Handle(), &client);
    RECT units{0, 0, 217, 97};
    MapDialogRect(dialog.Handle(), &units);
    EXPECT_EQ(client.right, units.right);
    EXPECT_EQ(client.bottom, units.bottom);
    dialog.Destroy();
}

TEST(Win32Version, AboutBoxOpensWithItsOkButton) {
    CAboutDlg about;
    if (!about.Create(nullptr)) {
        HWND probe = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        if (!probe) GTEST_SKIP() << "no display to create a window on";
        DestroyWindow(probe);
        FAIL() << "the About box could not be created";
    }
    EXPECT_TRUE(about.Item(IDOK));
    char caption[64] = "";
    GetWindowTextA(about.Handle(), caption, sizeof caption);
    EXPECT_STREQ(caption, "バージョン情報 Quorvel");
    about.Destroy();
}

// The manifest travels with the version resource: without it Windows would run the program under
// installer detection and file virtualisation; visual styles or DPI awareness would change every
// pixel layout.
TEST(Win32Version, ManifestAsksForInvokerRightsOnly) {
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    ASSERT_TRUE(found) << "no application manifest";
    const char* data = static_cast<const char*>(LockResource(LoadResource(nullptr, found)));
    ASSERT_TRUE(data);
    const std::string xml(data, SizeofResource(nullptr, found));
    EXPECT_NE(xml.find("level=\"asInvoker\""), std::string::npos);
    EXPECT_NE(xml.find("{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"), std::string::npos) << "Windows 10 and 11";
    EXPECT_EQ(xml.find("Common-Controls"), std::string::npos);
    EXPECT_EQ(xml.find("dpiAware"), std::string::npos);  // dpiAwareness too
}

}  // namespace

#endif
