// The profile store on the platform's private-profile functions (Win32 only).
#pragma once

#include "config/ProfileStore.h"

#include <string>

class Win32ProfileStore : public IProfileStore {
public:
    // An empty path means no file: reads yield defaults, writes fail, the platform is not called.
    explicit Win32ProfileStore(std::string path) : path_(std::move(path)) {}

    unsigned GetString(const char* section, const char* key, const char* def, char* buffer,
                       unsigned size) override;
    bool WriteString(const char* section, const char* key, const char* value) override;
    unsigned GetSection(const char* section, char* buffer, unsigned size) override;
    bool WriteSection(const char* section, const char* entries) override;
    const std::string& Path() const override { return path_; }

private:
    std::string path_;
};
