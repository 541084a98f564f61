// The screen's text: the dialogs' font (Tahoma 8 points at the phone's
// 96 dpi, from fonts-wine, the one face of every picture) rendered with
// FreeType.
#pragma once

#include <string_view>

#include "raster.h"

namespace platform {

struct FontMetrics {
  int ascent;    // pixels above the baseline
  int height;    // ascent plus descent: the height of a line
  int avgWidth;  // average width of "A".."Z", "a".."z" (dialog base unit)
};

enum class FontWeight { Normal, Bold };

// Text is drawn without anti-aliasing, as the phone draws it, with fixed
// hinting, so that the same text gives the same pixels on every run.
class Font {
 public:
  virtual ~Font() = default;
  virtual const FontMetrics& metrics() const = 0;
  virtual int TextWidth(std::u16string_view text) const = 0;
  // Draws text with its line's top at y; returns the pen's x after it.
  virtual int Draw(Canvas& canvas, int x, int y, std::u16string_view text, Pixel color) const = 0;
};

// The dialog font (one instance per weight, loaded on first use). Throws
// when no usable font file exists.
const Font& DialogFont(FontWeight weight = FontWeight::Normal);

}  // namespace platform
