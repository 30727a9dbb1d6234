#include "profiles/ConProfRules.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/IniDocument.h"

namespace kestrelon {

int LeadingDigitsValue(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') {
        ++i;
    }
    constexpr long long kMax = std::numeric_limits<int>::max();
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = std::min(value * 10 + (text[i] - '0'), kMax);
    }
    return static_cast<int>(value);
}

std::string CountDownText(int seconds) {
    const int hours = seconds / 3600;
    const int minutes = (seconds % 3600) / 60;
    std::string text = std::to_string(hours) + ":";
    if (minutes < 10) {
        text += '0';
    }
    return text + std::to_string(minutes);
}

std::optional<int> CountDownSeconds(std::string_view text) {
    if (text.size() >= 6) {
        return std::nullopt;
    }
    const std::size_t colon = text.find(':');
    // Five characters hold at most 9999 minutes or 9999 hours: far inside the int range.
    if (colon == std::string_view::npos) {
        return LeadingDigitsValue(text) * 60;
    }
    return LeadingDigitsValue(text.substr(0, colon)) * 3600 +
           LeadingDigitsValue(text.substr(colon + 1)) * 60;
}

std::string ProgramListLine(std::string_view commandLine) {
    // Both separators count: profiles made on the original platform carry backslashes.
    const std::size_t slash = commandLine.find_last_of("\\/");
    std::string name = slash == std::string_view::npos ? Trim(commandLine)
                                                       : std::string(commandLine.substr(slash + 1));
    const std::size_t dot = name.find('.');
    if (dot != std::string::npos && dot > 0) {
        name.erase(dot);
    }
    return name;
}

std::string ProgramPathOf(std::string_view commandLine) {
    if (commandLine.starts_with('"')) {
        const std::size_t close = commandLine.find('"', 1);
        if (close != std::string_view::npos) {
            return std::string(commandLine.substr(1, close - 1));
        }
    }
    const std::size_t dot = commandLine.find('.');
    if (dot != std::string_view::npos) {
        const std::size_t blank = commandLine.find(' ', dot);
        return Trim(commandLine.substr(0, blank));
    }
    return Trim(commandLine);
}

std::string QuoteProgramPath(std::string_view path) {
    if (path.find_first_of(" \t\"'\\$`") == std::string_view::npos) {
        return std::string(path);
    }
    std::string quoted = "\"";
    for (const char c : path) {
        if (c == '"' || c == '\\' || c == '$' || c == '`') {
            quoted += '\\';
        }
        quoted += c;
    }
    return quoted + "\"";
}

int PaletteColourAt(int x, int y, int width, int height) {
    const int cellWidth = std::max(1, static_cast<int>(std::lround(width / 8.0)));
    const int cellHeight = std::max(1, static_cast<int>(std::lround(height / 2.0)));
    const int column = std::clamp(x / cellWidth, 0, 7);
    const int row = std::clamp(y / cellHeight, 0, 1);
    return row * 8 + column;
}

bool IsSectionNameCharacter(char32_t c) {
    return c >= 0x20 && c != 0x7F && c != '[' && c != ']';
}

}  // namespace kestrelon
