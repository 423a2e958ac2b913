// Test helper started by the launcher: writes the working folder it was given to cwdprobe.out
// beside its own executable, then exits.
#include <windows.h>

#include <cstdio>
#include <cstring>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char cwd[MAX_PATH] = "";
    char out[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, cwd);
    GetModuleFileNameA(nullptr, out, MAX_PATH);
    char* slash = std::strrchr(out, '\\');
    if (!slash) return 1;
    std::strcpy(slash + 1, "cwdprobe.out");
    FILE* f = std::fopen(out, "wb");
    if (!f) return 1;
    std::fputs(cwd, f);
    std::fclose(f);
    return 0;
}
