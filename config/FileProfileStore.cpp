// Portable private-profile engine: parsing and in-place editing of INI text, and its file store.
#include "config/FileProfileStore.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string_view>

namespace {

constexpr size_t npos = std::string::npos;

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

char FoldAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// Names match without regard to ASCII letter case; CP932 lead and trail bytes compare as they are.
bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
    }
    return true;
}

std::string_view Unquote(std::string_view v) {
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
        return v.substr(1, v.size() - 2);
    }
    return v;
}

unsigned CopyOut(std::string_view s, char* buffer, unsigned size) {
    if (size == 0 || buffer == nullptr) return 0;
    size_t n = s.size() < size - 1 ? s.size() : size - 1;
    if (n > 0) std::memcpy(buffer, s.data(), n);
    buffer[n] = '\0';
    return static_cast<unsigned>(n);
}

// One line of the text: [begin, end) is its content, next the start of the following line.
struct Line {
    size_t begin = 0;
    size_t end = 0;
    size_t next = 0;
};

// A line ends at CR LF, at LF or at CR alone, as the platform's profile functions read it.
bool NextLine(const std::string& text, size_t pos, Line& line) {
    if (pos >= text.size()) return false;
    size_t eol = text.find_first_of("\r\n", pos);
    line.begin = pos;
    line.end = eol == npos ? text.size() : eol;
    if (eol == npos) line.next = text.size();
    else if (text[eol] == '\r' && eol + 1 < text.size() && text[eol + 1] == '\n') line.next = eol + 2;
    else line.next = eol + 1;
    return true;
}

// The line end of lines a write adds: CR alone in a file whose first line ends so (other readers
// would otherwise split a mixed file differently), CR LF everywhere else.
const char* NewLineFor(const std::string& text) {
    size_t eol = text.find_first_of("\r\n");
    bool crOnly = eol != npos && text[eol] == '\r' && (eol + 1 == text.size() || text[eol + 1] != '\n');
    return crOnly ? "\r" : "\r\n";
}

// The section name of a header line, or false when the line is no header.
bool HeaderName(std::string_view trimmed, std::string_view& name) {
    if (trimmed.empty() || trimmed.front() != '[') return false;
    size_t close = trimmed.find(']');
    if (close == npos) return false;
    name = Trim(trimmed.substr(1, close - 1));
    return true;
}

struct Entry {
    std::string_view key;
    bool hasValue = false;
    std::string_view value;
};

Entry ParseEntry(std::string_view trimmed) {
    Entry e;
    size_t eq = trimmed.find('=');
    if (eq == npos) {
        e.key = trimmed;
    } else {
        e.key = Trim(trimmed.substr(0, eq));
        e.hasValue = true;
        e.value = Trim(trimmed.substr(eq + 1));
    }
    return e;
}

// Where a section lies: its header line (npos for the section "" before the first header), the
// start of its body, and the end of its last entry line (the body start when it has none).
struct SectionSpan {
    size_t headerBegin = npos;
    size_t bodyBegin = 0;
    size_t bodyEnd = 0;
    size_t entriesEnd = 0;
};

bool FindSection(const std::string& text, std::string_view name, SectionSpan& span) {
    bool inside = name.empty();  // the nameless section starts at the top of the text
    bool found = inside;
    span = SectionSpan{};
    Line line;
    for (size_t pos = 0; NextLine(text, pos, line); pos = line.next) {
        std::string_view trimmed =
            Trim(std::string_view(text).substr(line.begin, line.end - line.begin));
        std::string_view header;
        if (HeaderName(trimmed, header)) {
            if (inside) {
                span.bodyEnd = line.begin;
                return true;
            }
            if (SameName(header, name)) {
                inside = found = true;
                span.headerBegin = line.begin;
                span.bodyBegin = span.entriesEnd = line.next;
            }
            continue;
        }
        if (inside && !trimmed.empty()) span.entriesEnd = line.next;
    }
    span.bodyEnd = text.size();
    return found;
}

