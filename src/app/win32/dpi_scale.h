#pragma once

#include <cmath>

namespace treadkey {

// The window's design is in twips at 96 dpi (15 twips a pixel); at another DPI each length is scaled, never
// the drawn window stretched.
inline constexpr int kDesignDpi = 96;

inline int PixelsAt(int twips, int dpi) {
    return static_cast<int>(std::lround(twips * double(dpi) / (15.0 * kDesignDpi)));
}

// A GDI font height for a size in points: negative, so that it is the characters' height, not the cell's.
inline int FontHeightAt(double points, int dpi) {
    return -static_cast<int>(std::lround(points * dpi / 72.0));
}

} // namespace treadkey
