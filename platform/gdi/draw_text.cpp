// DrawTextW: one line of text in the dialog font, aligned in a rectangle,
// clipped to it, and cut with an ellipsis on request.
#include <string>

#include <windows.h>

#include "font.h"
#include "gdi_objects.h"

namespace platform {
namespace {

constexpr char16_t kEllipsis[] = u"...";

// The longest beginning of `text` that fits `width` with the ellipsis after
// it, followed by the ellipsis; the text itself when it fits.
std::u16string CutToWidth(const Font& font, const std::u16string& text, int width) {
  if (font.TextWidth(text) <= width) return text;
  std::u16string cut = text;
  while (!cut.empty() && font.TextWidth(cut + kEllipsis) > width) cut.pop_back();
  // A high surrogate left alone at the end would show as a broken character.
  if (!cut.empty() && cut.back() >= 0xD800 && cut.back() <= 0xDBFF) cut.pop_back();
  return cut + kEllipsis;
}

}  // namespace
}  // namespace platform

int DrawTextW(HDC dc, LPCWSTR text, int count, LPRECT rect, UINT format) {
  using namespace platform;
  DeviceContext* context = ContextFromHandle(dc);
  if (!context || !text || !rect) return 0;
  std::u16string line = count < 0 ? std::u16string(text) : std::u16string(text, static_cast<size_t>(count));
  for (char16_t& c : line)
    if (c == u'\r' || c == u'\n') c = u' ';
  const Font& font = DialogFont();
  int height = font.metrics().height;
  int width = rect->right - rect->left;
  if (format & DT_END_ELLIPSIS) line = CutToWidth(font, line, width);
  int textWidth = font.TextWidth(line);
  if (format & DT_CALCRECT) {
    rect->right = rect->left + textWidth;
    rect->bottom = rect->top + height;
    return height;
  }
  std::optional<Canvas> canvas = CanvasOf(dc);
  if (!canvas) return 0;
  int x = rect->left;
  if (format & DT_CENTER) x += (width - textWidth) / 2;
  else if (format & DT_RIGHT) x += width - textWidth;
  int y = rect->top;
  if (format & DT_VCENTER) y += (rect->bottom - rect->top - height) / 2;
  else if (format & DT_BOTTOM) y = rect->bottom - height;
  Canvas inside = canvas->Sub(0, 0, *rect);
  if (context->bkMode == OPAQUE)
    inside.Fill(RECT{x, y, x + textWidth, y + height}, PixelFromColorRef(context->bkColor));
  font.Draw(inside, x, y, line, PixelFromColorRef(context->textColor));
  return height;
}
