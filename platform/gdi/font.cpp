// The dialog font through FreeType: the face is sized to 8 points at 96 dpi
// and glyphs are rendered monochrome with the hinting settings fixed here.
#include "font.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <cmath>
#include <map>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

#include "../text/utf.h"

namespace platform {
namespace {

constexpr int kPointSize = 8;
constexpr int kDpi = 96;

// The one face every picture is drawn with, so that the same screen gives
// the same pixels on every host: Tahoma (the templates' font) from Debian's
// fonts-wine, which the build's dependencies install.
const char kNormalFace[] = "/usr/share/wine/fonts/tahoma.ttf";
const char kBoldFace[] = "/usr/share/wine/fonts/tahomabd.ttf";
const char kFontPackage[] = "fonts-wine";

struct Glyph {
  int left = 0;     // from the pen to the bitmap's first column
  int top = 0;      // from the baseline up to the bitmap's first row
  int advance = 0;  // whole pixels
  int width = 0;
  int rows = 0;
  std::vector<uint8_t> ink;  // width × rows, 1 where the glyph is drawn
};

class FreeTypeFont : public Font {
 public:
  explicit FreeTypeFont(const char* path) {
    if (FT_Init_FreeType(&library_)) throw std::runtime_error("FreeType cannot start");
    if (FT_New_Face(library_, path, 0, &face_)) {
      FT_Done_FreeType(library_);
      throw std::runtime_error(std::string("the dialog font ") + path + " cannot be read: install the Debian package " +
                               kFontPackage + " (bash scripts/install-deps.sh)");
    }
    FT_Set_Char_Size(face_, 0, kPointSize * 64, kDpi, kDpi);
    ComputeMetrics();
  }
  ~FreeTypeFont() override {
    FT_Done_Face(face_);
    FT_Done_FreeType(library_);
  }

  const FontMetrics& metrics() const override { return metrics_; }

  int TextWidth(std::u16string_view text) const override {
    int width = 0;
    ForEachCodePoint(text, [&](char32_t c) { width += GlyphFor(c).advance; });
    return width;
  }

  int Draw(Canvas& canvas, int x, int y, std::u16string_view text, Pixel color) const override {
    int baseline = y + metrics_.ascent;
    ForEachCodePoint(text, [&](char32_t c) {
      const Glyph& g = GlyphFor(c);
      for (int row = 0; row < g.rows; ++row)
        for (int col = 0; col < g.width; ++col)
          if (g.ink[size_t(row) * g.width + col])
            canvas.Plot(x + g.left + col, baseline - g.top + row, color);
      x += g.advance;
    });
    return x;
  }

 private:
  // Windows lays text out by the face's Windows ascent and descent; other
  // faces fall back to their own.
  void ComputeMetrics() {
    double scale = double(face_->size->metrics.y_ppem) / face_->units_per_EM;
    auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face_, FT_SFNT_OS2));
    if (os2 && os2->usWinAscent) {
      metrics_.ascent = int(std::lround(os2->usWinAscent * scale));
      metrics_.height = metrics_.ascent + int(std::lround(os2->usWinDescent * scale));
    } else {
      metrics_.ascent = int((face_->size->metrics.ascender + 63) >> 6);
      metrics_.height = metrics_.ascent + int((-face_->size->metrics.descender + 63) >> 6);
    }
    int total = 0;
    for (char32_t c = U'A'; c <= U'Z'; ++c) total += GlyphFor(c).advance;
    for (char32_t c = U'a'; c <= U'z'; ++c) total += GlyphFor(c).advance;
    metrics_.avgWidth = (total + 26) / 52;
  }

  template <typename Fn>
  static void ForEachCodePoint(std::u16string_view text, Fn fn) {
    for (size_t i = 0; i < text.size();) fn(NextCodePoint(text, &i));
  }

  const Glyph& GlyphFor(char32_t c) const {
    std::lock_guard<std::mutex> lock(mutex_);
    auto found = cache_.find(c);
    if (found != cache_.end()) return found->second;
    Glyph& g = cache_[c];
    FT_UInt index = FT_Get_Char_Index(face_, c);
    if (FT_Load_Glyph(face_, index, FT_LOAD_DEFAULT | FT_LOAD_TARGET_MONO | FT_LOAD_RENDER) != 0)
      return g;
    FT_GlyphSlot slot = face_->glyph;
    g.left = slot->bitmap_left;
    g.top = slot->bitmap_top;
    g.advance = int((slot->advance.x + 32) >> 6);
    g.width = int(slot->bitmap.width);
    g.rows = int(slot->bitmap.rows);
    g.ink.assign(size_t(g.width) * g.rows, 0);
    for (int row = 0; row < g.rows; ++row) {
      const unsigned char* bits = slot->bitmap.buffer + row * slot->bitmap.pitch;
      for (int col = 0; col < g.width; ++col)
        g.ink[size_t(row) * g.width + col] = (bits[col >> 3] >> (7 - (col & 7))) & 1;
    }
    return g;
  }

  FT_Library library_ = nullptr;
  FT_Face face_ = nullptr;
  FontMetrics metrics_{};
  mutable std::mutex mutex_;
  mutable std::map<char32_t, Glyph> cache_;
};

}  // namespace

const Font& DialogFont(FontWeight weight) {
  static std::once_flag once;
  static std::unique_ptr<Font> normal, bold;
  std::call_once(once, [] {
    normal = std::make_unique<FreeTypeFont>(kNormalFace);
    bold = std::make_unique<FreeTypeFont>(kBoldFace);
  });
  return weight == FontWeight::Bold ? *bold : *normal;
}

}  // namespace platform
