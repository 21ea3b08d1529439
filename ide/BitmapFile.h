// The device-independent bitmap file layout shared by bitmaps and image lists:
// little-endian fields and the two headers before the pixel rows.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "System.h"

namespace om_bmp {
inline unsigned U16(const Byte* P) { return unsigned(P[0]) | unsigned(P[1]) << 8; }
inline unsigned U32(const Byte* P) { return U16(P) | U16(P + 2) << 16; }
inline void Put16(std::vector<Byte>& B, unsigned V) {
  B.push_back(Byte(V));
  B.push_back(Byte(V >> 8));
}
inline void Put32(std::vector<Byte>& B, unsigned V) {
  Put16(B, V & 0xFFFF);
  Put16(B, V >> 16);
}

// Bytes of one row of Width pixels at Bits a pixel, padded to whole 32-bit words.
inline size_t RowStride(int Width, int Bits) { return ((size_t(Width) * size_t(Bits) + 31) / 32) * 4; }

// Appends the file and information headers of a bottom-up, uncompressed bitmap, then its
// palette (0x00RRGGBB entries); the rows follow, RowStride bytes each.
void PutHeaders(std::vector<Byte>& B, int Width, int Height, int Bits,
                std::initializer_list<std::uint32_t> Palette = {});
}  // namespace om_bmp
