#include "core/IniDocument.h"

#include <algorithm>
#include <cctype>

namespace kestrelon {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr auto npos = std::string::npos;

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string Unquote(std::string value) {
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

}  // namespace

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
    return std::ranges::equal(
        a, b, [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}

std::string Trim(std::string_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsBlank(text[begin])) {
        ++begin;
    }
    while (end > begin && IsBlank(text[end - 1])) {
        --end;
    }
    return std::string(text.substr(begin, end - begin));
}

std::string ToLower(std::string_view text) {
    std::string lower(text);
    std::ranges::transform(lower, lower.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

IniDocument IniDocument::Parse(std::string_view text) {
    IniDocument doc;
    if (text.starts_with(kByteOrderMark)) {
        doc.byteOrderMark_ = true;
        text.remove_prefix(kByteOrderMark.size());
    }
    if (auto lf = text.find('\n'); lf != npos && lf > 0 && text[lf - 1] == '\r') {
        doc.lineEnd_ = "\r\n";
    }
    doc.finalLineEnd_ = text.empty() || text.back() == '\n';

    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t lf = text.find('\n', pos);
        std::string_view raw = text.substr(pos, lf == npos ? npos : lf - pos);
        pos = lf == npos ? text.size() : lf + 1;
        if (!raw.empty() && raw.back() == '\r') {
            raw.remove_suffix(1);
        }

        Line line;
        line.text = std::string(raw);
        const std::string trimmed = Trim(raw);
        if (trimmed.starts_with('[')) {
            auto close = trimmed.find(']');
            line.kind = Line::Kind::Section;
            line.name = Trim(trimmed.substr(1, close == npos ? npos : close - 1));
        } else if (!trimmed.empty() && trimmed.front() != ';' && trimmed.front() != '#') {
            if (auto eq = trimmed.find('='); eq != npos) {
                line.kind = Line::Kind::Key;
                line.name = Trim(trimmed.substr(0, eq));
                line.value = Unquote(Trim(trimmed.substr(eq + 1)));
            }
        }
        doc.lines_.push_back(std::move(line));
    }
    return doc;
}

std::size_t IniDocument::FindSection(std::string_view section) const {
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (lines_[i].kind == Line::Kind::Section && EqualsIgnoreCase(lines_[i].name, section)) {
            return i;
        }
    }
    return npos;
}

std::size_t IniDocument::SectionEnd(std::size_t header) const {
    std::size_t i = header + 1;
    while (i < lines_.size() && lines_[i].kind != Line::Kind::Section) {
        ++i;
    }
    return i;
}

std::size_t IniDocument::FindKey(std::size_t header, std::string_view key) const {
    const std::size_t end = SectionEnd(header);
    for (std::size_t i = header + 1; i < end; ++i) {
        if (lines_[i].kind == Line::Kind::Key && EqualsIgnoreCase(lines_[i].name, key)) {
            return i;
        }
    }
    return npos;
}

std::optional<std::string> IniDocument::Get(std::string_view section, std::string_view key) const {
    const std::size_t header = FindSection(section);
    if (header == npos) {
        return std::nullopt;
    }
    const std::size_t line = FindKey(header, Trim(key));
    if (line == npos) {
        return std::nullopt;
    }
    return lines_[line].value;
}

bool IniDocument::HasSection(std::string_view section) const {
    return FindSection(section) != npos;
}

std::vector<std::string> IniDocument::Keys(std::string_view section) const {
    std::vector<std::string> keys;
    const std::size_t header = FindSection(section);
    if (header != npos) {
        for (std::size_t i = header + 1; i < SectionEnd(header); ++i) {
            if (lines_[i].kind == Line::Kind::Key) {
                keys.push_back(lines_[i].name);
            }
        }
    }
    return keys;
}

void IniDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
    const std::string keyName = Trim(key);
    Line entry;
    entry.kind = Line::Kind::Key;
    entry.value = std::string(value);
    // A line end inside a value would split the entry; the platform's INI service cuts there.
    entry.value = entry.value.substr(0, entry.value.find_first_of("\r\n"));

    std::size_t header = FindSection(section);
    if (header == npos) {
        Line head;
        head.kind = Line::Kind::Section;
        head.name = Trim(section);
        head.text = "[" + head.name + "]";
        lines_.push_back(std::move(head));
        header = lines_.size() - 1;
    }
    if (const std::size_t existing = FindKey(header, keyName); existing != npos) {
        entry.name = lines_[existing].name;  // keep the spelling already in the file
        entry.text = entry.name + "=" + entry.value;
        lines_[existing] = std::move(entry);
        return;
    }
    entry.name = keyName;
    entry.text = entry.name + "=" + entry.value;
    // New keys go after the section's last key, before any blank lines that end it.
    std::size_t insertAt = SectionEnd(header);
    while (insertAt > header + 1 && Trim(lines_[insertAt - 1].text).empty()) {
        --insertAt;
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt), std::move(entry));
}

void IniDocument::RemoveKey(std::string_view section, std::string_view key) {
    const std::size_t header = FindSection(section);
    if (header == npos) {
        return;
    }
    if (const std::size_t line = FindKey(header, Trim(key)); line != npos) {
        lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(line));
    }
}

void IniDocument::RemoveSection(std::string_view section) {
    const std::size_t header = FindSection(section);
    if (header != npos) {
        lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(header),
                     lines_.begin() + static_cast<std::ptrdiff_t>(SectionEnd(header)));
    }
}

std::string IniDocument::Serialize() const {
    std::string out;
    if (byteOrderMark_) {
        out += kByteOrderMark;
    }
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        out += lines_[i].text;
        if (i + 1 < lines_.size() || finalLineEnd_) {
            out += lineEnd_;
        }
    }
    return out;
}

}  // namespace kestrelon
