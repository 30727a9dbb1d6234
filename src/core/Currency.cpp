#include "core/Currency.h"

#include <algorithm>
#include <clocale>
#include <cstdlib>
#include <limits>

#include "core/IniDocument.h"

namespace kestrelon {

namespace {

constexpr std::int64_t kScale = 10000;

bool ConsumePrefix(std::string_view& text, std::string_view prefix) {
    if (!prefix.empty() && text.starts_with(prefix)) {
        text.remove_prefix(prefix.size());
        return true;
    }
    return false;
}

bool ConsumeSuffix(std::string_view& text, std::string_view suffix) {
    if (!suffix.empty() && text.ends_with(suffix)) {
        text.remove_suffix(suffix.size());
        return true;
    }
    return false;
}

std::string_view TrimView(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

std::string GroupDigits(const std::string& digits, const std::string& separator) {
    std::string out;
    const std::size_t n = digits.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0) {
            out += separator;
        }
        out += digits[i];
    }
    return out;
}

}  // namespace

RegionalFormat RegionalFormat::FromCurrentLocale() {
    RegionalFormat format;
    const std::lconv* conv = std::localeconv();
    if (conv == nullptr) {
        return format;
    }
    auto text = [](const char* s, const char* fallback) {
        return s != nullptr && *s != '\0' ? std::string(s) : std::string(fallback);
    };
    format.decimalSeparator = text(conv->mon_decimal_point, text(conv->decimal_point, ".").c_str());
    format.thousandsSeparator = conv->mon_thousands_sep != nullptr ? conv->mon_thousands_sep : "";
    format.currencySymbol = conv->currency_symbol != nullptr ? conv->currency_symbol : "";
    if (conv->frac_digits != std::numeric_limits<char>::max()) {
        format.currencyDigits = conv->frac_digits;
    }
    if (conv->p_cs_precedes != std::numeric_limits<char>::max()) {
        format.symbolBeforeAmount = conv->p_cs_precedes != 0;
    }
    if (conv->p_sep_by_space != std::numeric_limits<char>::max()) {
        format.symbolSeparatedBySpace = conv->p_sep_by_space != 0;
    }
    format.negativeInParentheses = conv->n_sign_posn == 0;
    return format;
}

std::optional<Currency> ParseCurrency(std::string_view text, const RegionalFormat& format) {
    text = TrimView(text);
    bool negative = false;
    if (text.size() >= 2 && text.front() == '(' && text.back() == ')') {
        negative = true;
        text = TrimView(text.substr(1, text.size() - 2));
    }
    auto consumeSign = [&] {
        if (ConsumePrefix(text, "-")) {
            negative = !negative;
            text = TrimView(text);
        } else if (ConsumePrefix(text, "+")) {
            text = TrimView(text);
        }
        if (ConsumeSuffix(text, "-")) {
            negative = !negative;
            text = TrimView(text);
        }
    };
    consumeSign();
    if (ConsumePrefix(text, format.currencySymbol) || ConsumeSuffix(text, format.currencySymbol)) {
        text = TrimView(text);
        consumeSign();
    }
    if (text.empty()) {
        return std::nullopt;
    }

    // Integer part (with group separators), then the fraction.
    std::int64_t units = 0;
    std::string fraction;
    bool sawDigit = false;
    bool inFraction = false;
    while (!text.empty()) {
        const char c = text.front();
        if (c >= '0' && c <= '9') {
            sawDigit = true;
            if (inFraction) {
                fraction += c;
            } else {
                if (units > (std::numeric_limits<std::int64_t>::max() / kScale - 9) / 10) {
                    return std::nullopt;
                }
                units = units * 10 + (c - '0');
            }
            text.remove_prefix(1);
        } else if (!inFraction && ConsumePrefix(text, format.decimalSeparator)) {
            inFraction = true;
        } else if (!inFraction && ConsumePrefix(text, format.thousandsSeparator)) {
        } else {
            return std::nullopt;
        }
    }
    if (!sawDigit) {
        return std::nullopt;
    }

    std::int64_t fractionValue = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        fractionValue = fractionValue * 10 + (i < fraction.size() ? fraction[i] - '0' : 0);
    }
    if (fraction.size() > 4) {
        // Half to even on the remaining digits.
        const std::string rest = fraction.substr(4);
        const int first = rest[0] - '0';
        const bool beyondHalf = rest.find_first_not_of('0', 1) != std::string::npos;
        if (first > 5 || (first == 5 && (beyondHalf || fractionValue % 2 == 1))) {
            ++fractionValue;
        }
    }
    std::int64_t value = units * kScale + fractionValue;
    return Currency{negative ? -value : value};
}

std::string CurrencyToPlainText(Currency value, const RegionalFormat& format) {
    const bool negative = value.tenThousandths < 0;
    const std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(value.tenThousandths)
                                             : static_cast<std::uint64_t>(value.tenThousandths);
    std::string text = std::to_string(magnitude / kScale);
    std::string fraction = std::to_string(magnitude % kScale + kScale).substr(1);
    while (!fraction.empty() && fraction.back() == '0') {
        fraction.pop_back();
    }
    if (!fraction.empty()) {
        text += format.decimalSeparator + fraction;
    }
    return negative ? "-" + text : text;
}

std::string FormatCurrency(Currency value, const RegionalFormat& format) {
    const bool negative = value.tenThousandths < 0;
    std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(value.tenThousandths)
                                       : static_cast<std::uint64_t>(value.tenThousandths);
    const int digits = std::clamp(format.currencyDigits, 0, 4);
    std::uint64_t divisor = 1;
    for (int i = digits; i < 4; ++i) {
        divisor *= 10;
    }
    // Round half to even to the shown number of decimals.
    std::uint64_t scaled = magnitude / divisor;
    const std::uint64_t remainder = magnitude % divisor;
    if (remainder * 2 > divisor || (remainder * 2 == divisor && scaled % 2 == 1)) {
        ++scaled;
    }
    std::uint64_t unitScale = 1;
    for (int i = 0; i < digits; ++i) {
        unitScale *= 10;
    }
    std::string number = GroupDigits(std::to_string(scaled / unitScale), format.thousandsSeparator);
    if (digits > 0) {
        number +=
            format.decimalSeparator + std::to_string(scaled % unitScale + unitScale).substr(1);
    }
    const std::string space = format.symbolSeparatedBySpace ? " " : "";
    std::string text = format.symbolBeforeAmount ? format.currencySymbol + space + number
                                                 : number + space + format.currencySymbol;
    if (!negative) {
        return text;
    }
    return format.negativeInParentheses ? "(" + text + ")" : "-" + text;
}

}  // namespace kestrelon
