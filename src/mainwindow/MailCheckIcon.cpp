#include "mainwindow/MailCheckIcon.h"

namespace kestrelon {

IconImage NewMailIcon() {
    constexpr std::uint32_t kGround = 0xFFFFD800;
    constexpr std::uint32_t kPaper = 0xFFFFFFFF;
    constexpr std::uint32_t kInk = 0xFF202020;
    IconImage icon(16, 16, 0);
    for (int y = 1; y < 15; ++y) {
        for (int x = 0; x < 16; ++x) {
            icon.At(x, y) = kGround;
        }
    }
    // The envelope: a frame with the flap's two diagonals meeting in the middle.
    for (int y = 3; y <= 12; ++y) {
        for (int x = 1; x <= 14; ++x) {
            const bool frame = y == 3 || y == 12 || x == 1 || x == 14;
            const bool flap = y <= 9 && (x - 1 == y - 3 || 14 - x == y - 3);
            icon.At(x, y) = frame || flap ? kInk : kPaper;
        }
    }
    return icon;
}

}  // namespace kestrelon
