// Typed INI access over a profile store: conversions, aliases, list splitting and exchanges.
#include "config/IniFile.h"

#include "config/FormatSignificant.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr unsigned kFirstReadSize = 16384;
// A store that keeps filling every buffer would otherwise grow it without end.
constexpr size_t kLargestReadSize = size_t{1} << 26;

bool IsDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

// Length of the longest leading decimal floating-point number after blanks and a sign, or 0.
size_t DecimalNumberLength(const std::string& t) {
    size_t i = 0;
    while (i < t.size() && std::isspace(static_cast<unsigned char>(t[i]))) ++i;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    size_t digitsSeen = 0;
    while (i < t.size() && IsDigit(t[i])) ++i, ++digitsSeen;
    if (i < t.size() && t[i] == '.') {
        ++i;
        while (i < t.size() && IsDigit(t[i])) ++i, ++digitsSeen;
    }
    if (digitsSeen == 0) return 0;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        size_t j = i + 1;
        if (j < t.size() && (t[j] == '+' || t[j] == '-')) ++j;
        if (j < t.size() && IsDigit(t[j])) {
            while (j < t.size() && IsDigit(t[j])) ++j;
            i = j;
        }
    }
    return i;
}

}  // namespace

CIniFile::CIniFile(IProfileStore& store, std::string firstSection)
    : path(store.Path()), section(std::move(firstSection)), store_(store) {}

int CIniFile::StrToInt(const std::string& text) {
    if (strToIntHook) return strToIntHook(text);
    errno = 0;
    long long v = std::strtoll(text.c_str(), nullptr, 0);
    if (v > INT_MAX) return INT_MAX;
    if (v < INT_MIN) return INT_MIN;
    return static_cast<int>(v);
}

double LeadingDecimal(const std::string& text) {
    size_t n = DecimalNumberLength(text);
    if (n == 0) return 0.0;
    return std::strtod(text.substr(0, n).c_str(), nullptr);
}

double CIniFile::StrToDouble(const std::string& text) {
    if (strToDoubleHook) return strToDoubleHook(text);
    return LeadingDecimal(text);
}

std::string CIniFile::DoubleToStr(double value) {
    if (doubleToStrHook) return doubleToStrHook(value);
    return FormatSignificant(value, digits);
}

std::string CIniFile::IntToStr(int value) {
    if (intToStrHook) return intToStrHook(value);
    char buf[16];
    std::snprintf(buf, sizeof buf, "%d", value);
    return buf;
}

std::string CIniFile::ReadString(const std::string& sec, const std::string& key,
                                 const std::string& def) {
    std::vector<char> buffer(kFirstReadSize);
    for (;;) {
        unsigned size = static_cast<unsigned>(buffer.size());
        unsigned n = RawGetString(sec.c_str(), key.c_str(), def.c_str(), buffer.data(), size);
        if (n > size - 1) n = size - 1;  // never trust a count beyond the buffer
        if (n + 1 != size || buffer.size() >= kLargestReadSize) {
            return std::string(buffer.data(), n);
        }
        buffer.assign(buffer.size() == kFirstReadSize ? 2 * kFirstReadSize : 2 * buffer.size(), 0);
    }
}

unsigned CIniFile::RawGetString(const char* sec, const char* key, const char* def, char* buffer,
                                unsigned size) {
    return store_.GetString(sec, key, def, buffer, size);
}

bool CIniFile::RawWriteString(const char* sec, const char* key, const char* value) {
    return store_.WriteString(sec, key, value);
}

unsigned CIniFile::RawGetSection(const char* sec, char* buffer, unsigned size) {
    return store_.GetSection(sec, buffer, size);
}

bool CIniFile::RawWriteSection(const char* sec, const char* entries) {
    return store_.WriteSection(sec, entries);
}

std::string CIniFile::MapFromFile(const std::string& text) {
    for (const MapItem& item : aliases) {
        if (item.fileText == text) return item.valueText;
    }
    return text;
}

std::string CIniFile::MapToFile(const std::string& text) {
    for (const MapItem& item : aliases) {
        if (item.valueText == text) return item.fileText;
    }
    return text;
}

std::string CIniFile::ReadMapped(const std::string& key, const std::string& def) {
    return MapFromFile(ReadString(section, key, def));
}

bool CIniFile::WriteMapped(const std::string& key, const std::string& value) {
    return RawWriteString(section.c_str(), key.c_str(), MapToFile(value).c_str());
}

