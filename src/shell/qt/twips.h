#pragma once
// The window is laid out in twips (1/1440 inch): 15 twips make one pixel at 96 dpi.
// Qt scales these logical pixels for high-dpi screens by itself.
#include <QRect>

namespace tessaly::qt {

constexpr int kTwipsPerPixel = 15;

constexpr int twips(int t) {
    // Rounded to the nearest pixel, halves away from zero, so negative offsets
    // round the same way as positive ones.
    return t >= 0 ? (t + kTwipsPerPixel / 2) / kTwipsPerPixel : -((-t + kTwipsPerPixel / 2) / kTwipsPerPixel);
}

inline QRect twipsRect(int left, int top, int width, int height) {
    return {twips(left), twips(top), twips(width), twips(height)};
}

}  // namespace tessaly::qt
