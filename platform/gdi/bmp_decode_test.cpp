// BMP decoding: every supported depth and row order gives the right pixels,
// and damaged input of any kind fails without reading past its end.
#include <gtest/gtest.h>

#include <functional>

#include "bmp_decode.h"

using platform::DecodeBmpFile;
using platform::DecodedBitmap;
using platform::DecodePackedDib;
using platform::MakePixel;
using platform::Pixel;

namespace {

void Put16(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  b[at] = uint8_t(v);
  b[at + 1] = uint8_t(v >> 8);
}
void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = uint8_t(v >> (8 * i));
}

// A BMP file with a 40-byte header. `value(x, y)` is the palette index for
// depths up to 8, else the pixel; rows are written in the order asked for.
std::vector<uint8_t> MakeBmp(int width, int height, int bpp, bool topDown,
                             const std::function<uint32_t(int, int)>& value,
                             const std::vector<Pixel>& palette = {}) {
  size_t stride = ((size_t(width) * bpp + 31) / 32) * 4;
  size_t paletteBytes = palette.size() * 4;
  size_t offset = 14 + 40 + paletteBytes;
  std::vector<uint8_t> b(offset + stride * height, 0);
  b[0] = 'B';
  b[1] = 'M';
  Put32(b, 2, uint32_t(b.size()));
  Put32(b, 10, uint32_t(offset));
  Put32(b, 14, 40);
  Put32(b, 18, uint32_t(width));
  Put32(b, 22, uint32_t(topDown ? -height : height));
  Put16(b, 26, 1);
  Put16(b, 28, uint16_t(bpp));
  Put32(b, 46, uint32_t(palette.size()));
  for (size_t i = 0; i < palette.size(); ++i) {
    b[54 + 4 * i] = uint8_t(palette[i]);
    b[54 + 4 * i + 1] = uint8_t(palette[i] >> 8);
    b[54 + 4 * i + 2] = uint8_t(palette[i] >> 16);
  }
  for (int row = 0; row < height; ++row) {
    int y = topDown ? row : height - 1 - row;
    uint8_t* line = b.data() + offset + stride * row;
    for (int x = 0; x < width; ++x) {
      uint32_t v = value(x, y);
      switch (bpp) {
        case 1: case 4: case 8: {
          int bit = x * bpp;
          line[bit / 8] |= uint8_t(v << (8 - bpp - bit % 8));
          break;
        }
        case 16: line[2 * x] = uint8_t(v); line[2 * x + 1] = uint8_t(v >> 8); break;
        case 24: line[3 * x] = uint8_t(v); line[3 * x + 1] = uint8_t(v >> 8); line[3 * x + 2] = uint8_t(v >> 16); break;
        case 32: for (int i = 0; i < 4; ++i) line[4 * x + i] = uint8_t(v >> (8 * i)); break;
      }
    }
  }
  return b;
}

DecodedBitmap Decode(const std::vector<uint8_t>& bytes) {
  DecodedBitmap out;
  std::string error;
  EXPECT_TRUE(DecodeBmpFile(bytes.data(), bytes.size(), &out, &error)) << error;
  return out;
}

const std::vector<Pixel> kPalette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0x808080,
                                     0x123456, 0xABCDEF};

}  // namespace

TEST(BmpDecode, PalettedDepthsPickTheirColoursInBothRowOrders) {
  for (int bpp : {1, 4, 8}) {
    for (bool topDown : {false, true}) {
      int colours = bpp == 1 ? 2 : 8;
      std::vector<Pixel> palette(kPalette.begin(), kPalette.begin() + colours);
      auto index = [&](int x, int y) { return uint32_t((x + 3 * y) % colours); };
      // 13 wide: rows end inside a byte and need padding.
      DecodedBitmap d = Decode(MakeBmp(13, 5, bpp, topDown, index, palette));
      ASSERT_EQ(d.pixels.width(), 13);
      ASSERT_EQ(d.pixels.height(), 5);
      EXPECT_EQ(d.bitsPerPixel, bpp);
      for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 13; ++x)
          ASSERT_EQ(d.pixels.at(x, y), palette[index(x, y)]) << bpp << " bpp at " << x << "," << y;
    }
  }
}

