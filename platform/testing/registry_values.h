// Test support: registry values written and read in process, through the
// registry calls the programs make, by key path under a root key. A test
// sets up a store with them and reads back what a program left in it.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace testing_support {

// Writes a value, creating its key when missing; a failure is reported as
// the test's failure.
void SetDword(HKEY root, const std::u16string& path, LPCWSTR name, DWORD value);
void SetText(HKEY root, const std::u16string& path, LPCWSTR name, const std::u16string& text);

// Removes a value; nothing happens when it or its key is missing.
void DeleteValue(HKEY root, const std::u16string& path, LPCWSTR name);

// A stored DWORD, or nothing when the key or value is missing or the value
// has another type.
std::optional<DWORD> GetDword(HKEY root, const std::u16string& path, LPCWSTR name);

// A stored text in UTF-8, up to its first terminator, or nothing when the key
// or value is missing.
std::optional<std::string> GetText(HKEY root, const std::u16string& path, LPCWSTR name);

bool KeyExists(HKEY root, const std::u16string& path);

// How many subkeys the key has; 0 when it is missing.
DWORD SubkeyCount(HKEY root, const std::u16string& path);

}  // namespace testing_support
