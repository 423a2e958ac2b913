// Version string lookup with its fallback search, the title rule and the file-date text.
#include "config/Version.h"

#include <cstdio>

namespace version {

const std::array<std::uint16_t, 12> kFallbackCodePages = {
    0x0000, 0x03a4, 0x03b5, 0x03b6, 0x04b0, 0x04e2, 0x04e3, 0x04e4, 0x04e5, 0x04e6, 0x04e7, 0x04e8,
};

const std::array<std::uint16_t, 45> kFallbackLanguages = {
    0x0401, 0x0402, 0x0403, 0x0404, 0x0405, 0x0406, 0x0407, 0x0408, 0x0409, 0x040a, 0x040b, 0x040c,
    0x040d, 0x040e, 0x040f, 0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417, 0x0418,
    0x0419, 0x041a, 0x041b, 0x041c, 0x041d, 0x041e, 0x041f, 0x0420, 0x0421, 0x0804, 0x0807, 0x0809,
    0x080a, 0x080c, 0x0810, 0x0813, 0x0814, 0x0816, 0x081a, 0x0c0c, 0x100c,
};

std::string StringValuePath(Translation translation, const std::string& name) {
    char prefix[32];
    std::snprintf(prefix, sizeof prefix, "\\StringFileInfo\\%04x%04x\\", static_cast<unsigned>(translation.language),
                  static_cast<unsigned>(translation.codePage));
    return prefix + name;
}

namespace {

std::string Bounded(std::string value) {
    if (value.size() > kMaxValueLength) value.resize(kMaxValueLength);
    return value;
}

}  // namespace

std::string QueryVersionString(const ValueQuery& query, Translation first, const std::string& name) {
    if (std::optional<std::string> value = query(StringValuePath(first, name))) return Bounded(std::move(*value));
    for (std::uint16_t codePage : kFallbackCodePages) {
        for (std::uint16_t language : kFallbackLanguages) {
            if (std::optional<std::string> value = query(StringValuePath({language, codePage}, name)))
                return Bounded(std::move(*value));
        }
    }
    return {};
}

std::string MainTitle(const std::string& title, const std::optional<std::string>& fileVersion) {
    const std::string versionText = fileVersion ? "Ver " + *fileVersion : std::string();
    return title + " " + versionText + " HELDRIC";
}

std::string FormatFileDate(int year, int month, int day, int hour, int minute, int second) {
    char text[64];
    std::snprintf(text, sizeof text, "%4d.%2.2d.%2.2d-%2.2d.%2.2d.%2.2d", year, month, day, hour, minute, second);
    return text;
}

}  // namespace version
