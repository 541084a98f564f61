// The BMP decoder: core and info headers (up to the V5 header), 1, 4 and 8
// bits with a colour table, 16 and 32 bits plain or with bit fields, 24 bits;
// rows bottom-up or top-down. Compressed (run-length) pictures are refused.
#include "bmp_decode.h"

#include <cstring>

namespace platform {
namespace {

constexpr uint32_t kRgb = 0;
constexpr uint32_t kBitFields = 3;
constexpr uint32_t kAlphaBitFields = 6;
constexpr size_t kFileHeaderSize = 14;
constexpr int64_t kMaxSide = 16384;
constexpr int64_t kMaxPixels = int64_t(1) << 26;

// A bounds-checked little-endian reader over the caller's bytes.
class Bytes {
 public:
  Bytes(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  size_t size() const { return size_; }
  bool Has(size_t offset, size_t count) const { return offset <= size_ && count <= size_ - offset; }
  uint8_t U8(size_t at) const { return data_[at]; }
  uint16_t U16(size_t at) const { return uint16_t(data_[at] | data_[at + 1] << 8); }
  uint32_t U32(size_t at) const {
    return uint32_t(data_[at]) | uint32_t(data_[at + 1]) << 8 | uint32_t(data_[at + 2]) << 16 |
           uint32_t(data_[at + 3]) << 24;
  }
  const uint8_t* At(size_t at) const { return data_ + at; }

 private:
  const uint8_t* data_;
  size_t size_;
};

// One channel described by a bit mask, scaled to 0..255.
struct Channel {
  uint32_t mask = 0;
  int shift = 0;
  uint32_t max = 0;

