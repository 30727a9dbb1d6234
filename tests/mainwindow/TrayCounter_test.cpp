#include "mainwindow/TrayCounter.h"

#include <gtest/gtest.h>

#include <array>
#include <set>
#include <string>
#include <utility>

namespace kestrelon {
namespace {

// The glyph table of the digit strip, rows 3 to 12, leftmost pixel in bit 8.
const std::array<std::string, 10> kTable = {
    "6999999996", "2622222227", "691122448F", "6911611196", "9999F11111",
    "F888E11196", "6988E99996", "F112244444", "6999699996", "6999711196",
};

using Pixels = std::set<std::pair<int, int>>;

void AddGlyph(Pixels& pixels, char digit, int x) {
    const std::string& rows = kTable[static_cast<std::size_t>(digit - '0')];
    for (int row = 0; row < 10; ++row) {
        const int bits =
            std::stoi(std::string(1, rows[static_cast<std::size_t>(row)]), nullptr, 16);
        for (int px = 0; px < 4; ++px) {
            if (bits & (8 >> px)) {
                pixels.insert({x + px, 3 + row});
            }
        }
    }
}

// The icon as the layouts describe it: digit places and the separator of each mode.
Pixels Expected(const std::string& digits, int mode) {
    static const std::array<std::array<int, 3>, 5> kDigitX = {{
        {0, 7, 12},  // d:dd
        {1, 7, 12},  // .ddd
        {0, 7, 12},  // d.dd
        {0, 6, 12},  // dd.d
        {0, 6, 11},  // ddd.
    }};
    static const std::array<int, 5> kSeparatorX = {5, 0, 5, 10, 15};
    Pixels pixels;
    for (int i = 0; i < 3; ++i) {
        AddGlyph(pixels, digits[static_cast<std::size_t>(i)],
                 kDigitX[static_cast<std::size_t>(mode)][static_cast<std::size_t>(i)]);
    }
    const int sx = kSeparatorX[static_cast<std::size_t>(mode)];
    if (mode == 0) {
        pixels.insert({sx, 5});
        pixels.insert({sx, 10});
    } else {
        pixels.insert({sx, 12});
    }
    return pixels;
}

Pixels Opaque(const IconImage& icon, std::uint32_t expectedColour) {
    Pixels pixels;
    for (int y = 0; y < icon.height; ++y) {
        for (int x = 0; x < icon.width; ++x) {
            const std::uint32_t p = icon.At(x, y);
            if (p != 0) {
                EXPECT_EQ(p, 0xFF000000 | expectedColour) << "pixel " << x << "," << y;
                pixels.insert({x, y});
            }
        }
    }
    return pixels;
}

TEST(TrayCounterTest, TheDigitStripHoldsTheGlyphsOfTheTable) {
    const IconImage strip = DigitStrip();
    ASSERT_EQ(strip.width, 64);
    ASSERT_EQ(strip.height, 16);
    Pixels expected;
    for (char d = '0'; d <= '9'; ++d) {
        AddGlyph(expected, d, 4 * (d - '0'));
    }
    expected.insert({40, 5});
    expected.insert({40, 10});
    expected.insert({41, 12});
    Pixels drawn;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 64; ++x) {
            if (strip.At(x, y) == kStripGlyph) {
                drawn.insert({x, y});
            } else {
                EXPECT_EQ(strip.At(x, y), kStripBackground);
            }
        }
    }
    EXPECT_EQ(drawn, expected);
}

TEST(TrayCounterTest, EachModeLaysTheDigitsOutAsDescribed) {
    const std::uint32_t green = PaletteColour(10);
    ASSERT_EQ(green, 0x00FF00U);
    const struct {
        std::string digits;
        int mode;
    } cases[] = {{"102", 0}, {"456", 1}, {"005", 2}, {"123", 3}, {"987", 4}, {"880", 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.digits + " mode " + std::to_string(c.mode));
        const IconImage icon = PlotTimeImage(c.digits, green, c.mode);
        ASSERT_EQ(icon.width, 16);
        ASSERT_EQ(icon.height, 16);
        EXPECT_EQ(Opaque(icon, green), Expected(c.digits, c.mode));
    }
}

TEST(TrayCounterTest, TheCounterTakesThePaletteColourOnATransparentGround) {
    EXPECT_EQ(PaletteColour(7), 0xC0C0C0U);
    EXPECT_EQ(PaletteColour(4), 0x800000U);
    EXPECT_EQ(PaletteColour(12), 0xFF0000U);
    EXPECT_EQ(PaletteColour(16), 0U);
    const IconImage icon = PlotTimeImage("888", PaletteColour(12), 0);
    EXPECT_EQ(icon.At(15, 0), 0U);  // transparent
    EXPECT_EQ(icon.At(1, 3), 0xFFFF0000U);
    EXPECT_EQ(icon.At(0, 3), 0U);
}

TEST(TrayCounterTest, TheTimeDigitsAreTheLastHourDigitAndTheMinutes) {
    EXPECT_EQ(TimeDigits(3725), "102");
    EXPECT_EQ(TimeDigits(59), "000");
    EXPECT_EQ(TimeDigits(10 * 3600 + 5 * 60), "005");
    EXPECT_EQ(TimeDigits(11 * 3600), "100");
    EXPECT_EQ(TimeDigits(3599), "059");
}

Currency Money(double units) {
    return {static_cast<std::int64_t>(units * 10000 + 0.5)};
}

TEST(TrayCounterTest, ChargesWithTwoCurrencyDecimals) {
    EXPECT_EQ(ChargesToTrayDigits(Money(0), 2), (TrayDigits{"000", 2}));
    EXPECT_EQ(ChargesToTrayDigits(Money(0.05), 2), (TrayDigits{"005", 2}));
    EXPECT_EQ(ChargesToTrayDigits(Money(1.23), 2), (TrayDigits{"123", 2}));
    EXPECT_EQ(ChargesToTrayDigits(Money(12.34), 2), (TrayDigits{"123", 3}));
    EXPECT_EQ(ChargesToTrayDigits(Money(1234), 2), (TrayDigits{"123", 4}));
    EXPECT_EQ(ChargesToTrayDigits(Money(99999), 2), (TrayDigits{"999", 4}));
    // The third digit may not lie beyond the cents, so 0.456 shows as 0.45.
    EXPECT_EQ(ChargesToTrayDigits(Money(0.456), 2), (TrayDigits{"045", 2}));
}

TEST(TrayCounterTest, ChargesWithThreeCurrencyDecimals) {
    EXPECT_EQ(ChargesToTrayDigits(Money(0.005), 3), (TrayDigits{"005", 1}));
    EXPECT_EQ(ChargesToTrayDigits(Money(0.456), 3), (TrayDigits{"456", 1}));
    EXPECT_EQ(ChargesToTrayDigits(Money(0.05), 3), (TrayDigits{"050", 1}));
    EXPECT_EQ(ChargesToTrayDigits(Money(1.234), 3), (TrayDigits{"123", 2}));
}

}  // namespace
}  // namespace kestrelon
