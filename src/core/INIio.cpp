#include "core/INIio.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "core/AtomicFile.h"
#include "core/ProgramDirectory.h"

namespace kestrelon {

namespace {

std::optional<RegionalFormat>& RegionalFormatSetting() {
    static std::optional<RegionalFormat> format;
    return format;
}

IniDocument LoadDocument(const std::string& path) {
    auto content = ReadWholeFile(path);
    return content ? IniDocument::Parse(*content) : IniDocument{};
}

// What the platform's profile-string read with a fixed buffer gives back: at most the buffer
// less its terminator.
std::string ThroughReadBuffer(std::string value) {
    if (value.size() >= kIniReadBuffer) {
        value.resize(kIniReadBuffer - 1);
    }
    return StripAtNul(value + '\0');
}

}  // namespace

std::string IniPath(std::string_view file) {
    return InProgramDirectory(file.empty() ? std::string(kIniFileName) : std::string(file));
}

std::string StripAtNul(std::string_view text) {
    const auto nul = text.find('\0');
    return nul == std::string_view::npos ? std::string() : std::string(text.substr(0, nul));
}

double LeadingNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) {
        ++i;
    }
    std::size_t end = i;
    if (end < text.size() && (text[end] == '-' || text[end] == '+')) {
        ++end;
    }
    bool digits = false;
    bool point = false;
    while (end < text.size()) {
        const char c = text[end];
        if (c >= '0' && c <= '9') {
            digits = true;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            break;
        }
        ++end;
    }
    if (!digits) {
        return 0;
    }
    std::string number(text.substr(i, end - i));
    if (number.front() == '+') {
        number.erase(0, 1);
    }
    double value = 0;
    std::from_chars(number.data(), number.data() + number.size(), value);
    return value;
}

const RegionalFormat& IniRegionalFormat() {
    auto& format = RegionalFormatSetting();
    if (!format) {
        format = RegionalFormat::FromCurrentLocale();
    }
    return *format;
}

void SetIniRegionalFormat(const RegionalFormat& format) {
    RegionalFormatSetting() = format;
}

std::string IniReadString(std::string_view section, std::string_view key, std::string_view file) {
    auto value = LoadDocument(IniPath(file)).Get(section, key);
    return value ? ThroughReadBuffer(*value) : std::string();
}

double IniReadNumber(std::string_view section, std::string_view key, std::string_view file) {
    return LeadingNumber(IniReadString(section, key, file));
}

bool IniReadBool(std::string_view section, std::string_view key, std::string_view file) {
    return EqualsIgnoreCase(Trim(IniReadString(section, key, file)), "True");
}

Currency IniReadCurrency(std::string_view section, std::string_view key, std::string_view file) {
    return ParseCurrency(IniReadString(section, key, file), IniRegionalFormat())
        .value_or(Currency{});
}

std::string IniBoolText(bool value) {
    return value ? "True" : "False";
}

std::string IniNumberText(double value) {
    if (std::isfinite(value) && value == std::floor(value) && std::fabs(value) < 1e15) {
        return std::to_string(static_cast<long long>(value));
    }
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.7g", value);
    return buffer;
}

void IniWrite(std::string_view section, std::string_view key, std::string_view value,
              std::string_view file) {
    IniBatch batch(file);
    batch.Write(section, key, value);
}

void IniWrite(std::string_view section, std::string_view key, const char* value,
              std::string_view file) {
    IniWrite(section, key, std::string_view(value), file);
}

void IniWrite(std::string_view section, std::string_view key, bool value, std::string_view file) {
    IniWrite(section, key, std::string_view(IniBoolText(value)), file);
}

void IniWrite(std::string_view section, std::string_view key, long long value,
              std::string_view file) {
    IniWrite(section, key, std::string_view(std::to_string(value)), file);
}

void IniWrite(std::string_view section, std::string_view key, int value, std::string_view file) {
    IniWrite(section, key, static_cast<long long>(value), file);
}

void IniWrite(std::string_view section, std::string_view key, Currency value,
              std::string_view file) {
    IniWrite(section, key, std::string_view(CurrencyToPlainText(value, IniRegionalFormat())), file);
}

void IniDeleteKey(std::string_view section, std::string_view key, std::string_view file) {
    IniBatch batch(file);
    batch.DeleteKey(section, key);
}

void IniDeleteSection(std::string_view section, std::string_view file) {
    IniBatch batch(file);
    batch.DeleteSection(section);
}

IniBatch::IniBatch(std::string_view file) : path_(IniPath(file)), document_(LoadDocument(path_)) {}

IniBatch::~IniBatch() {
    Commit();
}

void IniBatch::Write(std::string_view section, std::string_view key, std::string_view value) {
    document_.Set(section, key, value);
    dirty_ = true;
}

void IniBatch::Write(std::string_view section, std::string_view key, const char* value) {
    Write(section, key, std::string_view(value));
}

void IniBatch::Write(std::string_view section, std::string_view key, bool value) {
    Write(section, key, std::string_view(IniBoolText(value)));
}

void IniBatch::Write(std::string_view section, std::string_view key, long long value) {
    Write(section, key, std::string_view(std::to_string(value)));
}

void IniBatch::Write(std::string_view section, std::string_view key, int value) {
    Write(section, key, static_cast<long long>(value));
}

void IniBatch::Write(std::string_view section, std::string_view key, Currency value) {
    Write(section, key, std::string_view(CurrencyToPlainText(value, IniRegionalFormat())));
}

void IniBatch::DeleteKey(std::string_view section, std::string_view key) {
    document_.RemoveKey(section, key);
    dirty_ = true;
}

void IniBatch::DeleteSection(std::string_view section) {
    document_.RemoveSection(section);
    dirty_ = true;
}

std::string IniBatch::ReadString(std::string_view section, std::string_view key) const {
    auto value = document_.Get(section, key);
    return value ? ThroughReadBuffer(*value) : std::string();
}

bool IniBatch::Commit() {
    if (!dirty_) {
        return true;
    }
    dirty_ = false;
    // Write failures are not reported to the caller's user; the old file stays intact.
    return ReplaceFileAtomically(path_, document_.Serialize());
}

}  // namespace kestrelon
