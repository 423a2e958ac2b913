// The import on Windows (Win32 tree only): the time conversion agrees with the platform's, and
// real files are read through the Win32 source with the sharing and error rules.
#ifdef _WIN32

#include "files/Win32ImportFile.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "files/ImportFields.h"

namespace {

using files::FileErrorCause;
using files::FileImport;
using files::ImportResult;

TEST(Win32Import, FileTimesAgreeWithThePlatform) {
    const int years[] = {1601, 1602, 1900, 1999, 2000, 2001, 2004, 2024, 2099, 2100, 2400, 9999, 30827};
    const int clocks[][3] = {{0, 0, 0}, {23, 59, 59}, {12, 34, 56}, {24, 0, 0}, {0, 60, 0}, {0, 0, 60}};
    for (int year : years)
        for (int month = 0; month <= 13; ++month)
            for (int day = 0; day <= 32; ++day)
                for (const auto& clock : clocks) {
                    const files::CalendarTime t{year, month, day, clock[0], clock[1], clock[2]};
                    SYSTEMTIME st{};
                    st.wYear = static_cast<WORD>(t.year);
                    st.wMonth = static_cast<WORD>(t.month);
                    st.wDay = static_cast<WORD>(t.day);
                    st.wHour = static_cast<WORD>(t.hour);
                    st.wMinute = static_cast<WORD>(t.minute);
                    st.wSecond = static_cast<WORD>(t.second);
                    FILETIME ft{};
                    const bool platform = SystemTimeToFileTime(&st, &ft) != 0;
                    const auto ours = files::FileTimeOf(t);
                    // Wine (not Windows) takes 29 February of any year.
                    const bool wineLenient = platform && !ours && month == 2 && day == 29;
                    if (wineLenient) continue;
                    ASSERT_EQ(ours.has_value(), platform)
                        << year << "-" << month << "-" << day << " " << clock[0] << ":" << clock[1] << ":" << clock[2];
                    if (platform) {
                        ASSERT_EQ(*ours, (uint64_t{ft.dwHighDateTime} << 32) | ft.dwLowDateTime);
                    }
                }
}

class TempFile {
public:
    explicit TempFile(const std::string& bytes) {
        char dir[MAX_PATH], name[MAX_PATH];
        GetTempPathA(MAX_PATH, dir);
        GetTempFileNameA(dir, "imp", 0, name);
        path_ = name;
        HANDLE h = CreateFileA(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD written = 0;
        WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(h);
    }
    ~TempFile() { DeleteFileA(path_.c_str()); }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

FileImport ReadCsv(const std::string& path) { return files::ReadImportFile(path, false, {}, {}); }

std::string Csv(int samples) {
    std::string text = "COMMENT_1:\r\nDATE_MAKE:2024.05.06_12:34:56\r\nCLOCK:10.000000 ( msec )\r\nDATA:\r\nX\r\ngal\r\n";
    for (int i = 0; i < samples; ++i) text += std::to_string(i) + ".500000,-1.250000,0.000000\r\n";
    return text;
}

TEST(Win32Import, ReadsAFileWhileAnotherProgramWritesIt) {
    TempFile file(Csv(50000));
    // Another program has the file open for writing and lets others read and write it.
    HANDLE writer = CreateFileA(file.Path().c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    const FileImport got = ReadCsv(file.Path());
    CloseHandle(writer);
    ASSERT_EQ(got.openError, FileErrorCause::None);
    ASSERT_EQ(got.result.status, ImportResult::Status::Loaded);
    ASSERT_EQ(got.result.samples[0].size(), 50000u);
    EXPECT_EQ(got.result.samples[0][49999], 49999.5);
    EXPECT_EQ(got.result.samples[1][0], -1.25);
    EXPECT_EQ(got.result.baseTime, *files::FileTimeOf({2024, 5, 6, 12, 34, 56}));
}

TEST(Win32Import, OpenAndReadFailuresNameTheirCause) {
    EXPECT_EQ(ReadCsv("C:\\no such folder\\none.csv").openError, FileErrorCause::BadPath);
    TempFile missing("");
    DeleteFileA(missing.Path().c_str());
    EXPECT_EQ(ReadCsv(missing.Path()).openError, FileErrorCause::FileNotFound);

    TempFile file(Csv(100));
    {
        // Held by another program that shares nothing.
        HANDLE holder = CreateFileA(file.Path().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(holder, INVALID_HANDLE_VALUE);
        EXPECT_EQ(ReadCsv(file.Path()).openError, FileErrorCause::SharingViolation);
        CloseHandle(holder);
    }
    EXPECT_EQ(ReadCsv(file.Path()).result.status, ImportResult::Status::Loaded);
}

}  // namespace

#endif
