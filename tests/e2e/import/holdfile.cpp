// holdfile: holds a file open without sharing it, as another program may. Writes MARKER once it
// holds the file and lets it go when MARKER.release exists. Exit code 1 when it cannot open it.
#include <windows.h>

#include <string>

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    HANDLE file = CreateFileA(argv[1], GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    const std::string release = std::string(argv[2]) + ".release";
    HANDLE marker = CreateFileA(argv[2], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    CloseHandle(marker);
    while (GetFileAttributesA(release.c_str()) == INVALID_FILE_ATTRIBUTES) Sleep(50);
    CloseHandle(file);
    return 0;
}
