// Reading and writing single registry values into fixed-width fields, shared
// by the store and the phone setters: every copy bounded and terminated.
#pragma once

#include <cstring>
#include <vector>

#include "windows.h"

// Reads a REG_DWORD into `field`. A value of four bytes or fewer is taken
// (widened with zeros); a missing or longer value leaves the field as it was.
inline LONG ReadDwordValue(HKEY key, LPCWSTR name, DWORD* field) {
  DWORD value = 0;
  DWORD size = sizeof value;
  LONG status = RegQueryValueExW(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size);
  if (status == ERROR_SUCCESS) *field = value;
  return status;
}

// Reads a text value whole, whatever its length, into a field of `width`
// units: cut at its first terminator or where the field ends, always
// terminated. A missing value leaves the field as it was.
inline LONG ReadTextValue(HKEY key, LPCWSTR name, WCHAR* field, size_t width) {
  std::vector<BYTE> data;
  LONG status = ERROR_MORE_DATA;
  // The value may grow between asking its size and reading it: ask again.
  for (int attempt = 0; attempt < 4 && status == ERROR_MORE_DATA; ++attempt) {
    DWORD size = 0;
    status = RegQueryValueExW(key, name, nullptr, nullptr, nullptr, &size);
    if (status != ERROR_SUCCESS) return status;
    data.assign(size ? size : 1, 0);
    status = RegQueryValueExW(key, name, nullptr, nullptr, data.data(), &size);
    if (status == ERROR_SUCCESS) data.resize(size);
  }
  if (status != ERROR_SUCCESS) return status;
  size_t units = data.size() / sizeof(WCHAR);  // an odd last byte is no character
  size_t length = 0;
  while (length + 1 < width && length < units) {
    WCHAR c;
    std::memcpy(&c, data.data() + length * sizeof(WCHAR), sizeof c);
    if (!c) break;
    field[length++] = c;
  }
  field[length] = u'\0';
  return ERROR_SUCCESS;
}

inline LONG WriteDwordValue(HKEY key, LPCWSTR name, DWORD value) {
  return RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

// Writes a field of `width` units as REG_SZ with its length and terminator;
// a field without a terminator is written up to its width.
inline LONG WriteTextValue(HKEY key, LPCWSTR name, const WCHAR* field, size_t width) {
  size_t length = 0;
  while (length < width && field[length]) ++length;
  std::vector<WCHAR> text(field, field + length);
  text.push_back(u'\0');
  return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.data()),
                        static_cast<DWORD>(text.size() * sizeof(WCHAR)));
}

// Copies a field of `width` units into `copy` (at least width + 1 units), terminated.
inline void CopyField(WCHAR* copy, const WCHAR* field, size_t width) {
  size_t length = 0;
  while (length < width && field[length]) {
    copy[length] = field[length];
    ++length;
  }
  copy[length] = u'\0';
}
