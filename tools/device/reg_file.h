// The "Windows Registry Editor Version 5.00" text of registry keys and
// values: key paths, value data, export of a branch, parsing of a file.
#pragma once

#include <windows.h>
#include <optional>
#include <string>
#include <vector>

inline constexpr char REG_FILE_HEADER[] = "Windows Registry Editor Version 5.00";

// A key written as in a .reg file: a root (HKEY_LOCAL_MACHINE or HKLM, ...)
// and the path below it.
struct KeyPath {
  HKEY root;
  std::string rootName;  // the full root name, as exported
  std::u16string path;   // below the root, "\"-separated, maybe empty
  std::string Text() const;
};

std::optional<KeyPath> ParseKeyPath(const std::string& text);

// One value as stored.
struct StoredValue {
  std::u16string name;
  DWORD type;
  std::string data;
};

// `"name"` (escaped), or `@` for the default value.
std::string FormatValueName(const std::u16string& name);
// `"text"`, `dword:0000000a`, `hex:..` or `hex(N):..`, chosen so that the
// text reads back to exactly the stored bytes. `column` is where the data
// start on its line, for wrapping long hex data.
std::string FormatValueData(DWORD type, const std::string& data, size_t column = 0);

// Reads the values of an open key, in enumeration order.
std::vector<StoredValue> ReadValues(HKEY key);

// Writes the key and everything below it as .reg sections.
void ExportBranch(std::string* out, const KeyPath& key, HKEY handle);

// One change of a .reg file.
struct RegChange {
  enum Kind { CreateKey, DeleteKey, SetValue, DeleteValue } kind;
  KeyPath key;
  StoredValue value;  // SetValue and DeleteValue
  int line;
};

// Parses a whole file; false with "line N: why" in *error.
bool ParseRegFile(const std::string& text, std::vector<RegChange>* changes, std::string* error);

// Applies parsed changes in one transaction: all of them, or none
// (false with the reason in *error).
bool ApplyRegChanges(const std::vector<RegChange>& changes, std::string* error);
