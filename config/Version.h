// Version information of the running program: the string lookup over a version block with its
// fallback search, and the main window's title rule. Free of the platform; the Win32 side supplies
// the block's value query.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace version {

// One entry of a version block's translation list.
struct Translation {
    std::uint16_t language = 0;
    std::uint16_t codePage = 0;
};

// Code pages and language ids tried, code page outer, when the first translation lacks a value.
extern const std::array<std::uint16_t, 12> kFallbackCodePages;
extern const std::array<std::uint16_t, 45> kFallbackLanguages;

// Longest value text kept: values are copied into a 260-character buffer with its terminator.
constexpr std::size_t kMaxValueLength = 259;

// Asks the block for the value at a sub-block path; nullopt when the path is not there.
using ValueQuery = std::function<std::optional<std::string>(const std::string& path)>;

// "\StringFileInfo\llllcccc\name" with language and code page as four lower-case hex digits.
[[nodiscard]] std::string StringValuePath(Translation translation, const std::string& name);

// The value `name` under the first translation, else under the first (code page, language) pair of
// the fallback lists that holds it, the code-page loop outer; empty when none does. A value longer
// than kMaxValueLength is cut there.
[[nodiscard]] std::string QueryVersionString(const ValueQuery& query, Translation first, const std::string& name);

// "%s %s HELDRIC" of the configured title and "Ver " + fileVersion; without a version block
// (fileVersion is nullopt) the version text is empty, which leaves two blanks.
[[nodiscard]] std::string MainTitle(const std::string& title, const std::optional<std::string>& fileVersion);

// A file time of the version dialog: "%4d.%2.2d.%2.2d-%2.2d.%2.2d.%2.2d", e.g. 2024.01.05-09.07.03.
[[nodiscard]] std::string FormatFileDate(int year, int month, int day, int hour, int minute, int second);

}  // namespace version
