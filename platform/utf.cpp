// UTF-8 <-> UTF-16 for text that crosses to the host. Malformed input
// (invalid bytes, lone surrogates) becomes U+FFFD rather than failing.
#include "wintext_utf.h"

namespace platform {

std::u16string Utf8ToUtf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    char32_t code = 0xFFFD;
    size_t length = 1;
    if (c < 0x80) {
      code = c;
    } else if (c >= 0xC2 && c <= 0xF4) {
      length = c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
      if (i + length <= text.size()) {
        char32_t value = c & (0x3F >> (length - 1));
        bool ok = true;
        for (size_t k = 1; k < length; ++k) {
          unsigned char next = static_cast<unsigned char>(text[i + k]);
          if ((next & 0xC0) != 0x80) {
            ok = false;
            length = k;
            break;
          }
          value = (value << 6) | (next & 0x3F);
        }
        bool overlong = (length == 3 && value < 0x800) || (length == 4 && value < 0x10000);
        if (ok && !overlong && value <= 0x10FFFF && !(value >= 0xD800 && value <= 0xDFFF)) code = value;
      } else {
        length = text.size() - i;
      }
    }
    if (code >= 0x10000) {
      code -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(code));
    }
    i += length;
  }
  return out;
}

std::string Utf16ToUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t code = text[i];
    if (code >= 0xD800 && code <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      code = 0x10000 + ((code - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (code >= 0xD800 && code <= 0xDFFF) {
      code = 0xFFFD;
    }
    if (code < 0x80) {
      out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (code >> 6)));
      out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (code >> 12)));
      out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (code >> 18)));
      out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
  }
  return out;
}

}  // namespace platform
