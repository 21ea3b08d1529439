// The screen font's pixels: 5 by 7 glyphs of the printable ASCII characters, column by
// column, the lowest bit at the top. Text metrics are derived from this cell so that
// what is measured is what is painted.
#pragma once

#include <cstdint>

namespace om_glyphs {
constexpr int CellWidth = 6;    // 5 columns and one of space, at a height of 11 pixels
constexpr int CellHeight = 11;  // the platform's default font, MS Sans Serif 8 (-11)
// The pattern of a character, or null for one that has none (drawn as a box).
const std::uint8_t* Glyph(unsigned char C);
}  // namespace om_glyphs
