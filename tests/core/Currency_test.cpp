#include "core/Currency.h"

#include <random>

#include <gtest/gtest.h>

namespace kestrelon {
namespace {

RegionalFormat German() {
    RegionalFormat format;
    format.decimalSeparator = ",";
    format.thousandsSeparator = ".";
    format.currencySymbol = "\xE2\x82\xAC";
    format.symbolBeforeAmount = false;
    format.symbolSeparatedBySpace = true;
    return format;
}

std::optional<Currency> Money(std::int64_t tenThousandths) {
    return Currency{tenThousandths};
}

TEST(Currency, ParsesWhatAUserTypes) {
    const RegionalFormat us;
    EXPECT_EQ(ParseCurrency("$1,234.56", us), Money(12345600));
    EXPECT_EQ(ParseCurrency(" 1234.5 ", us), Money(12345000));
    EXPECT_EQ(ParseCurrency("-$2.50", us), Money(-25000));
    EXPECT_EQ(ParseCurrency("$-2.50", us), Money(-25000));
    EXPECT_EQ(ParseCurrency("($2.50)", us), Money(-25000));
    EXPECT_EQ(ParseCurrency("2.50-", us), Money(-25000));
    EXPECT_EQ(ParseCurrency(".5", us), Money(5000));
    for (const char* bad : {"", "$", "-", "abc", "1.2.3", "12a", "1,5.5.5", "$$1"}) {
        EXPECT_EQ(ParseCurrency(bad, us), std::nullopt) << bad;
    }

    const RegionalFormat de = German();
    EXPECT_EQ(ParseCurrency("1.234,56 \xE2\x82\xAC", de), Money(12345600));
    EXPECT_EQ(ParseCurrency("0,0025", de), Money(25));
    EXPECT_EQ(ParseCurrency("-3 \xE2\x82\xAC", de), Money(-30000));
}

TEST(Currency, MoreThanFourDecimalsRoundHalfToEven) {
    const RegionalFormat us;
    EXPECT_EQ(ParseCurrency("0.00005", us), Money(0));
    EXPECT_EQ(ParseCurrency("0.00015", us), Money(2));
    EXPECT_EQ(ParseCurrency("0.000050001", us), Money(1));
    EXPECT_EQ(ParseCurrency("-0.00015", us), Money(-2));
    EXPECT_EQ(ParseCurrency("1.23449", us), Money(12345));
}

TEST(Currency, DisplayFollowsTheRegionalFormat) {
    RegionalFormat us;
    EXPECT_EQ(FormatCurrency(Currency{12345600}, us), "$1,234.56");
    EXPECT_EQ(FormatCurrency(Currency{0}, us), "$0.00");
    EXPECT_EQ(FormatCurrency(Currency{-25000}, us), "-$2.50");
    EXPECT_EQ(FormatCurrency(Currency::FromUnits(123456789), us), "$123,456,789.00");
    EXPECT_EQ(FormatCurrency(Currency{12367}, us), "$1.24");
    us.negativeInParentheses = true;
    EXPECT_EQ(FormatCurrency(Currency{-25000}, us), "($2.50)");

    const RegionalFormat de = German();
    EXPECT_EQ(FormatCurrency(Currency{12345600}, de), "1.234,56 \xE2\x82\xAC");
    EXPECT_EQ(FormatCurrency(Currency{-12345600}, de), "-1.234,56 \xE2\x82\xAC");

    RegionalFormat yen;
    yen.currencySymbol = "\xC2\xA5";
    yen.currencyDigits = 0;
    EXPECT_EQ(FormatCurrency(Currency{12346000}, yen),
              "\xC2\xA5"
              "1,235");
}

TEST(Currency, PlainAndDisplayFormsReadBackExactly) {
    std::mt19937_64 rng(4711);
    std::uniform_int_distribution<std::int64_t> value(-90'000'000'000'000'000,
                                                      90'000'000'000'000'000);
    RegionalFormat fourDigits = German();
    fourDigits.currencyDigits = 4;
    for (int i = 0; i < 2000; ++i) {
        const Currency money{i < 10 ? i - 5 : value(rng)};
        for (const RegionalFormat& format : {RegionalFormat{}, German(), fourDigits}) {
            ASSERT_EQ(ParseCurrency(CurrencyToPlainText(money, format), format), money)
                << CurrencyToPlainText(money, format);
        }
        ASSERT_EQ(ParseCurrency(FormatCurrency(money, fourDigits), fourDigits), money)
            << FormatCurrency(money, fourDigits);
    }
    EXPECT_EQ(CurrencyToPlainText(Currency{15000}, German()), "1,5");
    EXPECT_EQ(CurrencyToPlainText(Currency::FromUnits(-3), RegionalFormat{}), "-3");
}

}  // namespace
}  // namespace kestrelon
