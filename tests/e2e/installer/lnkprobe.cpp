// Test helper: prints the target, the working folder and the arguments of a shell shortcut (.lnk),
// one per line, as the shell reads them. Exit code 1 when the shortcut cannot be read.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    if (FAILED(CoInitialize(nullptr))) return 1;
    int rc = 1;
    IShellLinkA* link = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(&link)))) {
        IPersistFile* file = nullptr;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            wchar_t path[MAX_PATH];
            char target[MAX_PATH] = "", folder[MAX_PATH] = "", args[MAX_PATH] = "";
            if (MultiByteToWideChar(CP_ACP, 0, argv[1], -1, path, MAX_PATH) > 0 &&
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
