// Test helper for the installer test.
//   instprobe lnk PATH     prints the target, working folder and arguments of a shell shortcut,
//                          one per line, as the shell reads them; exit code 1 when unreadable
//   instprobe mutex NAME   exit code 0 while a named mutex exists (a program holding it runs), else 1
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>

namespace {

int PrintShortcut(const char* lnk) {
    if (FAILED(CoInitialize(nullptr))) return 1;
    int rc = 1;
    IShellLinkA* link = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(&link)))) {
        IPersistFile* file = nullptr;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            wchar_t path[MAX_PATH];
            char target[MAX_PATH] = "", folder[MAX_PATH] = "", args[MAX_PATH] = "";
            if (MultiByteToWideChar(CP_ACP, 0, lnk, -1, path, MAX_PATH) > 0 &&
                SUCCEEDED(file->Load(path, STGM_READ)) &&
                SUCCEEDED(link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH)) &&
                SUCCEEDED(link->GetWorkingDirectory(folder, MAX_PATH)) &&
                SUCCEEDED(link->GetArguments(args, MAX_PATH))) {
                std::printf("target=%s\nfolder=%s\nargs=%s\n", target, folder, args);
                rc = 0;
            }
            file->Release();
        }
        link->Release();
    }
    CoUninitialize();
    return rc;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) return 2;
    if (std::strcmp(argv[1], "lnk") == 0) return PrintShortcut(argv[2]);
    if (std::strcmp(argv[1], "mutex") == 0) {
        HANDLE mutex = OpenMutexA(SYNCHRONIZE, FALSE, argv[2]);
        if (!mutex) return 1;
        CloseHandle(mutex);
        return 0;
    }
    return 2;
}
