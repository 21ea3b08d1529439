#include "PictureCompare.h"

#include <png.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace om_test {

bool ReadPng(const std::string& File, TPicture& Into, std::string& Error) {
  std::unique_ptr<FILE, int (*)(FILE*)> F(std::fopen(File.c_str(), "rb"), &std::fclose);
  if (!F) {
    Error = File + ": cannot be opened";
    return false;
  }
  png_byte Signature[8];
  if (std::fread(Signature, 1, 8, F.get()) != 8 || png_sig_cmp(Signature, 0, 8) != 0) {
    Error = File + ": not a PNG file";
    return false;
  }
  png_structp Png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop Info = Png ? png_create_info_struct(Png) : nullptr;
  if (!Info) {
    png_destroy_read_struct(&Png, nullptr, nullptr);
    Error = "cannot make a PNG reader";
    return false;
  }
  std::vector<png_byte> Data;
  std::vector<png_bytep> Rows;
  if (setjmp(png_jmpbuf(Png))) {
    png_destroy_read_struct(&Png, &Info, nullptr);
    Error = File + ": a damaged PNG file";
    return false;
  }
  png_init_io(Png, F.get());
  png_set_sig_bytes(Png, 8);
  png_read_info(Png, Info);
  // Whatever the file holds becomes 8-bit RGB.
  png_set_expand(Png);
  png_set_strip_16(Png);
  png_set_strip_alpha(Png);
  png_set_gray_to_rgb(Png);
  png_read_update_info(Png, Info);
  int W = int(png_get_image_width(Png, Info)), H = int(png_get_image_height(Png, Info));
  size_t Stride = png_get_rowbytes(Png, Info);
  Data.resize(Stride * size_t(H));
  Rows.resize(size_t(H));
  for (int Y = 0; Y < H; ++Y) Rows[size_t(Y)] = Data.data() + Stride * size_t(Y);
  png_read_image(Png, Rows.data());
  png_destroy_read_struct(&Png, &Info, nullptr);
  Into.Width = W;
  Into.Height = H;
  Into.Pixels.resize(size_t(W) * size_t(H));
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X) {
      const png_byte* P = Rows[size_t(Y)] + size_t(X) * 3;
      Into.Pixels[size_t(Y) * size_t(W) + size_t(X)] = std::uint32_t(P[0]) << 16 | std::uint32_t(P[1]) << 8 | P[2];
    }
  return true;
}

std::string Differences(const TPicture& Expected, const TPicture& Actual, int Tolerance, int Allowed) {
  char Line[160];
  if (Expected.Width != Actual.Width || Expected.Height != Actual.Height) {
    std::snprintf(Line, sizeof Line, "the picture is %dx%d, not %dx%d", Actual.Width, Actual.Height,
                  Expected.Width, Expected.Height);
    return Line;
  }
  int Count = 0, FirstX = -1, FirstY = -1;
  int Left = Actual.Width, Top = Actual.Height, Right = -1, Bottom = -1;
  for (int Y = 0; Y < Actual.Height; ++Y)
    for (int X = 0; X < Actual.Width; ++X) {
      std::uint32_t A = Actual.At(X, Y), E = Expected.At(X, Y);
      bool Differs = false;
      for (int Shift = 0; Shift < 24; Shift += 8)
        if (std::abs(int((A >> Shift) & 0xFF) - int((E >> Shift) & 0xFF)) > Tolerance) Differs = true;
      if (!Differs) continue;
      if (Count++ == 0) FirstX = X, FirstY = Y;
      Left = std::min(Left, X), Top = std::min(Top, Y), Right = std::max(Right, X), Bottom = std::max(Bottom, Y);
    }
  if (Count <= Allowed) return std::string();
  std::snprintf(Line, sizeof Line,
                "%d pixels differ (at most %d may), within %d,%d-%d,%d; the first at %d,%d is #%06X, not #%06X",
                Count, Allowed, Left, Top, Right, Bottom, FirstX, FirstY, unsigned(Actual.At(FirstX, FirstY)),
                unsigned(Expected.At(FirstX, FirstY)));
  return Line;
}

}  // namespace om_test
