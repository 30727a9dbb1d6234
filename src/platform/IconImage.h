#pragma once

#include <cstdint>
#include <vector>

namespace kestrelon {

// A small ARGB picture (0xAARRGGBB, rows top to bottom) such as a tray icon.
struct IconImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    IconImage() = default;
    IconImage(int w, int h, std::uint32_t fill = 0)
        : width(w), height(h), pixels(static_cast<std::size_t>(w) * h, fill) {}
    std::uint32_t& At(int x, int y) { return pixels[static_cast<std::size_t>(y) * width + x]; }
    std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
    bool operator==(const IconImage&) const = default;
};

}  // namespace kestrelon