namespace {

// Takes one piece starting at `pos` (see SplitList); moves `pos` past its end, to L + 1 when the
// piece ran to the end of the text.
std::string TakePiece(const std::string& t, char sep, size_t& pos) {
    const size_t L = t.size();
    size_t i = pos;
    while (i < L && (t[i] == ' ' || t[i] == '\t')) ++i;
    bool quoted = false;
    if (i < L && t[i] == '"') {
        quoted = true;
        ++i;
    }
    const size_t start = i;
    size_t lastQuote = std::string::npos;
    for (;;) {
        if (i >= L) {
            pos = L + 1;
            return t.substr(start, L - start);
        }
        char c = t[i];
        if (c == '"' && i + 1 < L && t[i + 1] == sep) {
            pos = i + 2;
            return t.substr(start, i - start);
        }
        if (c == '"') {
            if (quoted) lastQuote = i;
        } else if (c == sep) {
            if (!quoted) {
                pos = i + 1;
                return t.substr(start, i - start);
            }
            if (lastQuote != std::string::npos) {
                pos = i + 1;
                return t.substr(start, lastQuote - start);
            }
        }
        ++i;
    }
}

}  // namespace

int CIniFile::SplitList(const std::string& text, std::vector<std::string>& pieces) {
    pieces.clear();
    size_t pos = 0;
    while (!text.empty() && pos <= text.size()) {
        pieces.push_back(MapFromFile(TakePiece(text, separator, pos)));
    }
    return static_cast<int>(pieces.size());
}

int CIniFile::SplitList(const std::string& text, std::string* pieces, int maxCount) {
    int count = 0;
    size_t pos = 0;
    while (count < maxCount && !text.empty() && pos <= text.size()) {
        pieces[count++] = MapFromFile(TakePiece(text, separator, pos));
    }
    return count;
}

void CIniFile::ReadStringList(const std::string& key, std::vector<std::string>& list,
                              const std::string& def) {
    SplitList(ReadString(section, key, def), list);
}

void CIniFile::ReadIntList(const std::string& key, std::vector<int>& list, const std::string& def) {
    std::vector<std::string> pieces;
    ReadStringList(key, pieces, def);
    list.clear();
    for (const std::string& p : pieces) list.push_back(StrToInt(p));
}

namespace {

template <typename T, typename Convert>
std::string JoinList(const T* values, int count, char sep, Convert convert) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += convert(values[i]);
        if (i + 1 < count) text += sep;
    }
    return text;
}

}  // namespace

int CIniFile::WriteIntList(const std::string& key, const int* values, int count) {
    std::string text =
        JoinList(values, count, separator, [this](int v) { return MapToFile(IntToStr(v)); });
    bool ok = RawWriteString(section.c_str(), key.c_str(), text.c_str());
    return ok ? count : 0;
}

int CIniFile::WriteDoubleList(const std::string& key, const double* values, int count) {
    std::string text =
        JoinList(values, count, separator, [this](double v) { return MapToFile(DoubleToStr(v)); });
    bool ok = RawWriteString(section.c_str(), key.c_str(), text.c_str());
    return ok ? count : 0;
}

void CIniFile::ExchangeInt(int save, const std::string& key, int& field, int def) {
    if (save) {
        (void)WriteMapped(key, IntToStr(field));
        return;
    }
    std::string t = ReadMapped(key, "");
    field = t.empty() ? def : StrToInt(t);
}

void CIniFile::ExchangeDouble(int save, const std::string& key, double& field, double def) {
    if (save) {
        (void)WriteMapped(key, DoubleToStr(field));
        return;
    }
    std::string t = ReadMapped(key, "");
    field = t.empty() ? def : StrToDouble(t);
}

void CIniFile::ExchangeString(int save, const std::string& key, std::string& field,
                              const std::string& def) {
    if (save) {
        (void)WriteMapped(key, field);
        return;
    }
    field = ReadMapped(key, def);
}

void CIniFile::ExchangeIntTriple(int save, const std::string& key, std::array<int, 3>& field,
                                 const std::string& def) {
    if (save) {
        WriteIntList(key, field.data(), 3);
        return;
    }
    std::string pieces[3];
    int n = SplitList(ReadString(section, key, def), pieces, 3);
    for (int i = 0; i < n; ++i) field[i] = StrToInt(pieces[i]);
}

void CIniFile::ExchangeDoubleList(int save, const std::string& key, double* field, int count,
                                  const std::string& def) {
    if (save) {
        WriteDoubleList(key, field, count);
        return;
    }
    if (count <= 0) return;
    std::vector<std::string> pieces(static_cast<size_t>(count));
    int n = SplitList(ReadString(section, key, def), pieces.data(), count);
    for (int i = 0; i < n; ++i) field[i] = StrToDouble(pieces[i]);
}
