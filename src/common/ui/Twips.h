#pragma once

namespace shop {

// Column widths are stored and exchanged in twips, as the suite's settings tables
// hold them; the screen works in pixels (15 twips to the pixel at 96 dpi).
constexpr int kTwipsPerPixel = 15;

constexpr int twipsToPixels(int twips) { return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel; }
constexpr int pixelsToTwips(int pixels) { return pixels * kTwipsPerPixel; }

} // namespace shop
