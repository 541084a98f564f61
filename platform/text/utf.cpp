// UTF-8 <-> UTF-16 for text that crosses to the host, whole or from a
// stream. Malformed input (invalid bytes, lone surrogates) becomes U+FFFD
// rather than failing.
#include "utf.h"

namespace platform {

std::u16string Utf8ToUtf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    char32_t code = kReplacementCharacter;
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
        if (ok && !overlong && value <= 0x10FFFF && !IsSurrogate(value)) code = value;
      } else {
        length = text.size() - i;
      }
    }
    char16_t units[2];
    out.append(units, static_cast<size_t>(EncodeUtf16(code, units)));
    i += length;
  }
  return out;
}

std::string Utf16ToUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    char32_t code = NextCodePoint(text, &i);
    if (IsSurrogate(code)) code = kReplacementCharacter;
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

char32_t NextCodePoint(std::u16string_view text, size_t* at) {
  char32_t code = text[*at];
  ++*at;
  if (code >= 0xD800 && code <= 0xDBFF && *at < text.size() && text[*at] >= 0xDC00 && text[*at] <= 0xDFFF) {
    code = 0x10000 + ((code - 0xD800) << 10) + (text[*at] - 0xDC00);
    ++*at;
  }
  return code;
}

int EncodeUtf16(char32_t code, char16_t units[2]) {
  if (code < 0x10000) {
    units[0] = static_cast<char16_t>(code);
    return 1;
  }
  code -= 0x10000;
  units[0] = static_cast<char16_t>(0xD800 + (code >> 10));
  units[1] = static_cast<char16_t>(0xDC00 + (code & 0x3FF));
  return 2;
}

char32_t ReadUtf8Sequence(std::FILE* stream, int lead) {
  int length;
  char32_t value;
  int low = 0x80, high = 0xBF;  // range of the first continuation byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 1;
    value = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 2;
    value = lead & 0x0F;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 3;
    value = lead & 0x07;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;  // nothing above U+10FFFF
  } else {
    return kReplacementCharacter;
  }
  for (int i = 0; i < length; ++i) {
    int c = std::fgetc(stream);
    if (c == EOF) return kReplacementCharacter;
    if (c < low || c > high) {
      std::ungetc(c, stream);
      return kReplacementCharacter;
    }
    low = 0x80;
    high = 0xBF;
    value = (value << 6) | (static_cast<char32_t>(c) & 0x3F);
  }
  return value;
}

}  // namespace platform
