// The raster core under every drawing call: 32-bit pixel surfaces and a
// canvas that draws into one through an origin and a clipping rectangle.
#pragma once

#include <cstdint>
#include <vector>

#include <windows.h>

namespace platform {

// Pixels are 0x00RRGGBB; COLORREF (0x00BBGGRR) converts at the GDI edge.
typedef uint32_t Pixel;

inline Pixel PixelFromColorRef(COLORREF c) {
  return (Pixel(GetRValue(c)) << 16) | (Pixel(GetGValue(c)) << 8) | GetBValue(c);
}
inline COLORREF ColorRefFromPixel(Pixel p) {
  return RGB((p >> 16) & 0xff, (p >> 8) & 0xff, p & 0xff);
}
inline Pixel MakePixel(int r, int g, int b) {
  return (Pixel(r & 0xff) << 16) | (Pixel(g & 0xff) << 8) | Pixel(b & 0xff);
}
// Mixes `over` onto `under` with coverage 0..255.
Pixel BlendPixel(Pixel under, Pixel over, int coverage);

// A rectangle as left, top, right, bottom with right and bottom exclusive.
RECT MakeRect(int x, int y, int width, int height);
RECT IntersectRects(const RECT& a, const RECT& b);
bool RectIsEmpty(const RECT& r);
bool RectContains(const RECT& r, int x, int y);

class Surface {
 public:
  Surface() = default;
  Surface(int width, int height, Pixel fill = 0);

  int width() const { return width_; }
  int height() const { return height_; }
  RECT bounds() const { return MakeRect(0, 0, width_, height_); }
  Pixel at(int x, int y) const { return pixels_[size_t(y) * width_ + x]; }
  Pixel& at(int x, int y) { return pixels_[size_t(y) * width_ + x]; }
  const Pixel* row(int y) const { return pixels_.data() + size_t(y) * width_; }
  bool operator==(const Surface& other) const = default;

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<Pixel> pixels_;
};

// Draws into a surface: coordinates are relative to `origin` (in surface
// pixels), and nothing lands outside `clip` (surface pixels) or the surface.
class Canvas {
 public:
  explicit Canvas(Surface& surface);
  Canvas(Surface& surface, POINT origin, const RECT& clip);

  Surface& surface() { return *surface_; }
  POINT origin() const { return origin_; }
  // The clip in the canvas's own coordinates.
  RECT clip() const;
  // A canvas for a part of this one: origin moved by (dx, dy), clip narrowed.
  Canvas Sub(int dx, int dy, const RECT& localClip) const;

  void Plot(int x, int y, Pixel color);
  void Blend(int x, int y, Pixel color, int coverage);
  void Fill(const RECT& r, Pixel color);
  void HLine(int x0, int x1, int y, Pixel color);  // x0..x1 inclusive
  void VLine(int x, int y0, int y1, Pixel color);  // y0..y1 inclusive
  void Frame(const RECT& r, Pixel color);          // one-pixel outline inside r
  // Every other pixel of r's outline, the focus rectangle.
  void DottedFrame(const RECT& r, Pixel color);
  // Copies src's part (sx, sy, w, h) to (dx, dy), scaled to dw × dh when the
  // sizes differ; pixels of colour `*transparent` are skipped.
  void Blit(const Surface& src, int sx, int sy, int w, int h, int dx, int dy, int dw, int dh,
            const Pixel* transparent = nullptr);

 private:
  // The canvas rectangle (left, top, right, bottom) in surface pixels, cut to the clip.
  RECT Visible(int64_t left, int64_t top, int64_t right, int64_t bottom) const;
  // The canvas point in surface pixels, when it lies within the clip.
  bool SurfacePoint(int x, int y, int* sx, int* sy) const;
  void FillSurface(const RECT& visible, Pixel color);

  Surface* surface_;
  POINT origin_;
  RECT clip_;  // surface pixels, already within the surface
};

}  // namespace platform
