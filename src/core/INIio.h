#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/Currency.h"
#include "core/IniDocument.h"

namespace kestrelon {

// INI access. Every operation takes a file name; "" means "Kestrelon.Ini", and relative names
// are looked up in the program directory. Each read sees the file as it is on disk now, so a
// hand edit made while the program runs counts at the next read. A missing file, section or
// key reads as "", 0 or false.

inline constexpr std::string_view kIniFileName = "Kestrelon.Ini";
// Values are read through a buffer of this many characters, terminator included.
inline constexpr std::size_t kIniReadBuffer = 1024;

std::string IniPath(std::string_view file);

std::string IniReadString(std::string_view section, std::string_view key,
                          std::string_view file = {});
// The leading decimal number of the text; 0 when there is none.
double IniReadNumber(std::string_view section, std::string_view key, std::string_view file = {});
// True only for "True" in any letter case, blanks around it ignored.
bool IniReadBool(std::string_view section, std::string_view key, std::string_view file = {});
// Money in the user's regional form; 0 when the text does not convert.
Currency IniReadCurrency(std::string_view section, std::string_view key,
                         std::string_view file = {});

void IniWrite(std::string_view section, std::string_view key, std::string_view value,
              std::string_view file = {});
void IniWrite(std::string_view section, std::string_view key, const char* value,
              std::string_view file = {});
void IniWrite(std::string_view section, std::string_view key, bool value,
              std::string_view file = {});
void IniWrite(std::string_view section, std::string_view key, long long value,
              std::string_view file = {});
void IniWrite(std::string_view section, std::string_view key, int value,
              std::string_view file = {});
void IniWrite(std::string_view section, std::string_view key, Currency value,
              std::string_view file = {});
void IniDeleteKey(std::string_view section, std::string_view key, std::string_view file = {});
void IniDeleteSection(std::string_view section, std::string_view file = {});

// The text forms used by the writers.
std::string IniBoolText(bool value);
std::string IniNumberText(double value);

// The part before the first NUL character, or "" when there is none.
std::string StripAtNul(std::string_view text);
// The leading decimal number of a text (blanks before it skipped), 0 when there is none.
double LeadingNumber(std::string_view text);

// The regional format used for money in INI files; taken from the locale at first use.
const RegionalFormat& IniRegionalFormat();
void SetIniRegionalFormat(const RegionalFormat& format);

// A set of writes to one file that reaches the disk as one atomic replacement, so that saving
// many keys rewrites the file once. The file is read when the batch starts; Commit (or the
// destructor) writes it back when anything changed.
class IniBatch {
  public:
    explicit IniBatch(std::string_view file = {});
    ~IniBatch();
    IniBatch(const IniBatch&) = delete;
    IniBatch& operator=(const IniBatch&) = delete;

    void Write(std::string_view section, std::string_view key, std::string_view value);
    void Write(std::string_view section, std::string_view key, const char* value);
    void Write(std::string_view section, std::string_view key, bool value);
    void Write(std::string_view section, std::string_view key, long long value);
    void Write(std::string_view section, std::string_view key, int value);
    void Write(std::string_view section, std::string_view key, Currency value);
    void DeleteKey(std::string_view section, std::string_view key);
    void DeleteSection(std::string_view section);
    // Reads see the batch's own pending writes.
    std::string ReadString(std::string_view section, std::string_view key) const;
    bool Commit();

  private:
    std::string path_;
    IniDocument document_;
    bool dirty_ = false;
};

}  // namespace kestrelon
