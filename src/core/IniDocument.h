#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrelon {

// An INI file held in memory line by line, so that a rewrite keeps every line it did not
// change: unknown sections and keys, comments, blank lines, the byte order mark and the line
// ends. Section and key names are matched without regard to letter case; the first section
// of a name and the first key of a name in it count, as on the platform's own INI service.
class IniDocument {
  public:
    static IniDocument Parse(std::string_view text);

    std::optional<std::string> Get(std::string_view section, std::string_view key) const;
    void Set(std::string_view section, std::string_view key, std::string_view value);
    void RemoveKey(std::string_view section, std::string_view key);
    void RemoveSection(std::string_view section);
    bool HasSection(std::string_view section) const;
    // Key names of a section in file order.
    std::vector<std::string> Keys(std::string_view section) const;

    std::string Serialize() const;

  private:
    struct Line {
        enum class Kind { Other, Section, Key };
        Kind kind = Kind::Other;
        std::string text;   // the line as read, without its line end
        std::string name;   // section or key name, trimmed
        std::string value;  // key value, trimmed and unquoted
    };

    // Index of the section header line, or npos.
    std::size_t FindSection(std::string_view section) const;
    // One past the last line belonging to the section that starts at header.
    std::size_t SectionEnd(std::size_t header) const;
    std::size_t FindKey(std::size_t header, std::string_view key) const;

    std::vector<Line> lines_;
    std::string lineEnd_ = "\n";
    bool byteOrderMark_ = false;
    bool finalLineEnd_ = true;
};

bool EqualsIgnoreCase(std::string_view a, std::string_view b);
std::string Trim(std::string_view text);
std::string ToLower(std::string_view text);

}  // namespace kestrelon
