// Fuzzes the CSV importer: no crash, hang or unbounded memory, and small blocks read exactly what
// one large block reads.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "files/CsvImport.h"
#include "tests/fuzz/FuzzCompare.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const files::ImportOptions small = fuzz::SmallOptions(data);
    files::ImportOptions large = small;
    large.blockSize = 1 << 14;
    const std::string_view bytes(reinterpret_cast<const char*>(data + 2), size - 2);
    files::MemorySource a(bytes), b(bytes);
    const files::ImportResult r = files::ImportCsv(a, small);
    fuzz::CheckShape(r);
    fuzz::CheckSame(r, files::ImportCsv(b, large));
    return 0;
}
