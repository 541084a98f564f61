// Reading and writing the .reg text: key paths and roots, value data in the
// forms that read back to the exact stored bytes, export and import.
#include "tools/device/reg_file.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "platform/device/device.h"
#include "platform/text/utf.h"

namespace {

struct RootName {
  const char* full;
  const char* shortName;
  HKEY root;
};

const RootName kRoots[] = {
    {"HKEY_LOCAL_MACHINE", "HKLM", HKEY_LOCAL_MACHINE},
    {"HKEY_CURRENT_USER", "HKCU", HKEY_CURRENT_USER},
    {"HKEY_CLASSES_ROOT", "HKCR", HKEY_CLASSES_ROOT},
    {"HKEY_USERS", "HKU", HKEY_USERS},
};

bool SameAscii(const std::string& a, const char* b) {
  if (a.size() != std::strlen(b)) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

// Text in double quotes with "\" and the quote escaped.
std::string Quote(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  return out + "\"";
}

// A stored REG_SZ that is plain text with one terminator can be written as
// "text"; anything else (no terminator, odd length, inner zeros, control
// characters, lone surrogates) needs hex to read back exactly.
bool IsPlainText(const std::string& data, std::u16string* text) {
  if (data.size() < 2 || data.size() % 2) return false;
  std::u16string units(data.size() / 2, u'\0');
  std::memcpy(units.data(), data.data(), data.size());
  if (units.back() != u'\0') return false;
  units.pop_back();
  for (size_t i = 0; i < units.size();) {
    char32_t c = platform::NextCodePoint(units, &i);
    if (c < 0x20 || c == 0x7F || platform::IsSurrogate(c)) return false;
  }
  *text = units;
  return true;
}

// Comma-separated hex bytes, wrapped with "\" continuations before 80 columns.
std::string HexBytes(const std::string& data, size_t column) {
  static const char digits[] = "0123456789abcdef";
  std::string out;
  for (size_t i = 0; i < data.size(); ++i) {
    unsigned char b = static_cast<unsigned char>(data[i]);
    out += digits[b >> 4];
    out += digits[b & 15];
    column += 2;
    if (i + 1 < data.size()) {
      out += ',';
      ++column;
      if (column > 75) {
        out += "\\\n  ";
        column = 2;
      }
    }
  }
  return out;
}

std::string Trim(const std::string& text) {
  size_t begin = text.find_first_not_of(" \t");
  if (begin == std::string::npos) return "";
  size_t end = text.find_last_not_of(" \t");
  return text.substr(begin, end - begin + 1);
}

// Parses a quoted string at text[*pos] (which must be '"'), undoing the
// escapes "\\" and "\"". Leaves *pos after the closing quote.
bool ParseQuoted(const std::string& text, size_t* pos, std::string* out, std::string* why) {
  out->clear();
  for (size_t i = *pos + 1; i < text.size(); ++i) {
    char c = text[i];
    if (c == '"') {
      *pos = i + 1;
      return true;
    }
    if (c == '\\') {
      if (i + 1 >= text.size() || (text[i + 1] != '\\' && text[i + 1] != '"')) {
        *why = "a backslash in quotes must be written \\\\ (or \\\" for a quote)";
        return false;
      }
      c = text[++i];
    }
    *out += c;
  }
  *why = "the closing quote is missing";
  return false;
}

bool ParseHexNumber(const std::string& text, size_t maxDigits, DWORD* value) {
  if (text.empty() || text.size() > maxDigits) return false;
  DWORD result = 0;
  for (char c : text) {
    if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
    result = result * 16 + static_cast<DWORD>(std::isdigit(static_cast<unsigned char>(c)) ? c - '0'
                                                                                            : std::tolower(c) - 'a' + 10);
  }
  *value = result;
  return true;
}

// "aa,bb,cc" (spaces allowed around the bytes), or nothing at all.
bool ParseHexBytes(const std::string& text, std::string* out) {
  out->clear();
  std::string rest = Trim(text);
  if (rest.empty()) return true;
  size_t start = 0;
  while (true) {
    size_t comma = rest.find(',', start);
    std::string byte = Trim(rest.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
    DWORD value;
    if (!ParseHexNumber(byte, 2, &value)) return false;
    *out += static_cast<char>(value);
    if (comma == std::string::npos) return true;
    start = comma + 1;
  }
}

// True when the line ends inside an unclosed quote (so a final "\" there is text).
bool EndsInsideQuotes(const std::string& line) {
  bool inside = false;
  for (size_t i = 0; i < line.size(); ++i) {
    if (inside && line[i] == '\\') {
      ++i;
    } else if (line[i] == '"') {
      inside = !inside;
    }
  }
  return inside;
}

// Parses the data after "=": `-`, `"text"`, `dword:`, `hex:` or `hex(N):`.
bool ParseValueData(const std::string& text, RegChange* change, std::string* why) {
  std::string data = Trim(text);
  if (data == "-") {
    change->kind = RegChange::DeleteValue;
    return true;
  }
  change->kind = RegChange::SetValue;
  if (!data.empty() && data[0] == '"') {
    size_t pos = 0;
    std::string value;
    if (!ParseQuoted(data, &pos, &value, why)) return false;
    if (!Trim(data.substr(pos)).empty()) {
      *why = "unexpected text after the closing quote";
      return false;
    }
    std::u16string units = platform::Utf8ToUtf16(value);
    units.push_back(u'\0');
    change->value.type = REG_SZ;
    change->value.data.assign(reinterpret_cast<const char*>(units.data()), units.size() * 2);
    return true;
  }
  std::string lower = data;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (lower.rfind("dword:", 0) == 0) {
    DWORD value;
    if (!ParseHexNumber(Trim(data.substr(6)), 8, &value)) {
      *why = "dword: needs 1 to 8 hexadecimal digits";
      return false;
    }
    change->value.type = REG_DWORD;
    change->value.data.assign(reinterpret_cast<const char*>(&value), 4);
    return true;
  }
  size_t bytesAt = 0;
  if (lower.rfind("hex:", 0) == 0) {
    change->value.type = REG_BINARY;
    bytesAt = 4;
  } else if (lower.rfind("hex(", 0) == 0) {
    size_t close = lower.find("):");
    DWORD type;
    if (close == std::string::npos || !ParseHexNumber(lower.substr(4, close - 4), 8, &type)) {
      *why = "hex(N): needs a hexadecimal type number";
      return false;
    }
    change->value.type = type;
    bytesAt = close + 2;
  } else {
    *why = "the data must be \"text\", dword:, hex:, hex(N): or -";
    return false;
  }
  if (!ParseHexBytes(data.substr(bytesAt), &change->value.data)) {
    *why = "hex data must be bytes of two hexadecimal digits separated by commas";
    return false;
  }
  if (change->value.data.size() > REG_MAX_DATA_SIZE) {
    *why = "the data are larger than 64 KiB";
    return false;
  }
  return true;
}

// Splits the file into logical lines (continuations joined), each with the
// number of its first physical line.
std::vector<std::pair<int, std::string>> LogicalLines(const std::string& text) {
  std::vector<std::pair<int, std::string>> lines;
  size_t pos = 0;
  int number = 0;
  bool continuing = false;
  while (pos <= text.size()) {
    size_t end = text.find('\n', pos);
    std::string line = text.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
    pos = end == std::string::npos ? text.size() + 1 : end + 1;
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (continuing) {
      size_t begin = line.find_first_not_of(" \t");
      lines.back().second += begin == std::string::npos ? "" : line.substr(begin);
    } else {
      lines.emplace_back(number, line);
    }
    std::string& current = lines.back().second;
    size_t last = current.find_last_not_of(" \t");
    continuing = last != std::string::npos && current[last] == '\\' && !EndsInsideQuotes(current.substr(0, last));
    if (continuing) current.resize(last);
  }
  return lines;
}

// A file saved by the Windows editor is UTF-16 with a byte-order mark.
std::string AsUtf8(const std::string& text) {
  if (text.size() >= 2 && static_cast<unsigned char>(text[0]) == 0xFF && static_cast<unsigned char>(text[1]) == 0xFE) {
    std::u16string units((text.size() - 2) / 2, u'\0');
    std::memcpy(units.data(), text.data() + 2, units.size() * 2);
    return platform::Utf16ToUtf8(units);
  }
  if (text.rfind("\xEF\xBB\xBF", 0) == 0) return text.substr(3);
  return text;
}

}  // namespace

std::string KeyPath::Text() const {
  return path.empty() ? rootName : rootName + "\\" + platform::Utf16ToUtf8(path);
}

std::optional<KeyPath> ParseKeyPath(const std::string& text) {
  size_t slash = text.find('\\');
  std::string rootText = text.substr(0, slash);
  for (const auto& root : kRoots) {
    if (!SameAscii(rootText, root.full) && !SameAscii(rootText, root.shortName)) continue;
    KeyPath key{root.root, root.full, u""};
    if (slash == std::string::npos) return key;
    // Separators are kept as given: the registry ignores leading, trailing
    // and doubled ones; the exported text uses the stored spelling.
    std::u16string path = platform::Utf8ToUtf16(text.substr(slash + 1));
    size_t begin = path.find_first_not_of(u'\\');
    key.path = begin == std::u16string::npos ? u"" : path.substr(begin);
    while (!key.path.empty() && key.path.back() == u'\\') key.path.pop_back();
    return key;
  }
  return std::nullopt;
}

std::string FormatValueName(const std::u16string& name) {
  return name.empty() ? "@" : Quote(platform::Utf16ToUtf8(name));
}

std::string FormatValueData(DWORD type, const std::string& data, size_t column) {
  std::u16string text;
  if (type == REG_SZ && IsPlainText(data, &text)) return Quote(platform::Utf16ToUtf8(text));
  if (type == REG_DWORD && data.size() == 4) {
    DWORD value;
    std::memcpy(&value, data.data(), 4);
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "dword:%08x", value);
    return buffer;
  }
  std::string prefix;
  if (type == REG_BINARY) {
    prefix = "hex:";
  } else {
    char buffer[24];
    std::snprintf(buffer, sizeof buffer, "hex(%x):", type);
    prefix = buffer;
  }
  return prefix + HexBytes(data, column + prefix.size());
}

std::vector<StoredValue> ReadValues(HKEY key) {
  std::vector<StoredValue> values;
  // Buffers for the longest name and data, measured once (measuring reads
  // every value) and again only when a value has grown since.
  std::u16string name;
  std::string data;
  auto measure = [&] {
    DWORD maxName = 0, maxData = 0;
    if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &maxName, &maxData,
                         nullptr, nullptr) != ERROR_SUCCESS)
      return false;
    name.assign(maxName + 1, u'\0');
    data.assign(maxData ? maxData : 1, '\0');
    return true;
  };
  if (!measure()) return values;
  for (DWORD index = 0;;) {
    DWORD nameSize = static_cast<DWORD>(name.size()), dataSize = static_cast<DWORD>(data.size()), type = 0;
    LONG status = RegEnumValueW(key, index, name.data(), &nameSize, nullptr, &type,
                                reinterpret_cast<BYTE*>(data.data()), &dataSize);
    if (status == ERROR_MORE_DATA) {
      if (!measure()) break;
      continue;
    }
    if (status != ERROR_SUCCESS) break;
    values.push_back({name.substr(0, nameSize), type, data.substr(0, dataSize)});
    ++index;
  }
  return values;
}

