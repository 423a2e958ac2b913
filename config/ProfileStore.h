// Private-profile text access to one INI file: the small interface the INI engine stands on.
#pragma once

#include <string>

// One INI file addressed by section and key, with the semantics of the platform's
// private-profile functions (GetPrivateProfileStringA and friends). Names match without regard
// to ASCII letter case; other bytes (CP932) are compared as they stand.
class IProfileStore {
public:
    virtual ~IProfileStore() = default;

    // Copies the key's value (blanks around it and one pair of enclosing quotes removed) or, when
    // file, section or key is missing, `def` (trailing blanks and enclosing quotes removed; null
    // reads as "") into `buffer`, NUL-terminated and cut to size - 1 characters. Returns the
    // characters copied: size - 1 when the text was cut. With size 0 nothing is written.
    virtual unsigned GetString(const char* section, const char* key, const char* def, char* buffer,
                               unsigned size) = 0;

    // Replaces the key's value or appends the key at the end of its section (a missing section at
    // the end of the file, a missing file is created). A null `value` deletes the key, a null
    // `key` the whole section. False when the file cannot be written or the path is empty.
    virtual bool WriteString(const char* section, const char* key, const char* value) = 0;

    // Copies the section's entries as "key=value" strings, each NUL-terminated, with one more NUL
    // after the last. Comment entries (';') and blank lines are left out. When the buffer is too
    // small the list is cut and size - 2 is returned; otherwise the characters before the final
    // NUL.
    virtual unsigned GetSection(const char* section, char* buffer, unsigned size) = 0;

    // Replaces the section's entries with `entries` (NUL-separated "key=value" strings ending
    // with an empty string); a null `entries` deletes the section.
    virtual bool WriteSection(const char* section, const char* entries) = 0;

    // The file this store reads and writes; empty means no file.
    virtual const std::string& Path() const = 0;
};

// Shared by every store: what a read yields when file, section or key is missing. Applies the
// platform's treatment of the default text (trailing blanks and one pair of quotes removed) and
// copies it like GetString.
unsigned CopyProfileDefault(const char* def, char* buffer, unsigned size);
