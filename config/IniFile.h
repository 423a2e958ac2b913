// Typed access to one INI file: current section, numbers, texts, lists and load/save exchanges.
#pragma once

#include "config/ProfileStore.h"

#include <array>
#include <functional>
#include <string>
#include <vector>

// The longest leading decimal number of `text` after blanks and a sign (no hex, inf or nan), or
// 0.0 when it has none; an exponent beyond the double range gives an infinity.
[[nodiscard]] double LeadingDecimal(const std::string& text);

// Every read and write goes straight to the profile store; the object keeps no file data, so two
// objects on one file see each other's writes at once. Failed writes are reported only by the
// Raw* and Write*List operations; the Exchange* operations ignore them.
class CIniFile {
public:
    // One entry of the two-way translation between file text and caller text.
    struct MapItem {
        std::string fileText;   // as stored in the file
        std::string valueText;  // as callers see it
    };

    // `store` must outlive the object; its path is the file this object works on.
    CIniFile(IProfileStore& store, std::string section);

    // --- replaceable operations, in this order -------------------------------------------------
    // Hook, or strtol base 0 (blanks, sign, 0x hex, leading-0 octal); no digits gives 0; values
    // beyond int saturate.
    virtual int StrToInt(const std::string& text);
    // Hook, or the longest leading decimal number (no hex, inf or nan); none gives 0.0.
    virtual double StrToDouble(const std::string& text);
    // Hook, or FormatSignificant(value, digits).
    virtual std::string DoubleToStr(double value);
    // Hook, or "%d".
    virtual std::string IntToStr(int value);
    // The key's whole text, of any length, or `def` when missing.
    virtual std::string ReadString(const std::string& section, const std::string& key,
                                   const std::string& def);
    virtual unsigned RawGetString(const char* section, const char* key, const char* def,
                                  char* buffer, unsigned size);
    // A null value deletes the key.
    [[nodiscard]] virtual bool RawWriteString(const char* section, const char* key,
                                              const char* value);
    virtual unsigned RawGetSection(const char* section, char* buffer, unsigned size);
    [[nodiscard]] virtual bool RawWriteSection(const char* section, const char* entries);
    // valueText of the first item whose fileText equals `text` exactly, else `text`.
    virtual std::string MapFromFile(const std::string& text);
    // fileText of the first item whose valueText equals `text` exactly, else `text`.
    virtual std::string MapToFile(const std::string& text);

    virtual ~CIniFile() = default;

    // --- operations on the current section ----------------------------------------------------
    void SetSection(const std::string& name) { section = name; }
    const std::string& Section() const { return section; }

    std::string ReadMapped(const std::string& key, const std::string& def);
    [[nodiscard]] bool WriteMapped(const std::string& key, const std::string& value);

    // Splits the whole text at the separator (blanks before a piece skipped, a piece opened by '"'
    // may hold separators) and maps every piece from file text. Replaces `pieces`; returns the
    // count, 0 for an empty text.
    int SplitList(const std::string& text, std::vector<std::string>& pieces);
    // The same, stopping after maxCount pieces; `pieces` must have room for maxCount. 0 when
    // maxCount <= 0 or the text is empty.
    int SplitList(const std::string& text, std::string* pieces, int maxCount);

    void ReadStringList(const std::string& key, std::vector<std::string>& list,
                        const std::string& def);
    void ReadIntList(const std::string& key, std::vector<int>& list, const std::string& def);
    // Write the values joined by the separator; return count when written, 0 on failure. A count
    // of 0 or less writes an empty value.
    int WriteIntList(const std::string& key, const int* values, int count);
    int WriteDoubleList(const std::string& key, const double* values, int count);

    // save != 0 writes the field; otherwise a missing or empty key loads the default.
    void ExchangeInt(int save, const std::string& key, int& field, int def);
    void ExchangeDouble(int save, const std::string& key, double& field, double def);
    // Load: a missing key gives the default, an empty value the empty text.
    void ExchangeString(int save, const std::string& key, std::string& field,
                        const std::string& def);
    // Load: at most 3 (or count) pieces of the key's text (or `def`) replace the leading fields;
    // fields without a piece keep their value.
    void ExchangeIntTriple(int save, const std::string& key, std::array<int, 3>& field,
                           const std::string& def);
    void ExchangeDoubleList(int save, const std::string& key, double* field, int count,
                            const std::string& def);

    std::string path;       // file path, from the store; empty means no file
    std::string section;    // current section of all key operations
    char separator = ',';   // list separator
    int digits = 15;        // significant digits of doubles written to the file
    std::function<int(const std::string&)> strToIntHook;
    std::function<double(const std::string&)> strToDoubleHook;
    std::function<std::string(int)> intToStrHook;
    std::function<std::string(double)> doubleToStrHook;
    std::vector<MapItem> aliases;

private:
    IProfileStore& store_;
};
