// Test support for mode text files: a mode key written value by value, and
// files written and read through the device's streams.
#pragma once

#include <windows.h>
#include <string>

#include "platform/testing/device_fixture.h"

namespace textfile_testing {

// "\Software\Microsoft\Today\Items\Selvane\" + a relative path.
std::u16string StorePath(const std::u16string& relative);

void SetNumber(const std::u16string& keyPath, LPCWSTR name, DWORD value);
void SetText(const std::u16string& keyPath, LPCWSTR name, const std::u16string& text);
// A value as stored, or -1 / "<absent>" when it is missing.
long long GetNumber(const std::u16string& keyPath, LPCWSTR name);
std::u16string GetText(const std::u16string& keyPath, LPCWSTR name);
bool KeyExists(const std::u16string& keyPath);

// The export of `section` as the file holds it (UTF-8).
std::string ExportToText(LPCWSTR section);
// Imports `content` (UTF-8 bytes, as on disk) as the block of `section`.
void ImportFromText(const std::string& content, LPCWSTR section);

}  // namespace textfile_testing