  explicit Channel(uint32_t m = 0) : mask(m) {
    if (!mask) return;
    while (!((mask >> shift) & 1)) ++shift;
    max = mask >> shift;
  }
  int Of(uint32_t value) const {
    if (!max) return 0;
    return int((uint64_t((value & mask) >> shift) * 255 + max / 2) / max);
  }
};

struct Header {
  int64_t width = 0;
  int64_t height = 0;  // negative: rows top-down
  int bitsPerPixel = 0;
  uint32_t compression = kRgb;
  uint32_t colorsUsed = 0;
  size_t headerSize = 0;
  size_t paletteEntrySize = 4;
  Channel red, green, blue;
  size_t masksAfterHeader = 0;  // bytes of bit masks that follow a 40-byte header
};

bool Fail(std::string* error, const char* why) {
  if (error) *error = why;
  return false;
}

bool ReadHeader(const Bytes& bytes, size_t at, Header* h, std::string* error) {
  if (!bytes.Has(at, 4)) return Fail(error, "truncated bitmap header");
  h->headerSize = bytes.U32(at);
  if (h->headerSize == 12) {
    if (!bytes.Has(at, 12)) return Fail(error, "truncated bitmap header");
    h->width = bytes.U16(at + 4);
    h->height = bytes.U16(at + 6);
    if (bytes.U16(at + 8) != 1) return Fail(error, "bitmap must have one plane");
    h->bitsPerPixel = bytes.U16(at + 10);
    h->paletteEntrySize = 3;
  } else if (h->headerSize >= 40 && h->headerSize <= 124) {
    if (!bytes.Has(at, h->headerSize)) return Fail(error, "truncated bitmap header");
    h->width = int32_t(bytes.U32(at + 4));
    h->height = int32_t(bytes.U32(at + 8));
    if (bytes.U16(at + 12) != 1) return Fail(error, "bitmap must have one plane");
    h->bitsPerPixel = bytes.U16(at + 14);
    h->compression = bytes.U32(at + 16);
    h->colorsUsed = bytes.U32(at + 32);
    if (h->compression == kBitFields || h->compression == kAlphaBitFields) {
      size_t masks = at + 40;
      if (h->headerSize == 40) {
        h->masksAfterHeader = h->compression == kAlphaBitFields ? 16 : 12;
        if (!bytes.Has(masks, h->masksAfterHeader)) return Fail(error, "truncated bit masks");
      } else if (h->headerSize < 52) {
        return Fail(error, "bitmap header too short for its bit masks");
      }
      h->red = Channel(bytes.U32(masks));
      h->green = Channel(bytes.U32(masks + 4));
      h->blue = Channel(bytes.U32(masks + 8));
    }
  } else {
    return Fail(error, "unknown bitmap header");
  }

  switch (h->bitsPerPixel) {
    case 1: case 4: case 8: case 24:
      if (h->compression != kRgb) return Fail(error, "compressed bitmaps are not supported");
      break;
    case 16: case 32:
      if (h->compression == kRgb) {
        if (h->bitsPerPixel == 16) {
          h->red = Channel(0x7c00), h->green = Channel(0x03e0), h->blue = Channel(0x001f);
        } else {
          h->red = Channel(0xff0000), h->green = Channel(0x00ff00), h->blue = Channel(0x0000ff);
        }
      } else if (h->compression != kBitFields && h->compression != kAlphaBitFields) {
        return Fail(error, "compressed bitmaps are not supported");
      }
      break;
    default:
      return Fail(error, "unsupported bits per pixel");
  }
  int64_t rows = h->height < 0 ? -h->height : h->height;
  if (h->width <= 0 || rows == 0 || h->width > kMaxSide || rows > kMaxSide ||
      h->width * rows > kMaxPixels)
    return Fail(error, "bad bitmap size");
  if (h->bitsPerPixel <= 8 && h->colorsUsed > (1u << h->bitsPerPixel))
    return Fail(error, "colour table larger than the bit depth allows");
  return true;
}

size_t PaletteEntries(const Header& h) {
  if (h.bitsPerPixel > 8) return 0;
  return h.colorsUsed ? h.colorsUsed : (size_t(1) << h.bitsPerPixel);
}

// Decodes the pixel rows at `pixelsAt` once header and colour table are known.
bool DecodePixels(const Bytes& bytes, const Header& h, size_t paletteAt, size_t pixelsAt,
                  DecodedBitmap* out, std::string* error) {
  size_t entries = PaletteEntries(h);
  if (!bytes.Has(paletteAt, entries * h.paletteEntrySize)) return Fail(error, "truncated colour table");
  std::vector<Pixel> palette(entries);
  for (size_t i = 0; i < entries; ++i) {
    size_t e = paletteAt + i * h.paletteEntrySize;
    palette[i] = MakePixel(bytes.U8(e + 2), bytes.U8(e + 1), bytes.U8(e));
  }

  int width = int(h.width);
  int rows = int(h.height < 0 ? -h.height : h.height);
  size_t stride = ((size_t(width) * h.bitsPerPixel + 31) / 32) * 4;
  if (!bytes.Has(pixelsAt, stride * rows)) return Fail(error, "truncated pixel data");

  Surface surface(width, rows);
  for (int r = 0; r < rows; ++r) {
    const uint8_t* line = bytes.At(pixelsAt + stride * r);
    int y = h.height < 0 ? r : rows - 1 - r;
    for (int x = 0; x < width; ++x) {
      Pixel p = 0;
      switch (h.bitsPerPixel) {
        case 1: case 4: case 8: {
          int bit = x * h.bitsPerPixel;
          int index = (line[bit / 8] >> (8 - h.bitsPerPixel - bit % 8)) & ((1 << h.bitsPerPixel) - 1);
          p = size_t(index) < palette.size() ? palette[index] : 0;
          break;
        }
        case 16: {
          uint32_t v = uint32_t(line[2 * x] | line[2 * x + 1] << 8);
          p = MakePixel(h.red.Of(v), h.green.Of(v), h.blue.Of(v));
          break;
        }
        case 24:
          p = MakePixel(line[3 * x + 2], line[3 * x + 1], line[3 * x]);
          break;
        case 32: {
          const uint8_t* q = line + 4 * x;
          uint32_t v = uint32_t(q[0]) | uint32_t(q[1]) << 8 | uint32_t(q[2]) << 16 | uint32_t(q[3]) << 24;
          p = MakePixel(h.red.Of(v), h.green.Of(v), h.blue.Of(v));
          break;
        }
      }
      surface.at(x, y) = p;
    }
  }
  out->pixels = std::move(surface);
  out->bitsPerPixel = h.bitsPerPixel;
  return true;
}

}  // namespace

bool DecodeBmpFile(const uint8_t* data, size_t size, DecodedBitmap* out, std::string* error) {
  Bytes bytes(data, size);
  if (!bytes.Has(0, kFileHeaderSize) || bytes.U8(0) != 'B' || bytes.U8(1) != 'M')
    return Fail(error, "not a BMP file");
  Header h;
  if (!ReadHeader(bytes, kFileHeaderSize, &h, error)) return false;
  size_t paletteAt = kFileHeaderSize + h.headerSize + h.masksAfterHeader;
  size_t pixelsAt = bytes.U32(10);
  if (pixelsAt < paletteAt) return Fail(error, "pixel data overlaps the header");
  return DecodePixels(bytes, h, paletteAt, pixelsAt, out, error);
}

bool DecodePackedDib(const uint8_t* data, size_t size, DecodedBitmap* out, std::string* error) {
  Bytes bytes(data, size);
  Header h;
  if (!ReadHeader(bytes, 0, &h, error)) return false;
  size_t paletteAt = h.headerSize + h.masksAfterHeader;
  return DecodePixels(bytes, h, paletteAt, paletteAt + PaletteEntries(h) * h.paletteEntrySize, out,
                      error);
}

}  // namespace platform
