#include "mainwindow/TrayCounter.h"

#include <algorithm>
#include <array>

namespace kestrelon {

namespace {

// Rows 3 to 12 of each digit; bit 8 of a row is its leftmost pixel.
constexpr std::array<const char*, 10> kGlyphRows = {
    "6999999996", "2622222227", "691122448F", "6911611196", "9999F11111",
    "F888E11196", "6988E99996", "F112244444", "6999699996", "6999711196",
};
constexpr int kGlyphTop = 3;

int HexValue(char c) {
    return c <= '9' ? c - '0' : c - 'A' + 10;
}

// Copies a block of whole columns, as the bit-block transfers of the drawing do.
void CopyColumns(const IconImage& from, int fromX, int width, IconImage& to, int toX) {
    for (int dx = 0; dx < width; ++dx) {
        const int sx = fromX + dx;
        const int tx = toX + dx;
        if (tx < 0 || tx >= to.width) {
            continue;
        }
        for (int y = 0; y < to.height; ++y) {
            to.At(tx, y) = sx < from.width ? from.At(sx, y) : kStripBackground;
        }
    }
}

std::int64_t Power10(int n) {
    std::int64_t p = 1;
    for (int i = 0; i < n; ++i) {
        p *= 10;
    }
    return p;
}

}  // namespace

IconImage DigitStrip() {
    IconImage strip(kStripWidth, kStripHeight, kStripBackground);
    for (int d = 0; d < 10; ++d) {
        for (int row = 0; row < 10; ++row) {
            const int bits = HexValue(kGlyphRows[static_cast<std::size_t>(d)][row]);
            for (int px = 0; px < 4; ++px) {
                if ((bits & (8 >> px)) != 0) {
                    strip.At(4 * d + px, kGlyphTop + row) = kStripGlyph;
                }
            }
        }
    }
    strip.At(kStripColonColumn, 5) = kStripGlyph;
    strip.At(kStripColonColumn, 10) = kStripGlyph;
    strip.At(kStripPointColumn, 12) = kStripGlyph;
    return strip;
}

std::uint32_t PaletteColour(int n) {
    static constexpr std::array<std::uint32_t, 16> kPalette = {
        0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0xC0C0C0,
        0x808080, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF,
    };
    return n >= 0 && n < 16 ? kPalette[static_cast<std::size_t>(n)] : 0;
}

IconImage PlotTimeImage(const std::string& digits, std::uint32_t rgb, int mode) {
    static const IconImage strip = DigitStrip();
    IconImage work(16, 16, kStripBackground);
    // The blank 16 columns from the decimal point on; the point itself is always overdrawn.
    CopyColumns(strip, kStripPointColumn, 16, work, 0);
    if (mode == 0) {
        CopyColumns(strip, kStripColonColumn, 1, work, 5);
    } else {
        CopyColumns(strip, kStripPointColumn, 1, work, (mode - 1) * 5);
    }
    int off = 0;
    constexpr std::array<int, 3> kPlaces = {0, 6, 11};
    for (int i = 0; i < 3; ++i) {
        if ((mode == 1 && i == 0) || ((mode == 0 || mode == 2) && i == 1) ||
            (mode == 3 && i == 2)) {
            off = 1;
        }
        const char c =
            i < static_cast<int>(digits.size()) ? digits[static_cast<std::size_t>(i)] : ' ';
        // A character that is no digit draws the blank part of the strip.
        const int column = c >= '0' && c <= '9' ? 4 * (c - '0') : kStripPointColumn + 1;
        CopyColumns(strip, column, 4, work, off + kPlaces[static_cast<std::size_t>(i)]);
    }
    IconImage icon(16, 16, 0);
    const std::uint32_t opaque = 0xFF000000 | (rgb & 0xFFFFFF);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            if (work.At(x, y) != kStripBackground) {
                icon.At(x, y) = opaque;
            }
        }
    }
    return icon;
}

std::string TimeDigits(long long seconds) {
    const long long hours = seconds / 3600;
    const long long minutes = (seconds % 3600) / 60;
    std::string text = std::to_string(hours % 10);
    text += static_cast<char>('0' + minutes / 10);
    text += static_cast<char>('0' + minutes % 10);
    return text;
}

TrayDigits ChargesToTrayDigits(Currency amount, int currencyDigits) {
    // Whole ten-thousandths, so 1.23 gives 123 and not 122 as floating point might.
    const std::int64_t t = std::max<std::int64_t>(amount.tenThousandths, 0);
    int e = 0;
    if (t > 0) {
        int digitsOfT = 0;
        for (std::int64_t v = t; v > 0; v /= 10) {
            ++digitsOfT;
        }
        e = digitsOfT - 1 - 4;
    }
    const int d = currencyDigits;
    if (-d > e - 2) {
        e = 2 - d;
    }
    TrayDigits result;
    for (int i = 0; i < 3; ++i) {
        // The digit at 10^(e - i) of the amount, i.e. at 10^(e - i + 4) of t.
        const int place = e - i + 4;
        const std::int64_t shifted = place >= 0 ? t / Power10(place) : t * Power10(-place);
        result.digits += static_cast<char>('0' + shifted % 10);
    }
    result.mode = std::clamp(e + 2, 1, 4);
    return result;
}

}  // namespace kestrelon