TEST(BmpDecode, TrueColourDepthsGiveTheirPixels) {
  auto rgb = [](int x, int y) { return MakePixel(x * 20, y * 40, 255 - x * 10); };
  for (bool topDown : {false, true}) {
    DecodedBitmap d24 = Decode(MakeBmp(7, 3, 24, topDown, [&](int x, int y) { return rgb(x, y); }));
    DecodedBitmap d32 = Decode(MakeBmp(7, 3, 32, topDown, [&](int x, int y) { return rgb(x, y) | 0xFF000000; }));
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 7; ++x) {
        EXPECT_EQ(d24.pixels.at(x, y), rgb(x, y));
        EXPECT_EQ(d32.pixels.at(x, y), rgb(x, y));
      }
  }
  // 16 bits without masks are 5-5-5.
  DecodedBitmap d16 = Decode(MakeBmp(2, 1, 16, false, [](int x, int) { return x ? 0x7C00u : 0x001Fu; }));
  EXPECT_EQ(d16.pixels.at(0, 0), 0x0000FFu);
  EXPECT_EQ(d16.pixels.at(1, 0), 0xFF0000u);
}

TEST(BmpDecode, PackedDibReadsPixelsRightAfterTheColourTable) {
  std::vector<uint8_t> file = MakeBmp(3, 2, 8, false, [](int x, int y) { return uint32_t(x + y); }, kPalette);
  std::vector<uint8_t> dib(file.begin() + 14, file.end());
  DecodedBitmap d;
  std::string error;
  ASSERT_TRUE(DecodePackedDib(dib.data(), dib.size(), &d, &error)) << error;
  EXPECT_EQ(d.pixels.at(2, 1), kPalette[3]);
}

TEST(BmpDecode, EveryTruncationFailsCleanly) {
  std::vector<uint8_t> file = MakeBmp(5, 4, 4, false, [](int x, int) { return uint32_t(x); }, kPalette);
  for (size_t size = 0; size < file.size(); ++size) {
    // A copy of exactly `size` bytes, so that a read past it is caught.
    std::vector<uint8_t> cut(file.begin(), file.begin() + size);
    DecodedBitmap d;
    std::string error;
    EXPECT_FALSE(DecodeBmpFile(cut.data(), cut.size(), &d, &error)) << "size " << size;
    EXPECT_FALSE(error.empty());
  }
}

TEST(BmpDecode, DamagedHeadersAreRefused) {
  auto base = [] { return MakeBmp(4, 4, 8, false, [](int, int) { return 1u; }, kPalette); };
  auto refused = [](std::vector<uint8_t> b) {
    DecodedBitmap d;
    std::string error;
    return !DecodeBmpFile(b.data(), b.size(), &d, &error);
  };
  std::string text = "hello, this is not a picture at all";
  EXPECT_TRUE(refused(std::vector<uint8_t>(text.begin(), text.end())));

  std::vector<uint8_t> b = base();
  Put32(b, 18, 0x7FFFFFFF);  // enormous width
  EXPECT_TRUE(refused(b));
  b = base();
  Put32(b, 22, 0x80000000);  // the most negative height
  EXPECT_TRUE(refused(b));
  b = base();
  Put32(b, 22, 0);
  EXPECT_TRUE(refused(b));
  b = base();
  Put32(b, 46, 1000);  // more colours than 8 bits can index
  EXPECT_TRUE(refused(b));
  b = base();
  Put32(b, 30, 1);  // run-length compressed
  EXPECT_TRUE(refused(b));
  b = base();
  Put32(b, 10, 20);  // pixels said to start inside the header
  EXPECT_TRUE(refused(b));
  b = base();
  Put32(b, 10, 0xFFFFFFF0);  // pixels said to start far past the end
  EXPECT_TRUE(refused(b));
  b = base();
  Put32(b, 14, 0xFFFFFFFF);  // header size that overflows an offset
  EXPECT_TRUE(refused(b));
  b = base();
  Put16(b, 28, 7);  // no such depth
  EXPECT_TRUE(refused(b));
}
