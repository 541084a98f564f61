// Single registry values into and out of fixed-width fields.
#include "store/registry_values.h"

#include <cstring>

LONG ReadWholeValue(HKEY key, LPCWSTR name, std::vector<BYTE>* data) {
  // Most values fit a small buffer; only a longer one takes a second, sized read.
  BYTE buffer[512];
  DWORD size = sizeof buffer;
  LONG status = RegQueryValueExW(key, name, nullptr, nullptr, buffer, &size);
  if (status == ERROR_SUCCESS) {
    data->assign(buffer, buffer + size);
    return ERROR_SUCCESS;
  }
  if (status != ERROR_MORE_DATA) return status;
  // The value may change size between the two calls; read again until it fits.
  for (int attempt = 0; attempt < 4; ++attempt) {
    if (attempt > 0) {
      size = 0;
      status = RegQueryValueExW(key, name, nullptr, nullptr, nullptr, &size);
      if (status != ERROR_SUCCESS) return status;
    }
    data->assign(size ? size : 1, 0);
    status = RegQueryValueExW(key, name, nullptr, nullptr, data->data(), &size);
    if (status == ERROR_SUCCESS) {
      data->resize(size);
      return ERROR_SUCCESS;
    }
    if (status != ERROR_MORE_DATA) return status;
  }
  return ERROR_MORE_DATA;
}

LONG ReadDwordValue(HKEY key, LPCWSTR name, DWORD* field) {
  DWORD value = 0;
  DWORD size = sizeof value;
  LONG status = RegQueryValueExW(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size);
  if (status == ERROR_SUCCESS) *field = value;
  return status;
}

LONG ReadTypedDwordValue(HKEY key, LPCWSTR name, DWORD* field) {
  DWORD value = 0;
  DWORD type = REG_NONE;
  DWORD size = sizeof value;
  LONG status = RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
  if (status != ERROR_SUCCESS) return status;
  if (type != REG_DWORD || size != sizeof value) return ERROR_INVALID_DATA;
  *field = value;
  return ERROR_SUCCESS;
}

LONG ReadTextValue(HKEY key, LPCWSTR name, WCHAR* field, size_t width) {
  std::vector<BYTE> data;
  LONG status = ReadWholeValue(key, name, &data);
  if (status != ERROR_SUCCESS) return status;
  size_t units = data.size() / sizeof(WCHAR);  // an odd last byte is no character
  size_t length = 0;
  while (length + 1 < width && length < units) {
    WCHAR c;
    std::memcpy(&c, data.data() + length * sizeof(WCHAR), sizeof c);
    if (!c) break;
    field[length++] = c;
  }
  field[length] = TEXT('\0');
  return ERROR_SUCCESS;
}

DWORD CountSubkeys(HKEY key) {
  DWORD count = 0;
  if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr, nullptr, nullptr,
                       nullptr, nullptr) != ERROR_SUCCESS)
    return 0;
  return count;
}

LONG WriteDwordValue(HKEY key, LPCWSTR name, DWORD value) {
  return RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

LONG WriteTextValue(HKEY key, LPCWSTR name, const WCHAR* field, size_t width) {
  size_t length = 0;
  while (length < width && field[length]) ++length;
  std::vector<WCHAR> text(field, field + length);
  text.push_back(TEXT('\0'));
  return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.data()),
                        static_cast<DWORD>(text.size() * sizeof(WCHAR)));
}

void CopyField(WCHAR* copy, const WCHAR* field, size_t width) {
  size_t length = 0;
  while (length < width && field[length]) {
    copy[length] = field[length];
    ++length;
  }
  copy[length] = TEXT('\0');
}
