// The raster core: surfaces of 0x00RRGGBB pixels and the clipped canvas that
// every fill, line, blit and glyph goes through. Coordinates come from
// programs and may be any int: sums with the origin are made in 64 bits and
// cut to the clip before anything is walked.
#include "raster.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace platform {

namespace {

// How far from the surface an origin may lie: beyond any window's reach.
constexpr int64_t kOriginReach = int64_t{1} << 30;

LONG Within(int64_t value, int64_t low, int64_t high) { return static_cast<LONG>(std::clamp(value, low, high)); }

}  // namespace

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
  return RECT{x, y, Within(int64_t{x} + width, INT_MIN, INT_MAX), Within(int64_t{y} + height, INT_MIN, INT_MAX)};
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
  return Canvas(*surface_,
                POINT{Within(int64_t{origin_.x} + dx, -kOriginReach, kOriginReach),
                      Within(int64_t{origin_.y} + dy, -kOriginReach, kOriginReach)},
                Visible(localClip.left, localClip.top, localClip.right, localClip.bottom));
}

RECT Canvas::Visible(int64_t left, int64_t top, int64_t right, int64_t bottom) const {
  return RECT{Within(left + origin_.x, clip_.left, clip_.right), Within(top + origin_.y, clip_.top, clip_.bottom),
              Within(right + origin_.x, clip_.left, clip_.right), Within(bottom + origin_.y, clip_.top, clip_.bottom)};
}

bool Canvas::SurfacePoint(int x, int y, int* sx, int* sy) const {
  const int64_t px = int64_t{x} + origin_.x, py = int64_t{y} + origin_.y;
  if (px < clip_.left || px >= clip_.right || py < clip_.top || py >= clip_.bottom) return false;
  *sx = static_cast<int>(px);
  *sy = static_cast<int>(py);
  return true;
}

void Canvas::Plot(int x, int y, Pixel color) {
  int sx, sy;
  if (SurfacePoint(x, y, &sx, &sy)) surface_->at(sx, sy) = color;
}

void Canvas::Blend(int x, int y, Pixel color, int coverage) {
  int sx, sy;
  if (SurfacePoint(x, y, &sx, &sy)) surface_->at(sx, sy) = BlendPixel(surface_->at(sx, sy), color, coverage);
}

void Canvas::FillSurface(const RECT& s, Pixel color) {
  for (int y = s.top; y < s.bottom; ++y)
    for (int x = s.left; x < s.right; ++x) surface_->at(x, y) = color;
}

void Canvas::Fill(const RECT& r, Pixel color) { FillSurface(Visible(r.left, r.top, r.right, r.bottom), color); }

void Canvas::HLine(int x0, int x1, int y, Pixel color) {
  if (x1 < x0) std::swap(x0, x1);
  FillSurface(Visible(x0, y, int64_t{x1} + 1, int64_t{y} + 1), color);
}

void Canvas::VLine(int x, int y0, int y1, Pixel color) {
  if (y1 < y0) std::swap(y0, y1);
  FillSurface(Visible(x, y0, int64_t{x} + 1, int64_t{y1} + 1), color);
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
  // Only the dots within the clip are walked, each at its place in the
  // pattern that starts at the rectangle's corner.
  const RECT c = clip();
  auto firstDot = [](int64_t start, int64_t from) { return from <= start ? start : start + (from - start + 1) / 2 * 2; };
  for (int64_t x = firstDot(r.left, c.left), end = std::min<int64_t>(r.right, c.right); x < end; x += 2) {
    Plot(static_cast<int>(x), r.top, color);
    Plot(static_cast<int>(x), r.bottom - 1, color);
  }
  for (int64_t y = firstDot(r.top, c.top), end = std::min<int64_t>(r.bottom, c.bottom); y < end; y += 2) {
    Plot(r.left, static_cast<int>(y), color);
    Plot(r.right - 1, static_cast<int>(y), color);
  }
}

void Canvas::Blit(const Surface& src, int sx, int sy, int w, int h, int dx, int dy, int dw, int dh,
                  const Pixel* transparent) {
  if (w <= 0 || h <= 0 || dw <= 0 || dh <= 0) return;
  RECT target = Visible(dx, dy, int64_t{dx} + dw, int64_t{dy} + dh);
  for (int y = target.top; y < target.bottom; ++y) {
    // Nearest source pixel for each target pixel; exact copy when unscaled.
    // The target row lies within dh of dy, so the product stays below 2^62.
    int64_t from_y = sy + (int64_t{y} - origin_.y - dy) * h / dh;
    if (from_y < 0 || from_y >= src.height()) continue;
    for (int x = target.left; x < target.right; ++x) {
      int64_t from_x = sx + (int64_t{x} - origin_.x - dx) * w / dw;
      if (from_x < 0 || from_x >= src.width()) continue;
      Pixel p = src.at(static_cast<int>(from_x), static_cast<int>(from_y));
      if (transparent && p == *transparent) continue;
      surface_->at(x, y) = p;
    }
  }
}

}  // namespace platform
