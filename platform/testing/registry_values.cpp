// Test support: registry values by key path, through the registry calls.
#include "registry_values.h"

#include <gtest/gtest.h>

#include "../text/utf.h"

namespace testing_support {

namespace {

// Creates or opens the key for writing; nullptr (and a failure) when it cannot.
HKEY CreateKey(HKEY root, const std::u16string& path) {
  HKEY key = nullptr;
  LONG status = RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
  EXPECT_EQ(status, ERROR_SUCCESS) << "cannot create key " << platform::Utf16ToUtf8(path);
  return status == ERROR_SUCCESS ? key : nullptr;
}

void SetValue(HKEY root, const std::u16string& path, LPCWSTR name, DWORD type, const void* data, DWORD bytes) {
  HKEY key = CreateKey(root, path);
  if (!key) return;
  EXPECT_EQ(RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), bytes), ERROR_SUCCESS)
      << "cannot write " << platform::Utf16ToUtf8(path) << "\\" << platform::Utf16ToUtf8(name ? name : u"@");
  RegCloseKey(key);
}

}  // namespace

void SetDword(HKEY root, const std::u16string& path, LPCWSTR name, DWORD value) {
  SetValue(root, path, name, REG_DWORD, &value, sizeof value);
}

void SetText(HKEY root, const std::u16string& path, LPCWSTR name, const std::u16string& text) {
  SetValue(root, path, name, REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(WCHAR)));
}

void DeleteValue(HKEY root, const std::u16string& path, LPCWSTR name) {
  HKEY key;
  if (RegOpenKeyExW(root, path.c_str(), 0, 0, &key) != ERROR_SUCCESS) return;
  RegDeleteValueW(key, name);
  RegCloseKey(key);
}

std::optional<DWORD> GetDword(HKEY root, const std::u16string& path, LPCWSTR name) {
  HKEY key;
  if (RegOpenKeyExW(root, path.c_str(), 0, 0, &key) != ERROR_SUCCESS) return std::nullopt;
  DWORD type = 0, value = 0, bytes = sizeof value;
  LONG status = RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<LPBYTE>(&value), &bytes);
  RegCloseKey(key);
  if (status != ERROR_SUCCESS || type != REG_DWORD) return std::nullopt;
  return value;
}

std::optional<std::string> GetText(HKEY root, const std::u16string& path, LPCWSTR name) {
  HKEY key;
  if (RegOpenKeyExW(root, path.c_str(), 0, 0, &key) != ERROR_SUCCESS) return std::nullopt;
  std::optional<std::string> text;
  DWORD bytes = 0;
  if (RegQueryValueExW(key, name, nullptr, nullptr, nullptr, &bytes) == ERROR_SUCCESS) {
    // One unit more than the data, so that a text stored without its
    // terminator still ends in one.
    std::u16string data(bytes / sizeof(WCHAR) + 1, u'\0');
    if (RegQueryValueExW(key, name, nullptr, nullptr, reinterpret_cast<LPBYTE>(data.data()), &bytes) == ERROR_SUCCESS)
      text = platform::Utf16ToUtf8(std::u16string(data.c_str()));
  }
  RegCloseKey(key);
  return text;
}

bool KeyExists(HKEY root, const std::u16string& path) {
  HKEY key;
  if (RegOpenKeyExW(root, path.c_str(), 0, 0, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

DWORD SubkeyCount(HKEY root, const std::u16string& path) {
  HKEY key;
  DWORD count = 0;
  if (RegOpenKeyExW(root, path.c_str(), 0, 0, &key) != ERROR_SUCCESS) return 0;
  RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
  RegCloseKey(key);
  return count;
}

}  // namespace testing_support
