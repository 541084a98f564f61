// Test support for mode text files: registry values by path, and export and
// import through a device file, as the settings dialog does them.
#include "textfile/mode_text_test_support.h"

#include "platform/device/device.h"
#include "platform/text/utf.h"
#include "textfile/mode_text.h"

namespace textfile_testing {

namespace {
constexpr WCHAR kFile[] = u"\\mode.txt";

HKEY CreateKey(const std::u16string& keyPath) {
  HKEY key = nullptr;
  EXPECT_EQ(ERROR_SUCCESS,
            RegCreateKeyExW(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr));
  return key;
}
}  // namespace

std::u16string StorePath(const std::u16string& relative) {
  return u"\\Software\\Microsoft\\Today\\Items\\Selvane\\" + relative;
}

void SetNumber(const std::u16string& keyPath, LPCWSTR name, DWORD value) {
  HKEY key = CreateKey(keyPath);
  RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
  RegCloseKey(key);
}

void SetText(const std::u16string& keyPath, LPCWSTR name, const std::u16string& text) {
  HKEY key = CreateKey(keyPath);
  RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                 static_cast<DWORD>((text.size() + 1) * sizeof(WCHAR)));
  RegCloseKey(key);
}

long long GetNumber(const std::u16string& keyPath, LPCWSTR name) {
  HKEY key;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, 0, &key) != ERROR_SUCCESS) return -1;
  DWORD value = 0, size = sizeof value;
  LONG result = RegQueryValueExW(key, name, nullptr, nullptr, reinterpret_cast<LPBYTE>(&value), &size);
  RegCloseKey(key);
  return result == ERROR_SUCCESS ? value : -1;
}

std::u16string GetText(const std::u16string& keyPath, LPCWSTR name) {
  HKEY key;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, 0, &key) != ERROR_SUCCESS) return u"<absent>";
  WCHAR text[600] = {};
  DWORD size = sizeof text - sizeof(WCHAR);
  LONG result = RegQueryValueExW(key, name, nullptr, nullptr, reinterpret_cast<LPBYTE>(text), &size);
  RegCloseKey(key);
  return result == ERROR_SUCCESS ? std::u16string(text) : u"<absent>";
}

bool KeyExists(const std::u16string& keyPath) {
  HKEY key;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, 0, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

std::string ExportToText(LPCWSTR section) {
  FILE* file = _wfopen(kFile, u"w");
  EXPECT_NE(nullptr, file);
  if (!file) return "";
  ExportModeText(file, section);
  fclose(file);
  return testing_support::ReadFile(platform::DeviceFsRoot() / "mode.txt");
}

void ImportFromText(const std::string& content, LPCWSTR section) {
  testing_support::WriteFile(platform::DeviceFsRoot() / "mode.txt", content);
  FILE* file = _wfopen(kFile, u"rt");
  ASSERT_NE(nullptr, file);
  ImportModeText(file, section);
  fclose(file);
}

}  // namespace textfile_testing
