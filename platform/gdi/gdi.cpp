// GDI: device contexts on the screen and on bitmaps, solid brushes, bitmap
// objects, context colours, FillRect and TransparentImage.
#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>

#include <windows.h>

#include "gdi_objects.h"

namespace platform {
namespace {

// Every live object, so that a stale or foreign handle is refused instead of
// being followed.
enum class Kind { Brush, Bitmap, Context };

struct Objects {
  std::mutex mutex;
  std::map<const void*, Kind> live;
};

Objects& TheObjects() {
  static Objects objects;
  return objects;
}

Kind KindOf(const GdiBrush*) { return Kind::Brush; }
Kind KindOf(const GdiBitmap*) { return Kind::Bitmap; }
Kind KindOf(const DeviceContext*) { return Kind::Context; }

template <typename T>
T* Register(T* object) {
  std::lock_guard<std::mutex> lock(TheObjects().mutex);
  TheObjects().live[object] = KindOf(object);
  return object;
}

bool IsLive(const void* handle, Kind kind) {
  std::lock_guard<std::mutex> lock(TheObjects().mutex);
  auto found = TheObjects().live.find(handle);
  return found != TheObjects().live.end() && found->second == kind;
}

void Forget(const void* handle) {
  std::lock_guard<std::mutex> lock(TheObjects().mutex);
  TheObjects().live.erase(handle);
}

// What a memory context draws on before a bitmap is selected: one
// monochrome pixel, as on Windows.
GdiBitmap* DefaultBitmap() {
  static GdiBitmap* bitmap = Register(new GdiBitmap(Surface(1, 1), 1));
  return bitmap;
}

void Target(DeviceContext* dc, GdiBitmap* bitmap) {
  dc->bitmap = bitmap;
  dc->target = &bitmap->pixels;
  dc->origin = POINT{0, 0};
  dc->clip = bitmap->pixels.bounds();
}

}  // namespace

GdiBrush* BrushFromHandle(HGDIOBJ handle) {
  return IsLive(handle, Kind::Brush) ? static_cast<GdiBrush*>(handle) : nullptr;
}

GdiBitmap* BitmapFromHandle(HGDIOBJ handle) {
  return IsLive(handle, Kind::Bitmap) ? static_cast<GdiBitmap*>(handle) : nullptr;
}

DeviceContext* ContextFromHandle(HDC handle) {
  return IsLive(handle, Kind::Context) ? static_cast<DeviceContext*>(handle) : nullptr;
}

HDC CreateSurfaceDC(Surface& surface, POINT origin, const RECT& clip, HWND window) {
  auto* dc = new DeviceContext;
  dc->window = window;
  dc->target = &surface;
  dc->origin = origin;
  dc->clip = IntersectRects(clip, surface.bounds());
  return Register(dc);
}

std::optional<Canvas> CanvasOf(HDC handle) {
  DeviceContext* dc = ContextFromHandle(handle);
  if (!dc) return std::nullopt;
  return Canvas(*dc->target, dc->origin, dc->clip);
}

HBITMAP CreateBitmapFromPixels(Surface pixels, int bitsPerPixel) {
  return Register(new GdiBitmap(std::move(pixels), bitsPerPixel));
}

namespace {

// One of a context's two colours, text or background; CLR_INVALID for a
// handle that is no context.
COLORREF ContextColor(HDC handle, COLORREF DeviceContext::*color) {
  DeviceContext* dc = ContextFromHandle(handle);
  return dc ? dc->*color : CLR_INVALID;
}

// Sets one of a context's two colours (the top byte dropped) and returns
// the one it had.
COLORREF ReplaceContextColor(HDC handle, COLORREF DeviceContext::*color, COLORREF value) {
  DeviceContext* dc = ContextFromHandle(handle);
  if (!dc) return CLR_INVALID;
  COLORREF previous = dc->*color;
  dc->*color = value & 0xFFFFFF;
  return previous;
}

}  // namespace

}  // namespace platform

using namespace platform;

HDC CreateCompatibleDC(HDC) {
  auto* dc = new DeviceContext;
  Target(dc, DefaultBitmap());
  return Register(dc);
}

BOOL DeleteDC(HDC handle) {
  DeviceContext* dc = ContextFromHandle(handle);
  if (!dc) return FALSE;
  if (dc->bitmap && dc->bitmap != DefaultBitmap()) dc->bitmap->selections--;
  Forget(dc);
  delete dc;
  return TRUE;
}

