#include "core/Scramble.h"

#include <cstdint>
#include <vector>

namespace kestrelon {

namespace {

// Input characters 32..131 map one to one onto the 100 codes 35..134.
constexpr char32_t kPlainLow = 32;
constexpr char32_t kPlainHigh = 131;
constexpr char32_t kScrambledLow = 35;
constexpr char32_t kScrambledHigh = 134;
constexpr int kRange = 100;

std::vector<char32_t> DecodeUtf8(std::string_view text) {
    std::vector<char32_t> out;
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
        if (c >= 0x80 && c < 0xC0) {
            extra = 0;  // a stray continuation byte is taken as it is
        }
        if (i + static_cast<std::size_t>(extra) >= text.size()) {
            extra = 0;  // a sequence cut short at the end
        }
        char32_t code = extra == 0 ? c : (c & (0x3F >> extra));
        for (int k = 1; k <= extra; ++k) {
            code = (code << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        }
        out.push_back(code);
        i += static_cast<std::size_t>(extra) + 1;
    }
    return out;
}

std::string EncodeUtf8(const std::vector<char32_t>& codes) {
    std::string out;
    for (char32_t c : codes) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

// A small linear congruential sequence seeded from the text's length, so that the same
// password always gets the same offsets and one of another length gets others.
class OffsetSequence {
  public:
    explicit OffsetSequence(std::size_t length)
        : state_(static_cast<std::uint32_t>(length) * 2654435761u + 12345u) {}
    int Next() {
        state_ = state_ * 1103515245u + 12345u;
        return static_cast<int>((state_ >> 16) % kRange);
    }

  private:
    std::uint32_t state_;
};

}  // namespace

std::string ScramblePassword(std::string_view text) {
    auto codes = DecodeUtf8(text);
    OffsetSequence offsets(codes.size());
    for (char32_t& c : codes) {
        const int offset = offsets.Next();
        if (c < kPlainLow || c > kPlainHigh) {
            continue;
        }
        int shifted = static_cast<int>(c) + offset;
        while (shifted > static_cast<int>(kScrambledHigh)) {
            shifted -= kRange;
        }
        while (shifted < static_cast<int>(kScrambledLow)) {
            shifted += kRange;
        }
        c = static_cast<char32_t>(shifted);
    }
    return EncodeUtf8(codes);
}

std::string UnscramblePassword(std::string_view text) {
    auto codes = DecodeUtf8(text);
    OffsetSequence offsets(codes.size());
    for (char32_t& c : codes) {
        const int offset = offsets.Next();
        if (c < kScrambledLow || c > kScrambledHigh) {
            continue;
        }
        int plain = static_cast<int>(c) - offset;
        while (plain < static_cast<int>(kPlainLow)) {
            plain += kRange;
        }
        while (plain > static_cast<int>(kPlainHigh)) {
            plain -= kRange;
        }
        c = static_cast<char32_t>(plain);
    }
    return EncodeUtf8(codes);
}

}  // namespace kestrelon
