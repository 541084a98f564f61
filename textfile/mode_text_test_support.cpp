// Test support for mode text files: the store's values by path (through the
// shared registry helpers), and export and import through a device file, as
// the settings dialog does them.
#include "textfile/mode_text_test_support.h"

#include "platform/device/device.h"
#include "platform/testing/registry_values.h"
#include "platform/text/utf.h"
#include "textfile/mode_text.h"

namespace textfile_testing {

namespace {
constexpr WCHAR kFile[] = u"\\mode.txt";
}  // namespace

std::u16string StorePath(const std::u16string& relative) {
  return u"\\Software\\Microsoft\\Today\\Items\\Selvane\\" + relative;
}

void SetNumber(const std::u16string& keyPath, LPCWSTR name, DWORD value) {
  testing_support::SetDword(HKEY_LOCAL_MACHINE, keyPath, name, value);
}

void SetText(const std::u16string& keyPath, LPCWSTR name, const std::u16string& text) {
  testing_support::SetText(HKEY_LOCAL_MACHINE, keyPath, name, text);
}

long long GetNumber(const std::u16string& keyPath, LPCWSTR name) {
  std::optional<DWORD> value = testing_support::GetDword(HKEY_LOCAL_MACHINE, keyPath, name);
  return value ? static_cast<long long>(*value) : -1;
}

std::u16string GetText(const std::u16string& keyPath, LPCWSTR name) {
  std::optional<std::string> text = testing_support::GetText(HKEY_LOCAL_MACHINE, keyPath, name);
  return text ? platform::Utf8ToUtf16(*text) : u"<absent>";
}

bool KeyExists(const std::u16string& keyPath) { return testing_support::KeyExists(HKEY_LOCAL_MACHINE, keyPath); }

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
