// importtime: reads a CSV or SD-card file exactly as the program's import does (the Win32 file,
// both passes, the rings taking the samples over) and prints the time and the memory it took.
// usage: importtime FILE csv|sd [BIT]
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "files/Win32ImportFile.h"
#include "pipeline/WaveBuffer.h"

namespace {

SIZE_T PrivateBytes(bool peak) {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return peak ? counters.PeakPagefileUsage : counters.PagefileUsage;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fputs("usage: importtime FILE csv|sd [BIT]\n", stderr);
        return 2;
    }
    const bool sd = std::string(argv[2]) == "sd";
    const files::SdConversion conversion{argc > 3 ? std::atoi(argv[3]) : 16, {0.125, 0.125, 0.125}};
    static WaveBuffer rings[3];
    for (WaveBuffer& ring : rings) ring.Reset(6000);

    const SIZE_T before = PrivateBytes(false);
    LARGE_INTEGER frequency, start, stop;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    files::FileImport got = files::ReadImportFile(argv[1], sd, conversion, {});
    if (got.openError == files::FileErrorCause::None && got.result.status == files::ImportResult::Status::Loaded) {
        for (int axis = 0; axis < 3; ++axis) rings[axis].Adopt(std::move(got.result.samples[axis]));
    }
    QueryPerformanceCounter(&stop);
    const double seconds = double(stop.QuadPart - start.QuadPart) / double(frequency.QuadPart);

    if (got.openError != files::FileErrorCause::None || got.result.status != files::ImportResult::Status::Loaded) {
        std::fprintf(stderr, "importtime: %s was not loaded\n", argv[1]);
        return 1;
    }
    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    GetFileAttributesExA(argv[1], GetFileExInfoStandard, &attributes);
    const double bytes = double((uint64_t{attributes.nFileSizeHigh} << 32) | attributes.nFileSizeLow);
    const double final = 3.0 * rings[0].samples.size() * sizeof(double);
    std::printf("%s %.0f bytes, %d samples: %.3f s, %.0f MB/s, peak memory %.2f x the buffers\n", sd ? "sd" : "csv",
                bytes, rings[0].heldCount, seconds, bytes / seconds / 1e6,
                double(PrivateBytes(true) - before) / final);
    return 0;
}
