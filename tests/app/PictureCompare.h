// Pictures omide wrote, compared with the expected ones kept under tests/app/pictures.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace om_test {

// An RGB picture read from a PNG file: 0xRRGGBB a pixel, row by row.
struct TPicture {
  int Width = 0;
  int Height = 0;
  std::vector<std::uint32_t> Pixels;
  std::uint32_t At(int X, int Y) const { return Pixels[size_t(Y) * size_t(Width) + size_t(X)]; }
};

// Reads a PNG file (any bit depth and colour type, alpha dropped); false with Error set
// when the file is missing or not a PNG.
bool ReadPng(const std::string& File, TPicture& Into, std::string& Error);

// How Actual differs from Expected: empty when they have the same size and no more than
// Allowed pixels differ by more than Tolerance in a channel; else what and where.
std::string Differences(const TPicture& Expected, const TPicture& Actual, int Tolerance = 8,
                        int Allowed = 4);

}  // namespace om_test
