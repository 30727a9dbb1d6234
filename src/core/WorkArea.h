#pragma once

namespace kestrelon {

struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const Rect&) const = default;
};

// Moves a window into the work area (the screen less the panels): left edge, then top, then
// right, then bottom, so a window larger than the work area ends on its right or bottom edge.
Rect KeepInWorkArea(Rect window, const Rect& workArea);

}  // namespace kestrelon
