// Runtime text routines over WCHAR (UTF-16) strings: length, comparison,
// search, case, conversion, bounded copies.
#include <climits>
#include <cstring>

#include <strsafe.h>
#include <windows.h>

#include "text_fold.h"

namespace {

bool IsSpace(WCHAR c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }

}  // namespace

size_t wcslen(const WCHAR* text) {
  const WCHAR* end = text;
  while (*end) ++end;
  return static_cast<size_t>(end - text);
}

int wcscmp(const WCHAR* a, const WCHAR* b) {
  while (*a && *a == *b) ++a, ++b;
  return *a < *b ? -1 : *a > *b ? 1 : 0;
}

int wcsncmp(const WCHAR* a, const WCHAR* b, size_t count) {
  for (; count; --count, ++a, ++b) {
    if (*a != *b) return *a < *b ? -1 : 1;
    if (!*a) return 0;
  }
  return 0;
}

WCHAR* wcsncpy(WCHAR* dest, const WCHAR* src, size_t count) {
  size_t i = 0;
  for (; i < count && src[i]; ++i) dest[i] = src[i];
  for (; i < count; ++i) dest[i] = u'\0';
  return dest;
}

const WCHAR* wcsstr(const WCHAR* text, const WCHAR* part) {
  if (!*part) return text;
  size_t length = wcslen(part);
  for (; *text; ++text) {
    if (*text == *part && wcsncmp(text, part, length) == 0) return text;
  }
  return nullptr;
}

WCHAR* wcsstr(WCHAR* text, const WCHAR* part) {
  return const_cast<WCHAR*>(wcsstr(static_cast<const WCHAR*>(text), part));
}

// The terminator counts as part of the text, so searching for 0 finds it.
const WCHAR* wcschr(const WCHAR* text, WCHAR c) {
  for (;; ++text) {
    if (*text == c) return text;
    if (!*text) return nullptr;
  }
}

WCHAR* wcschr(WCHAR* text, WCHAR c) { return const_cast<WCHAR*>(wcschr(static_cast<const WCHAR*>(text), c)); }

const WCHAR* wcsrchr(const WCHAR* text, WCHAR c) {
  const WCHAR* found = nullptr;
  for (;; ++text) {
    if (*text == c) found = text;
    if (!*text) return found;
  }
}

WCHAR* wcsrchr(WCHAR* text, WCHAR c) { return const_cast<WCHAR*>(wcsrchr(static_cast<const WCHAR*>(text), c)); }

WCHAR* _wcslwr(WCHAR* text) {
  for (WCHAR* p = text; *p; ++p) *p = platform::FoldCase(*p);
  return text;
}

int _wcsnicmp(const WCHAR* a, const WCHAR* b, size_t count) {
  for (; count; --count, ++a, ++b) {
    WCHAR x = platform::FoldCase(*a), y = platform::FoldCase(*b);
    if (x != y) return x < y ? -1 : 1;
    if (!x) return 0;
  }
  return 0;
}

int _wcsicmp(const WCHAR* a, const WCHAR* b) { return _wcsnicmp(a, b, SIZE_MAX); }

WCHAR* _wcsdup(const WCHAR* text) {
  if (!text) return nullptr;
  size_t bytes = (wcslen(text) + 1) * sizeof(WCHAR);
  WCHAR* copy = static_cast<WCHAR*>(std::malloc(bytes));
  if (copy) std::memcpy(copy, text, bytes);
  return copy;
}

LONG _wtol(const WCHAR* text) {
  if (!text) return 0;
  while (IsSpace(*text)) ++text;
  bool negative = *text == u'-';
  if (*text == u'-' || *text == u'+') ++text;
  int64_t value = 0;
  for (; *text >= u'0' && *text <= u'9'; ++text) {
    value = value * 10 + (*text - u'0');
    if (value > static_cast<int64_t>(INT32_MAX) + 1) break;
  }
  if (negative) value = -value;
  if (value > INT32_MAX) return INT32_MAX;
  if (value < INT32_MIN) return INT32_MIN;
  return static_cast<LONG>(value);
}

int _wtoi(const WCHAR* text) { return static_cast<int>(_wtol(text)); }

HRESULT StringCchCopyNW(LPWSTR dest, size_t capacity, LPCWSTR src, size_t count) {
  if (!dest || capacity == 0) return STRSAFE_E_INVALID_PARAMETER;
  if (!src) src = u"";
  size_t i = 0;
  for (; i < count && src[i]; ++i) {
    if (i + 1 == capacity) {
      dest[i] = u'\0';
      return STRSAFE_E_INSUFFICIENT_BUFFER;
    }
    dest[i] = src[i];
  }
  dest[i] = u'\0';
  return S_OK;
}

HRESULT StringCchCopyW(LPWSTR dest, size_t capacity, LPCWSTR src) {
  return StringCchCopyNW(dest, capacity, src, SIZE_MAX);
}

HRESULT StringCchCatW(LPWSTR dest, size_t capacity, LPCWSTR src) {
  if (!dest || capacity == 0) return STRSAFE_E_INVALID_PARAMETER;
  size_t length = 0;
  while (length < capacity && dest[length]) ++length;
  if (length == capacity) return STRSAFE_E_INVALID_PARAMETER;
  return StringCchCopyW(dest + length, capacity - length, src);
}
