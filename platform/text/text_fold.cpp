// Case folding of UTF-16 code units to lower case, for the registry's names
// and the runtime's case-insensitive routines.
#include "text_fold.h"

namespace platform {

char16_t FoldCase(char16_t c) {
  if (c < 0x80) return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 0x20) : c;
  // Latin-1 capitals, except the multiplication sign.
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<char16_t>(c + 0x20);
  // Latin Extended-A: capitals and small letters alternate, with a shift
  // in parity between U+0139 and U+0148 and a few letters of their own.
  if (c >= 0x100 && c <= 0x17F) {
    if (c == 0x130) return u'i';
    if (c == 0x178) return 0xFF;
    if (c == 0x138 || c == 0x149 || c == 0x17F) return c;
    bool oddRange = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    if (oddRange) return (c & 1) ? static_cast<char16_t>(c + 1) : c;
    return (c & 1) ? c : static_cast<char16_t>(c + 1);
  }
  // Greek and Cyrillic capitals.
  if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) return static_cast<char16_t>(c + 0x20);
  if (c >= 0x410 && c <= 0x42F) return static_cast<char16_t>(c + 0x20);
  if (c >= 0x400 && c <= 0x40F) return static_cast<char16_t>(c + 0x50);
  return c;
}

std::u16string FoldCase(std::u16string_view text) {
  std::u16string folded(text);
  for (char16_t& c : folded) c = FoldCase(c);
  return folded;
}

}  // namespace platform
