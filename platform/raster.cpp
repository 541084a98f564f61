// The raster core: surfaces of 0x00RRGGBB pixels and the clipped canvas that
// every fill, line, blit and glyph goes through.
#include "raster.h"

#include <algorithm>

namespace platform {

Pixel BlendPixel(Pixel under, Pixel over, int coverage) {
  if (coverage >= 255) return over;
  if (coverage <= 0) return under;
  auto mix = [&](int shift) {
    int u = (under >> shift) & 0xff;
    int o = (over >> shift) & 0xff;
    return Pixel((u * (255 - coverage) + o * coverage + 127) / 255) << shift;
  };
  return mix(16) | mix(8) | mix(0);
}

RECT MakeRect(int x, int y, int width, int height) {
  return RECT{x, y, x + width, y + height};
}

RECT IntersectRects(const RECT& a, const RECT& b) {
  RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
         std::min(a.bottom, b.bottom)};
  if (r.right < r.left) r.right = r.left;
  if (r.bottom < r.top) r.bottom = r.top;
  return r;
}

bool RectIsEmpty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

bool RectContains(const RECT& r, int x, int y) {
  return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

Surface::Surface(int width, int height, Pixel fill)
    : width_(std::max(width, 0)), height_(std::max(height, 0)),
      pixels_(size_t(width_) * height_, fill) {}

Canvas::Canvas(Surface& surface) : surface_(&surface), origin_{0, 0}, clip_(surface.bounds()) {}

Canvas::Canvas(Surface& surface, POINT origin, const RECT& clip)
    : surface_(&surface), origin_(origin), clip_(IntersectRects(clip, surface.bounds())) {}

RECT Canvas::clip() const {
  return RECT{clip_.left - origin_.x, clip_.top - origin_.y, clip_.right - origin_.x,
              clip_.bottom - origin_.y};
}

Canvas Canvas::Sub(int dx, int dy, const RECT& localClip) const {
  RECT inSurface{localClip.left + origin_.x, localClip.top + origin_.y, localClip.right + origin_.x,
                 localClip.bottom + origin_.y};
  return Canvas(*surface_, POINT{origin_.x + dx, origin_.y + dy}, IntersectRects(inSurface, clip_));
}

void Canvas::Plot(int x, int y, Pixel color) {
  x += origin_.x;
  y += origin_.y;
  if (RectContains(clip_, x, y)) surface_->at(x, y) = color;
}

void Canvas::Blend(int x, int y, Pixel color, int coverage) {
  x += origin_.x;
  y += origin_.y;
  if (RectContains(clip_, x, y)) surface_->at(x, y) = BlendPixel(surface_->at(x, y), color, coverage);
}

void Canvas::Fill(const RECT& r, Pixel color) {
  RECT s = IntersectRects(
      RECT{r.left + origin_.x, r.top + origin_.y, r.right + origin_.x, r.bottom + origin_.y}, clip_);
  for (int y = s.top; y < s.bottom; ++y)
    for (int x = s.left; x < s.right; ++x) surface_->at(x, y) = color;
}

void Canvas::HLine(int x0, int x1, int y, Pixel color) {
  if (x1 < x0) std::swap(x0, x1);
  Fill(RECT{x0, y, x1 + 1, y + 1}, color);
}

void Canvas::VLine(int x, int y0, int y1, Pixel color) {
  if (y1 < y0) std::swap(y0, y1);
  Fill(RECT{x, y0, x + 1, y1 + 1}, color);
}

void Canvas::Frame(const RECT& r, Pixel color) {
  if (RectIsEmpty(r)) return;
  HLine(r.left, r.right - 1, r.top, color);
  HLine(r.left, r.right - 1, r.bottom - 1, color);
  VLine(r.left, r.top, r.bottom - 1, color);
  VLine(r.right - 1, r.top, r.bottom - 1, color);
}

void Canvas::DottedFrame(const RECT& r, Pixel color) {
  if (RectIsEmpty(r)) return;
  for (int x = r.left; x < r.right; x += 2) {
    Plot(x, r.top, color);
    Plot(x, r.bottom - 1, color);
  }
  for (int y = r.top; y < r.bottom; y += 2) {
    Plot(r.left, y, color);
    Plot(r.right - 1, y, color);
  }
}

void Canvas::Blit(const Surface& src, int sx, int sy, int w, int h, int dx, int dy, int dw, int dh,
                  const Pixel* transparent) {
  if (w <= 0 || h <= 0 || dw <= 0 || dh <= 0) return;
  RECT target = IntersectRects(
      RECT{dx + origin_.x, dy + origin_.y, dx + origin_.x + dw, dy + origin_.y + dh}, clip_);
  for (int y = target.top; y < target.bottom; ++y) {
    // Nearest source pixel for each target pixel; exact copy when unscaled.
    int from_y = sy + int((int64_t(y - dy - origin_.y) * h) / dh);
    if (from_y < 0 || from_y >= src.height()) continue;
    for (int x = target.left; x < target.right; ++x) {
      int from_x = sx + int((int64_t(x - dx - origin_.x) * w) / dw);
      if (from_x < 0 || from_x >= src.width()) continue;
      Pixel p = src.at(from_x, from_y);
      if (transparent && p == *transparent) continue;
      surface_->at(x, y) = p;
    }
  }
}

}  // namespace platform
