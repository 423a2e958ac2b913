// Index file of the trigger history: tab-separated lines with CR LF, a line count and an FNV-1a
// checksum at the end, parsed strictly.
#include "history/HistoryIndex.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace app {
namespace {

constexpr const char* kVersionLine = "QUORVEL TRIGGER HISTORY 1";

std::uint32_t Checksum(const char* data, std::size_t size) {
    std::uint32_t h = 2166136261u;
    for (std::size_t i = 0; i < size; ++i) {
        h ^= static_cast<unsigned char>(data[i]);
        h *= 16777619u;
    }
    return h;
}

std::vector<std::string> Split(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos) return fields;
        start = tab + 1;
    }
}

// Strict numbers: the whole field, nothing else.
bool ToInt64(const std::string& s, long long& out) {
    if (s.empty() || s.size() > 20) return false;
    char* end = nullptr;
    errno = 0;
    out = std::strtoll(s.c_str(), &end, 10);
    return errno == 0 && *end == '\0' && !std::isspace(static_cast<unsigned char>(s[0]));
}

bool ToUint64(const std::string& s, unsigned long long& out) {
    if (s.empty() || s.size() > 20 || s[0] < '0' || s[0] > '9') return false;
    char* end = nullptr;
    errno = 0;
    out = std::strtoull(s.c_str(), &end, 10);
    return errno == 0 && *end == '\0';
}

bool ToDouble(const std::string& s, double& out) {
    if (s.empty() || std::isspace(static_cast<unsigned char>(s[0]))) return false;
    char* end = nullptr;
    out = std::strtod(s.c_str(), &end);
    return *end == '\0' && std::isfinite(out) && out >= 0.0;
}

std::string Number(double v) {
    char text[40];
    std::snprintf(text, sizeof text, "%.17g", v);
    return text;
}

// "E", start time, samples, peak X, Y, Z, vector peak, intensity tenths or "-", then the file names
// of the event. A group has at most one.
bool ParseEvent(const std::vector<std::string>& f, const std::string& key, const IndexedGroup& group,
                TriggerEvent& e) {
    if (f.size() < 9 || f[0] != "E" || !group.events.empty()) return false;
    e.group = key;
    unsigned long long start = 0;
    if (!ToUint64(f[1], start) || !ToInt64(f[2], e.samples) || e.samples < 0) return false;
    e.startTime = start;
    for (int a = 0; a < 3; ++a)
        if (!ToDouble(f[3 + a], e.peak[a])) return false;
    if (!ToDouble(f[6], e.vectorPeak)) return false;
    if (f[7] == "-") {
        e.hasIntensity = false;
    } else {
        long long tenths = 0;
        if (!ToInt64(f[7], tenths) || tenths < -1000 || tenths > 1000) return false;
        e.hasIntensity = true;
        e.intensityTenths = static_cast<int>(tenths);
    }
    e.files.assign(f.begin() + 8, f.end());
    // An event's files are its group's files, the first one first.
    for (const std::string& name : e.files) {
        bool known = false;
        for (const files::FileStamp& s : group.files) known = known || s.name == name;
        if (!known || name.empty()) return false;
    }
    return e.files.front() == key;
}

}  // namespace

std::string FormatHistoryIndex(const HistoryIndex& index) {
    std::string out = std::string(kVersionLine) + "\r\n";
    long long lines = 1;
    for (const auto& entry : index) {
        out += "G\t" + entry.first;
        for (const files::FileStamp& s : entry.second.files)
            out += "\t" + s.name + "\t" + std::to_string(s.size) + "\t" + std::to_string(s.modified);
        out += "\r\n";
        ++lines;
        for (const TriggerEvent& e : entry.second.events) {
            out += "E\t" + std::to_string(e.startTime) + "\t" + std::to_string(e.samples);
            for (double p : e.peak) out += "\t" + Number(p);
            out += "\t" + Number(e.vectorPeak);
            out += "\t" + (e.hasIntensity ? std::to_string(e.intensityTenths) : std::string("-"));
            for (const std::string& name : e.files) out += "\t" + name;
            out += "\r\n";
            ++lines;
        }
    }
    char end[64];
    std::snprintf(end, sizeof end, "END\t%lld\t%08lx\r\n", lines,
                  static_cast<unsigned long>(Checksum(out.data(), out.size())));
    return out + end;
}

std::optional<HistoryIndex> ParseHistoryIndex(const std::string& bytes) {
    // The END line closes the file; what precedes it must match its count and checksum.
    if (bytes.size() < 2 || bytes.compare(bytes.size() - 2, 2, "\r\n") != 0) return std::nullopt;
    const std::size_t endStart = bytes.rfind("\r\nEND\t", bytes.size() - 2);
    if (endStart == std::string::npos) return std::nullopt;
    const std::size_t bodySize = endStart + 2;
    const std::vector<std::string> endFields = Split(bytes.substr(bodySize, bytes.size() - 2 - bodySize));
    long long count = 0;
    char sum[16];
    std::snprintf(sum, sizeof sum, "%08lx", static_cast<unsigned long>(Checksum(bytes.data(), bodySize)));
    if (endFields.size() != 3 || !ToInt64(endFields[1], count) || endFields[2] != sum) return std::nullopt;

    HistoryIndex index;
    IndexedGroup* group = nullptr;
    std::string key;
    long long lines = 0;
    std::size_t pos = 0;
    while (pos < bodySize) {
        const std::size_t eol = bytes.find("\r\n", pos);
        const std::string line = bytes.substr(pos, eol - pos);
        pos = eol + 2;
        if (line.find_first_of("\r\n") != std::string::npos) return std::nullopt;
        if (lines++ == 0) {
            if (line != kVersionLine) return std::nullopt;
            continue;
        }
        const std::vector<std::string> f = Split(line);
        if (f[0] == "G") {
            // "G", key, then name, size, time for each file; the first file is the key.
            if (f.size() < 5 || (f.size() - 2) % 3 != 0 || f[1].empty() || f[2] != f[1] || index.count(f[1]))
                return std::nullopt;
            key = f[1];
            group = &index[key];
            for (std::size_t i = 2; i < f.size(); i += 3) {
                files::FileStamp s;
                unsigned long long size = 0;
                long long modified = 0;
                if (f[i].empty() || !ToUint64(f[i + 1], size) || !ToInt64(f[i + 2], modified)) return std::nullopt;
                s.name = f[i];
                s.size = size;
                s.modified = modified;
                group->files.push_back(s);
            }
        } else {
            TriggerEvent e;
            if (!group || !ParseEvent(f, key, *group, e)) return std::nullopt;
            group->events.push_back(std::move(e));
        }
    }
    if (lines != count) return std::nullopt;
    // Numbers the lenient conversions take in another spelling ("05", "1.e-300") are not ours.
    if (FormatHistoryIndex(index) != bytes) return std::nullopt;
    return index;
}

}  // namespace app
