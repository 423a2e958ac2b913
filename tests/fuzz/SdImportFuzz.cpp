// Fuzzes the SD-card importer: no crash, hang or unbounded memory, and small blocks read exactly
// what one large block reads, for both BIT settings.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "files/SdImport.h"
#include "tests/fuzz/FuzzCompare.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const files::ImportOptions small = fuzz::SmallOptions(data);
    files::ImportOptions large = small;
    large.blockSize = 1 << 14;
    const files::SdConversion conversion{data[0] & 1 ? 16 : 12, {0.125, 1.0, 3.0}};
    const std::string_view bytes(reinterpret_cast<const char*>(data + 2), size - 2);
    files::MemorySource a(bytes), b(bytes);
    const files::ImportResult r = files::ImportSd(a, conversion, small);
    fuzz::CheckShape(r);
    fuzz::CheckSame(r, files::ImportSd(b, conversion, large));
    return 0;
}
