// GetPrivateProfileStringA and its relatives behind the profile-store interface.
#include "config/Win32ProfileStore.h"

#include <windows.h>

unsigned Win32ProfileStore::GetString(const char* section, const char* key, const char* def,
                                      char* buffer, unsigned size) {
    // With no file the platform would fall back to WIN.INI.
    if (path_.empty()) return CopyProfileDefault(def, buffer, size);
    return GetPrivateProfileStringA(section, key, def, buffer, size, path_.c_str());
}

bool Win32ProfileStore::WriteString(const char* section, const char* key, const char* value) {
    if (path_.empty()) return false;
    return WritePrivateProfileStringA(section, key, value, path_.c_str()) != FALSE;
}

unsigned Win32ProfileStore::GetSection(const char* section, char* buffer, unsigned size) {
    if (path_.empty()) {
        if (size > 0) buffer[0] = '\0';
        if (size > 1) buffer[1] = '\0';
        return 0;
    }
    return GetPrivateProfileSectionA(section, buffer, size, path_.c_str());
}

bool Win32ProfileStore::WriteSection(const char* section, const char* entries) {
    if (path_.empty()) return false;
    return WritePrivateProfileSectionA(section, entries, path_.c_str()) != FALSE;
}
