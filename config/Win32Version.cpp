// Reading the version resource with GetFileVersionInfoA/VerQueryValueA, and the title rule on it.
#include "config/Win32Version.h"

#include <windows.h>

#include <cstring>

namespace version {

std::optional<VersionBlock> LoadVersionBlock(const std::string& fileName) {
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(fileName.c_str(), &handle);
    if (size == 0) return std::nullopt;
    VersionBlock block;
    block.bytes.resize(size);
    if (!GetFileVersionInfoA(fileName.c_str(), 0, size, block.bytes.data())) return std::nullopt;
    void* list = nullptr;
    UINT length = 0;
    char path[] = "\\VarFileInfo\\Translation";
    // An empty list would leave nothing to read; it counts as a missing one.
    if (!VerQueryValueA(block.bytes.data(), path, &list, &length) || !list || length < 2 * sizeof(WORD))
        return std::nullopt;
    WORD pair[2];
    std::memcpy(pair, list, sizeof pair);
    block.translation = {pair[0], pair[1]};
    return block;
}

std::string QueryVersionString(const VersionBlock& block, const std::string& name) {
    // VerQueryValueA takes a non-const block, but it only reads it.
    void* data = const_cast<unsigned char*>(block.bytes.data());
    const char* begin = reinterpret_cast<const char*>(block.bytes.data());
    const char* end = begin + block.bytes.size();
    auto query = [data, begin, end](const std::string& path) -> std::optional<std::string> {
        void* value = nullptr;
        UINT length = 0;
        if (!VerQueryValueA(data, path.c_str(), &value, &length)) return std::nullopt;
        const char* text = static_cast<const char*>(value);
        if (!text || length == 0) return std::string();
        // The reported length counts characters, not CP932 bytes, so it cannot bound the copy;
        // the block's end can, should a value lack its terminator.
        if (text < begin || text >= end) return std::string();
        return std::string(text, strnlen(text, static_cast<size_t>(end - text)));
    };
    return version::QueryVersionString(query, block.translation, name);
}

std::string ModulePath() {
    char path[MAX_PATH] = "";
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    return std::string(path, length);
}

}  // namespace version

std::string BuildMainTitle(const std::string& title) {
    std::optional<std::string> fileVersion;
    if (std::optional<version::VersionBlock> block = version::LoadVersionBlock(version::ModulePath()))
        fileVersion = version::QueryVersionString(*block, "FileVersion");
    return version::MainTitle(title, fileVersion);
}