HGDIOBJ SelectObject(HDC handle, HGDIOBJ object) {
  DeviceContext* dc = ContextFromHandle(handle);
  if (!dc) return nullptr;
  if (GdiBrush* brush = BrushFromHandle(object)) {
    GdiBrush* previous = dc->brush;
    dc->brush = brush;
    return previous;
  }
  GdiBitmap* bitmap = BitmapFromHandle(object);
  // Only a memory context holds a bitmap, and a bitmap sits in one context.
  if (!bitmap || !dc->bitmap) return nullptr;
  if (bitmap == dc->bitmap) return bitmap;
  if (bitmap->selections > 0 && bitmap != DefaultBitmap()) return nullptr;
  GdiBitmap* previous = dc->bitmap;
  if (previous != DefaultBitmap()) previous->selections--;
  if (bitmap != DefaultBitmap()) bitmap->selections++;
  Target(dc, bitmap);
  return previous;
}

BOOL DeleteObject(HGDIOBJ object) {
  if (GdiBrush* brush = BrushFromHandle(object)) {
    Forget(brush);
    delete brush;
    return TRUE;
  }
  GdiBitmap* bitmap = BitmapFromHandle(object);
  // A bitmap still selected into a context stays, as on Windows.
  if (!bitmap || bitmap == DefaultBitmap() || bitmap->selections > 0) return FALSE;
  Forget(bitmap);
  delete bitmap;
  return TRUE;
}

int GetObjectW(HGDIOBJ object, int size, LPVOID buffer) {
  GdiBitmap* bitmap = BitmapFromHandle(object);
  if (!bitmap) return 0;
  if (!buffer) return int(sizeof(BITMAP));
  if (size < int(sizeof(BITMAP))) return 0;
  BITMAP info{};
  info.bmWidth = bitmap->pixels.width();
  info.bmHeight = bitmap->pixels.height();
  info.bmWidthBytes = ((bitmap->pixels.width() * bitmap->bitsPerPixel + 15) / 16) * 2;
  info.bmPlanes = 1;
  info.bmBitsPixel = WORD(bitmap->bitsPerPixel);
  *static_cast<BITMAP*>(buffer) = info;
  return int(sizeof(BITMAP));
}

HBRUSH CreateSolidBrush(COLORREF color) { return Register(new GdiBrush(color & 0xFFFFFF)); }

COLORREF SetBkColor(HDC handle, COLORREF color) { return ReplaceContextColor(handle, &DeviceContext::bkColor, color); }

COLORREF GetBkColor(HDC handle) { return ContextColor(handle, &DeviceContext::bkColor); }

COLORREF SetTextColor(HDC handle, COLORREF color) {
  return ReplaceContextColor(handle, &DeviceContext::textColor, color);
}

COLORREF GetTextColor(HDC handle) { return ContextColor(handle, &DeviceContext::textColor); }

int SetBkMode(HDC handle, int mode) {
  DeviceContext* dc = ContextFromHandle(handle);
  if (!dc || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
  int previous = dc->bkMode;
  dc->bkMode = mode;
  return previous;
}

int FillRect(HDC handle, const RECT* rect, HBRUSH brushHandle) {
  GdiBrush* brush = BrushFromHandle(brushHandle);
  std::optional<Canvas> canvas = CanvasOf(handle);
  if (!canvas || !brush || !rect) return 0;
  canvas->Fill(*rect, PixelFromColorRef(brush->color));
  return 1;
}

BOOL TransparentImage(HDC target, int targetX, int targetY, int targetWidth, int targetHeight,
                      HANDLE source, int sourceX, int sourceY, int sourceWidth, int sourceHeight,
                      COLORREF transparent) {
  std::optional<Canvas> canvas = CanvasOf(target);
  if (!canvas) return FALSE;
  const Surface* pixels = nullptr;
  POINT offset{0, 0};
  if (GdiBitmap* bitmap = BitmapFromHandle(static_cast<HGDIOBJ>(source))) {
    pixels = &bitmap->pixels;
  } else if (DeviceContext* dc = ContextFromHandle(static_cast<HDC>(source))) {
    pixels = dc->target;
    offset = dc->origin;
  }
  if (!pixels || targetWidth <= 0 || targetHeight <= 0 || sourceWidth <= 0 || sourceHeight <= 0)
    return FALSE;
  Pixel key = PixelFromColorRef(transparent);
  // A source corner beyond any surface is kept there, without overflow.
  auto corner = [](int at, LONG offset) {
    return static_cast<int>(std::clamp<int64_t>(int64_t{at} + offset, -(int64_t{1} << 30), int64_t{1} << 30));
  };
  canvas->Blit(*pixels, corner(sourceX, offset.x), corner(sourceY, offset.y), sourceWidth, sourceHeight, targetX,
               targetY, targetWidth, targetHeight, &key);
  return TRUE;
}
