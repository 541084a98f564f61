// Reading device-independent bitmaps: BMP files (with their file header) and
// bitmap resources (the same data without it). Every read is bounds-checked,
// so a damaged or truncated picture fails instead of being read past its end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "raster.h"

namespace platform {

struct DecodedBitmap {
  Surface pixels;        // top row first
  int bitsPerPixel = 0;  // as stored: 1, 4, 8, 16, 24 or 32
};

// A whole .bmp file. On failure returns false and says why in `error`.
bool DecodeBmpFile(const uint8_t* data, size_t size, DecodedBitmap* out, std::string* error);
// A packed DIB: BITMAPINFOHEADER, colour table, pixels (a BITMAP resource).
bool DecodePackedDib(const uint8_t* data, size_t size, DecodedBitmap* out, std::string* error);

}  // namespace platform
