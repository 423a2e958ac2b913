// The INI file follows the current folder and the program's base name.
#include <gtest/gtest.h>

#include "app/IniPath.h"

namespace app {
namespace {

TEST(IniPath, CurrentFolderAndModuleBaseName) {
    EXPECT_EQ(MakeIniPath("C:\\work", "C:\\Program Files\\Quorvel\\Quorvel.exe"), "C:\\work\\Quorvel.ini");
    EXPECT_EQ(MakeIniPath("D:\\data", "Z:/opt/q/Renamed.EXE"), "D:\\data\\Renamed.ini");
}

TEST(IniPath, OnlyTheLastExtensionGoesAndBareNamesWork) {
    EXPECT_EQ(MakeIniPath("C:\\w", "C:\\x\\my.tool.exe"), "C:\\w\\my.tool.ini");
    EXPECT_EQ(MakeIniPath("C:\\w", "Quorvel"), "C:\\w\\Quorvel.ini");
    EXPECT_EQ(MakeIniPath("C:\\w", "C:Quorvel.exe"), "C:\\w\\Quorvel.ini");
    EXPECT_EQ(MakeIniPath("C:\\w", ""), "C:\\w\\.ini");
}

TEST(IniPath, DotsInFoldersAreNotExtensions) {
    EXPECT_EQ(MakeIniPath("C:\\w", "C:\\v1.2\\Quorvel"), "C:\\w\\Quorvel.ini");
}

}  // namespace
}  // namespace app