void ExportBranch(std::string* out, const KeyPath& key, HKEY handle) {
  *out += "[" + key.Text() + "]\n";
  for (const auto& value : ReadValues(handle)) {
    std::string name = FormatValueName(value.name) + "=";
    *out += name + FormatValueData(value.type, value.data, name.size()) + "\n";
  }
  *out += "\n";
  WCHAR name[REG_MAX_NAME_LENGTH + 1];
  for (DWORD index = 0;; ++index) {
    DWORD size = REG_MAX_NAME_LENGTH + 1;
    if (RegEnumKeyExW(handle, index, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    HKEY child;
    if (RegOpenKeyExW(handle, name, 0, KEY_READ, &child) != ERROR_SUCCESS) continue;
    KeyPath childPath = key;
    childPath.path = key.path.empty() ? std::u16string(name, size) : key.path + u"\\" + std::u16string(name, size);
    ExportBranch(out, childPath, child);
    RegCloseKey(child);
  }
}

bool ParseRegFile(const std::string& fileText, std::vector<RegChange>* changes, std::string* error) {
  changes->clear();
  bool sawHeader = false;
  std::optional<KeyPath> current;
  for (const auto& [number, raw] : LogicalLines(AsUtf8(fileText))) {
    std::string line = Trim(raw);
    auto fail = [&, number = number](const std::string& why) {
      *error = "line " + std::to_string(number) + ": " + why;
      return false;
    };
    if (line.empty() || line[0] == ';') continue;
    if (!sawHeader) {
      if (line != REG_FILE_HEADER) return fail(std::string("expected \"") + REG_FILE_HEADER + "\"");
      sawHeader = true;
      continue;
    }
    if (line[0] == '[') {
      if (line.back() != ']') return fail("a key line must end with ]");
      std::string inner = line.substr(1, line.size() - 2);
      bool removal = !inner.empty() && inner[0] == '-';
      auto key = ParseKeyPath(removal ? inner.substr(1) : inner);
      if (!key) return fail("unknown root key in [" + inner + "]");
      if (removal && key->path.empty()) return fail("a root key cannot be removed");
      changes->push_back({removal ? RegChange::DeleteKey : RegChange::CreateKey, *key, {}, number});
      current = removal ? std::nullopt : key;
      continue;
    }
    if (line[0] == '"' || line[0] == '@') {
      if (!current) return fail("a value must follow a [key] line");
      RegChange change{RegChange::SetValue, *current, {u"", REG_NONE, ""}, number};
      size_t pos = 1;
      if (line[0] == '"') {
        pos = 0;
        std::string name, why;
        if (!ParseQuoted(line, &pos, &name, &why)) return fail(why);
        if (name.empty()) return fail("the default value is written @, not \"\"");
        change.value.name = platform::Utf8ToUtf16(name);
        if (change.value.name.size() > REG_MAX_NAME_LENGTH) return fail("the value name is longer than 255 characters");
      }
      size_t equals = line.find_first_not_of(" \t", pos);
      if (equals == std::string::npos || line[equals] != '=') return fail("expected = after the value name");
      std::string why;
      if (!ParseValueData(line.substr(equals + 1), &change, &why)) return fail(why);
      changes->push_back(change);
      continue;
    }
    return fail("expected a [key], a \"value\"=data line or a ; comment");
  }
  if (!sawHeader) {
    *error = std::string("line 1: expected \"") + REG_FILE_HEADER + "\"";
    return false;
  }
  return true;
}

bool ApplyRegChanges(const std::vector<RegChange>& changes, std::string* error) {
  platform::Transaction transaction(platform::DeviceDb());
  HKEY current = nullptr;
  auto fail = [&](int line, const std::string& what, LONG status) {
    if (current) RegCloseKey(current);
    *error = "line " + std::to_string(line) + ": " + what + " (error " + std::to_string(status) + ")";
    return false;
  };
  for (const auto& change : changes) {
    LONG status = ERROR_SUCCESS;
    switch (change.kind) {
      case RegChange::CreateKey:
        if (current) RegCloseKey(current);
        current = nullptr;
        status = RegCreateKeyExW(change.key.root, change.key.path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                                 &current, nullptr);
        if (status != ERROR_SUCCESS) return fail(change.line, "cannot create " + change.key.Text(), status);
        break;
      case RegChange::DeleteKey:
        status = RegDeleteKeyW(change.key.root, change.key.path.c_str());
        if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND)
          return fail(change.line, "cannot remove " + change.key.Text(), status);
        break;
      case RegChange::SetValue:
        status = RegSetValueExW(current, change.value.name.c_str(), 0, change.value.type,
                                reinterpret_cast<const BYTE*>(change.value.data.data()),
                                static_cast<DWORD>(change.value.data.size()));
        if (status != ERROR_SUCCESS) return fail(change.line, "cannot write the value", status);
        break;
      case RegChange::DeleteValue:
        status = RegDeleteValueW(current, change.value.name.c_str());
        if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND)
          return fail(change.line, "cannot remove the value", status);
        break;
    }
  }
  if (current) RegCloseKey(current);
  transaction.Commit();
  return true;
}
