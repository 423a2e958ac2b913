// Both importers when the buffers for the counted samples cannot be allocated: the caller may
// free memory once and the allocation is tried again. The allocations of one size are made to
// fail by this test binary's own operator new.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <string>

#include "files/CsvImport.h"
#include "files/SdImport.h"

namespace {

size_t failSize = 0;  // allocations of exactly this many bytes fail ...
int failCount = 0;    // ... this many times

void* Allocate(size_t n) {
    if (n == failSize && failCount > 0) {
        --failCount;
        return nullptr;
    }
    return std::malloc(n ? n : 1);
}

}  // namespace

void* operator new(size_t n) {
    if (void* p = Allocate(n)) return p;
    throw std::bad_alloc();
}
void* operator new[](size_t n) { return operator new(n); }
void* operator new(size_t n, const std::nothrow_t&) noexcept { return Allocate(n); }
void* operator new[](size_t n, const std::nothrow_t&) noexcept { return Allocate(n); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, size_t) noexcept { std::free(p); }
void operator delete[](void* p, size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }

namespace {

using files::ImportOptions;
using files::ImportResult;
using Status = files::ImportResult::Status;

TEST(ImportMemory, OneReleaseOfTheCallersMemoryAndOneMoreTry) {
    constexpr int kSamples = 1000;
    std::string csv = "DATE_MAKE:2024.05.06_12:34:56\r\nDATA:\r\nX\r\ngal\r\n";
    std::string sd = "TM240506123456\r\n";
    for (int i = 0; i < kSamples; ++i) {
        csv += "1.5,2.5,3.5\r\n";
        sd += "32768;32776,32760\r\n";
    }
    auto import = [&](bool isSd, int failures, bool canRelease, int& releases) {
        ImportOptions options;
        options.blockSize = 4096;  // far from the buffers' size
        releases = 0;
        options.releaseMemory = [&] {
            ++releases;
            return canRelease;
        };
        failSize = kSamples * sizeof(double);
        failCount = failures;
        files::MemorySource source(isSd ? sd : csv);
        ImportResult r = isSd ? files::ImportSd(source, files::SdConversion{16, {1, 1, 1}}, options)
                              : files::ImportCsv(source, options);
        failCount = 0;
        return r;
    };
    for (bool isSd : {false, true}) {
        int releases = 0;
        ImportResult r = import(isSd, 1, true, releases);
        EXPECT_EQ(r.status, Status::Loaded) << isSd;
        EXPECT_EQ(releases, 1);
        EXPECT_EQ(r.samples[2].size(), size_t{kSamples});
        EXPECT_NE(r.baseTime, 0u);

        // Still too little after the release, or nothing to release: nothing loaded.
        r = import(isSd, 2, true, releases);
        EXPECT_EQ(r.status, Status::BufferError);
        EXPECT_EQ(releases, 1);
        EXPECT_TRUE(r.samples[0].empty() && r.samples[1].empty() && r.samples[2].empty());
        r = import(isSd, 1, false, releases);
        EXPECT_EQ(r.status, Status::BufferError);
        EXPECT_EQ(releases, 1);

        // Enough memory: no release asked for.
        r = import(isSd, 0, true, releases);
        EXPECT_EQ(r.status, Status::Loaded);
        EXPECT_EQ(releases, 0);
    }
}

}  // namespace
