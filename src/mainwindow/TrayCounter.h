#pragma once

#include <cstdint>
#include <string>

#include "core/Currency.h"
#include "platform/IconImage.h"

namespace kestrelon {

// The digit strip the tray counter is built from: 64 x 16, black, glyphs in dark blue.
// Digit d occupies columns 4d..4d+3, rows 3..12; column 40 holds a colon, 41 a decimal
// point; the rest is blank.
inline constexpr int kStripWidth = 64;
inline constexpr int kStripHeight = 16;
inline constexpr int kStripColonColumn = 40;
inline constexpr int kStripPointColumn = 41;
inline constexpr std::uint32_t kStripBackground = 0xFF000000;
inline constexpr std::uint32_t kStripGlyph = 0xFF000080;
IconImage DigitStrip();

// Colour n (0..15) of the 16-colour text-mode palette as 0xRRGGBB; others give black.
std::uint32_t PaletteColour(int n);

// The counter icon: three digits and a separator in the colour on a transparent background.
// Mode 0 d:dd, 1 .ddd, 2 d.dd, 3 dd.d, 4 ddd. ; a character that is no digit stays blank.
IconImage PlotTimeImage(const std::string& digits, std::uint32_t rgb, int mode);

// The time counter's digits: the last digit of the hours and the minutes, 3725 s -> "102".
std::string TimeDigits(long long seconds);

// The charges counter's digits and layout mode for an amount, given the number of decimals
// money has in the user's locale: 0.05 -> "005" mode 2 (0.05), 1234 -> "123" mode 4.
struct TrayDigits {
    std::string digits;
    int mode = 0;
    bool operator==(const TrayDigits&) const = default;
};
TrayDigits ChargesToTrayDigits(Currency amount, int currencyDigits);

}  // namespace kestrelon
