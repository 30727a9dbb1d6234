#include "core/WorkArea.h"

namespace kestrelon {

Rect KeepInWorkArea(Rect window, const Rect& workArea) {
    const int right = workArea.left + workArea.width;
    const int bottom = workArea.top + workArea.height;
    if (window.left < workArea.left) {
        window.left = workArea.left;
    }
    if (window.top < workArea.top) {
        window.top = workArea.top;
    }
    if (window.left + window.width > right) {
        window.left = right - window.width;
    }
    if (window.top + window.height > bottom) {
        window.top = bottom - window.height;
    }
    return window;
}

}  // namespace kestrelon
