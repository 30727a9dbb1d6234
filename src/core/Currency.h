#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kestrelon {

// Money: a signed count of ten-thousandths of the user's money unit.
struct Currency {
    std::int64_t tenThousandths = 0;

    static constexpr Currency FromUnits(std::int64_t units) { return {units * 10000}; }
    auto operator<=>(const Currency&) const = default;
    Currency operator+(Currency other) const { return {tenThousandths + other.tenThousandths}; }
    Currency operator-(Currency other) const { return {tenThousandths - other.tenThousandths}; }
    Currency& operator+=(Currency other) {
        tenThousandths += other.tenThousandths;
        return *this;
    }
};

// How the user writes numbers and money, taken from the system's locale.
struct RegionalFormat {
    std::string decimalSeparator = ".";
    std::string thousandsSeparator = ",";
    std::string currencySymbol = "$";
    int currencyDigits = 2;
    bool symbolBeforeAmount = true;
    bool symbolSeparatedBySpace = false;
    // Negative money as "(amount)" instead of with a minus sign.
    bool negativeInParentheses = false;

    // The C library's view of the current locale (LC_NUMERIC and LC_MONETARY).
    static RegionalFormat FromCurrentLocale();
};

// Reads a money text the way the user would type it: digits with the regional decimal and
// thousands separators, optionally the currency symbol, a leading or trailing minus sign or
// parentheses. More than four decimals are rounded half to even. Nothing on failure.
std::optional<Currency> ParseCurrency(std::string_view text, const RegionalFormat& format);

// The plain number form written to INI files: regional decimal separator, no grouping, no
// symbol, only as many decimals as needed ("1,5" in a comma-decimal locale).
std::string CurrencyToPlainText(Currency value, const RegionalFormat& format);

// The display form with symbol, grouping and the locale's number of decimals.
std::string FormatCurrency(Currency value, const RegionalFormat& format);

}  // namespace kestrelon