// Calls visit(line, entry) for each entry line of the span until it returns true.
template <typename Visit>
bool ForEachEntry(const std::string& text, const SectionSpan& span, Visit visit) {
    Line line;
    for (size_t pos = span.bodyBegin; pos < span.bodyEnd && NextLine(text, pos, line);
         pos = line.next) {
        std::string_view trimmed =
            Trim(std::string_view(text).substr(line.begin, line.end - line.begin));
        if (trimmed.empty()) continue;
        if (visit(line, ParseEntry(trimmed))) return true;
    }
    return false;
}

std::string_view NameArg(const char* s) { return Trim(s ? std::string_view(s) : std::string_view()); }

// Inserts `s` at `pos`, first ending an unterminated last line so `s` starts a line of its own.
void InsertLines(std::string& text, size_t pos, std::string s) {
    if (pos == text.size() && !text.empty() && text.back() != '\n' && text.back() != '\r') {
        s.insert(0, NewLineFor(text));
    }
    text.insert(pos, s);
}

std::string EntriesToLines(const char* entries, const char* newLine) {
    std::string lines;
    for (const char* p = entries; *p; p += std::strlen(p) + 1) {
        lines += p;
        lines += newLine;
    }
    return lines;
}

void AppendSection(std::string& text, std::string_view name, const std::string& body) {
    std::string s = "[";
    s += name;
    s += "]";
    s += NewLineFor(text);
    s += body;
    InsertLines(text, text.size(), s);
}

void EraseSection(std::string& text, const SectionSpan& span) {
    size_t from = span.headerBegin == npos ? span.bodyBegin : span.headerBegin;
    text.erase(from, span.bodyEnd - from);
}

}  // namespace

unsigned CopyProfileDefault(const char* def, char* buffer, unsigned size) {
    std::string_view d = def ? std::string_view(def) : std::string_view();
    while (d.size() > 1 && d.back() == ' ') d.remove_suffix(1);
    return CopyOut(Unquote(d), buffer, size);
}

namespace profile_text {

unsigned GetString(const std::string& text, const char* section, const char* key, const char* def,
                   char* buffer, unsigned size) {
    SectionSpan span;
    std::string_view wanted = NameArg(key);
    unsigned count = 0;
    bool hit = false;
    if (key && FindSection(text, NameArg(section), span)) {
        ForEachEntry(text, span, [&](const Line&, const Entry& e) {
            if (!SameName(e.key, wanted)) return false;
            if (e.hasValue) {
                count = CopyOut(Unquote(e.value), buffer, size);
                hit = true;
            }
            return true;  // the first entry of the name decides, even one without a value
        });
    }
    return hit ? count : CopyProfileDefault(def, buffer, size);
}

unsigned GetSection(const std::string& text, const char* section, char* buffer, unsigned size) {
    if (size == 0 || buffer == nullptr) return 0;
    SectionSpan span;
    if (size <= 2 || !FindSection(text, NameArg(section), span)) {
        buffer[0] = '\0';
        if (size > 1) buffer[1] = '\0';
        return 0;
    }
    // Mirrors the platform's packing: each piece is cut to what is left, and a list that did not
    // fit ends with two NULs and reports size - 2.
    size_t left = size;
    char* out = buffer;
    auto copy = [&](std::string_view s) {
        unsigned n = CopyOut(s, out, static_cast<unsigned>(left - 1));
        out += n + 1;
        left -= n + 1;
    };
    ForEachEntry(text, span, [&](const Line&, const Entry& e) {
        if (left <= 2) return true;
        if (!e.key.empty() && e.key.front() == ';') return false;
        copy(e.key);
        if (left < 2) return true;
        if (e.hasValue) {
            out[-1] = '=';
            copy(e.value);
        }
        return false;
    });
    *out = '\0';
    if (left <= 1) {
        out[-1] = '\0';
        return size - 2;
    }
    return static_cast<unsigned>(size - left);
}

std::string WriteString(const std::string& text, const char* section, const char* key,
                        const char* value) {
    std::string result = text;
    std::string_view name = NameArg(section);
    SectionSpan span;
    bool found = FindSection(text, name, span);
    if (!key) {
        if (found) EraseSection(result, span);
        return result;
    }
    std::string_view wanted = NameArg(key);
    const char* newLine = NewLineFor(text);
    if (!found) {
        if (!value) return result;
        std::string body(wanted);
        body += "=";
        body += value;
        body += newLine;
        AppendSection(result, name, body);
        return result;
    }
    bool done = ForEachEntry(text, span, [&](const Line& line, const Entry& e) {
        if (!SameName(e.key, wanted)) return false;
        if (!value) {
            result.erase(line.begin, line.next - line.begin);
        } else {
            // The line keeps its own line end and the key keeps the spelling it has in the file.
            std::string replacement(e.key);
            replacement += "=";
            replacement += value;
            result.replace(line.begin, line.end - line.begin, replacement);
        }
        return true;
    });
    if (!done && value) {
        std::string s(wanted);
        s += "=";
        s += value;
        s += newLine;
        InsertLines(result, span.entriesEnd, s);
    }
    return result;
}

std::string WriteSection(const std::string& text, const char* section, const char* entries) {
    std::string result = text;
    std::string_view name = NameArg(section);
    SectionSpan span;
    bool found = FindSection(text, name, span);
    if (!entries) {
        if (found) EraseSection(result, span);
        return result;
    }
    std::string body = EntriesToLines(entries, NewLineFor(text));
    if (!found) {
        AppendSection(result, name, body);
        return result;
    }
    result.erase(span.bodyBegin, span.entriesEnd - span.bodyBegin);
    InsertLines(result, span.bodyBegin, body);
    return result;
}

}  // namespace profile_text

