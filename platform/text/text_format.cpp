// wsprintfW and wvsprintfW: the Windows CE formatter, limited to 1024 units
// of output with the terminator, whatever the arguments.
#include <algorithm>
#include <string>

#include <emulated_limits.h>
#include <windows.h>

#include "utf.h"

namespace {

// Collects the output, dropping whatever would pass the limit.
class Output {
 public:
  explicit Output(WCHAR* buffer) : buffer_(buffer) {}
  void Put(WCHAR c) {
    if (length_ < WSPRINTF_MAX_OUTPUT - 1) buffer_[length_++] = c;
  }
  void Repeat(WCHAR c, int count) {
    for (int i = 0; i < count; ++i) Put(c);
  }
  int Finish() {
    buffer_[length_] = u'\0';
    return static_cast<int>(length_);
  }

 private:
  WCHAR* buffer_;
  size_t length_ = 0;
};

struct Conversion {
  bool left = false;   // "-": pad on the right
  bool zero = false;   // "0": pad numbers with zeros
  bool alternate = false;  // "#": 0x before hexadecimal
  int width = 0;
  int precision = -1;
  bool narrow = false;  // h or S: the argument is narrow text
};

// Writes `body` with `prefix` (sign, 0x), padded to the width.
void PutField(Output& out, const Conversion& conv, std::u16string_view prefix, std::u16string_view body) {
  int length = static_cast<int>(prefix.size() + body.size());
  int pad = conv.width > length ? conv.width - length : 0;
  if (!conv.left && !conv.zero) out.Repeat(u' ', pad);
  for (WCHAR c : prefix) out.Put(c);
  if (!conv.left && conv.zero) out.Repeat(u'0', pad);
  for (WCHAR c : body) out.Put(c);
  if (conv.left) out.Repeat(u' ', pad);
}

void PutNumber(Output& out, Conversion conv, unsigned int magnitude, bool negative, unsigned base, bool upper) {
  const char* digits = upper ? "0123456789ABCDEF" : "0123456789abcdef";
  std::u16string body;
  do {
    body.insert(body.begin(), static_cast<WCHAR>(digits[magnitude % base]));
    magnitude /= base;
  } while (magnitude);
  if (conv.precision >= 0) {
    if (static_cast<int>(body.size()) < conv.precision) body.insert(0, conv.precision - body.size(), u'0');
    conv.zero = false;
  }
  std::u16string prefix;
  if (negative) prefix = u"-";
  if (conv.alternate && base == 16) prefix = upper ? u"0X" : u"0x";
  if (conv.left) conv.zero = false;
  PutField(out, conv, prefix, body);
}

void PutText(Output& out, Conversion conv, std::u16string_view text) {
  if (conv.precision >= 0 && text.size() > static_cast<size_t>(conv.precision)) text = text.substr(0, conv.precision);
  conv.zero = false;
  PutField(out, conv, u"", text);
}

}  // namespace

int wvsprintfW(LPWSTR buffer, LPCWSTR format, va_list args) {
  Output out(buffer);
  for (const WCHAR* p = format; *p; ++p) {
    if (*p != u'%') {
      out.Put(*p);
      continue;
    }
    if (!*++p) break;
    Conversion conv;
    for (;; ++p) {
      if (*p == u'-') conv.left = true;
      else if (*p == u'0') conv.zero = true;
      else if (*p == u'#') conv.alternate = true;
      else break;
    }
    for (; *p >= u'0' && *p <= u'9'; ++p) conv.width = std::min(conv.width * 10 + (*p - u'0'), WSPRINTF_MAX_OUTPUT);
    if (*p == u'.') {
      conv.precision = 0;
      for (++p; *p >= u'0' && *p <= u'9'; ++p)
        conv.precision = std::min(conv.precision * 10 + (*p - u'0'), WSPRINTF_MAX_OUTPUT);
    }
    // Windows' long is 32 bits, so "l" reads the same int-sized argument.
    if (*p == u'h') {
      conv.narrow = true;
      ++p;
    } else if (*p == u'l') {
      ++p;
    }
    switch (*p) {
      case u'\0':
        return out.Finish();
      case u'd':
      case u'i': {
        int value = va_arg(args, int);
        unsigned magnitude = value < 0 ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
        PutNumber(out, conv, magnitude, value < 0, 10, false);
        break;
      }
      case u'u':
        PutNumber(out, conv, va_arg(args, unsigned), false, 10, false);
        break;
      case u'x':
      case u'X':
        PutNumber(out, conv, va_arg(args, unsigned), false, 16, *p == u'X');
        break;
      case u'c':
      case u'C': {
        int value = va_arg(args, int);
        WCHAR c = conv.narrow || *p == u'C' ? static_cast<WCHAR>(static_cast<unsigned char>(value))
                                            : static_cast<WCHAR>(value);
        PutText(out, conv, std::u16string_view(&c, 1));
        break;
      }
      case u's':
      case u'S':
        if (conv.narrow || *p == u'S') {
          const char* text = va_arg(args, const char*);
          PutText(out, conv, platform::Utf8ToUtf16(text ? text : "(null)"));
        } else {
          const WCHAR* text = va_arg(args, const WCHAR*);
          PutText(out, conv, text ? std::u16string_view(text) : std::u16string_view(u"(null)"));
        }
        break;
      default:
        // "%%" and any unknown type print the character itself.
        out.Put(*p);
        break;
    }
  }
  return out.Finish();
}

int wsprintfW(LPWSTR buffer, LPCWSTR format, ...) {
  va_list args;
  va_start(args, format);
  int length = wvsprintfW(buffer, format, args);
  va_end(args);
  return length;
}
