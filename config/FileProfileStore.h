// Portable private-profile engine: INI text held in memory or in a file, edited in place.
#pragma once

#include "config/ProfileStore.h"

#include <string>

// The profile operations on INI text. A line ends at CR LF, at LF or at CR alone; a section
// header is a line whose first non-blank character is '[' and that holds a ']'; any other
// non-blank line is an entry, "key=value" or a bare key. Lines before the first header belong to
// the section "". The first section and the first entry of a name win. Edits change only the lines
// they concern and keep every other byte; lines they add end with CRLF (CR alone in a file whose
// first line ends so).
namespace profile_text {

unsigned GetString(const std::string& text, const char* section, const char* key, const char* def,
                   char* buffer, unsigned size);
unsigned GetSection(const std::string& text, const char* section, char* buffer, unsigned size);
// Return the edited text.
std::string WriteString(const std::string& text, const char* section, const char* key,
                        const char* value);
std::string WriteSection(const std::string& text, const char* section, const char* entries);

}  // namespace profile_text

// Stands in for the platform's private-profile functions where they are missing. Every call reads
// the whole file and every write rewrites it, so two stores on one path see each other's writes.
class FileProfileStore : public IProfileStore {
public:
    // An empty path means no file: reads yield defaults, writes fail.
    explicit FileProfileStore(std::string path);

    // A store on text in memory, for parsing strings; writes change Text().
    static FileProfileStore FromText(std::string text);
    const std::string& Text() const { return text_; }

    unsigned GetString(const char* section, const char* key, const char* def, char* buffer,
                       unsigned size) override;
    bool WriteString(const char* section, const char* key, const char* value) override;
    unsigned GetSection(const char* section, char* buffer, unsigned size) override;
    bool WriteSection(const char* section, const char* entries) override;
    const std::string& Path() const override { return path_; }

private:
    FileProfileStore() = default;
    // Current file contents; false when there is no file to read.
    bool Load(std::string& out) const;
    bool Store(const std::string& contents);

    std::string path_;
    bool inMemory_ = false;  // invariant: inMemory_ implies path_.empty()
    std::string text_;       // used only when inMemory_
};