FileProfileStore::FileProfileStore(std::string path) : path_(std::move(path)) {}

FileProfileStore FileProfileStore::FromText(std::string text) {
    FileProfileStore store;
    store.inMemory_ = true;
    store.text_ = std::move(text);
    return store;
}

bool FileProfileStore::Load(std::string& out) const {
    out.clear();
    if (inMemory_) {
        out = text_;
        return true;
    }
    if (path_.empty()) return false;
    std::FILE* f = std::fopen(path_.c_str(), "rb");
    if (!f) return false;
    char chunk[16384];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) out.append(chunk, n);
    bool ok = !std::ferror(f);
    std::fclose(f);
    return ok;
}

bool FileProfileStore::Store(const std::string& contents) {
    if (inMemory_) {
        text_ = contents;
        return true;
    }
    if (path_.empty()) return false;
    std::FILE* f = std::fopen(path_.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(contents.data(), 1, contents.size(), f) == contents.size();
    ok = (std::fclose(f) == 0) && ok;
    return ok;
}

unsigned FileProfileStore::GetString(const char* section, const char* key, const char* def,
                                     char* buffer, unsigned size) {
    std::string text;
    if (!Load(text)) return CopyProfileDefault(def, buffer, size);
    return profile_text::GetString(text, section, key, def, buffer, size);
}

unsigned FileProfileStore::GetSection(const char* section, char* buffer, unsigned size) {
    std::string text;
    Load(text);
    return profile_text::GetSection(text, section, buffer, size);
}

namespace {
// A file that exists but cannot be read must not be replaced by the one key being written.
bool MissingOrLoaded(bool loaded) { return loaded || errno == ENOENT; }
}  // namespace

bool FileProfileStore::WriteString(const char* section, const char* key, const char* value) {
    if (!inMemory_ && path_.empty()) return false;
    std::string text;
    errno = 0;
    bool loaded = Load(text);
    if (!MissingOrLoaded(loaded)) return false;
    std::string edited = profile_text::WriteString(text, section, key, value);
    if (!loaded && edited.empty()) return true;  // deleting from a missing file creates none
    return Store(edited);
}

bool FileProfileStore::WriteSection(const char* section, const char* entries) {
    if (!inMemory_ && path_.empty()) return false;
    std::string text;
    errno = 0;
    bool loaded = Load(text);
    if (!MissingOrLoaded(loaded)) return false;
    std::string edited = profile_text::WriteSection(text, section, entries);
    if (!loaded && edited.empty()) return true;
    return Store(edited);
}
