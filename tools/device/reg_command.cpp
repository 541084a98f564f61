// selvane-device reg get|set|delete|export|import: the phone's registry from
// outside, in the .reg file's notation.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>

#include "platform/device/device.h"
#include "platform/text/utf.h"
#include "tools/device/commands.h"
#include "tools/device/reg_file.h"

namespace {

constexpr char kKeyHelp[] = "Key, e.g. HKEY_LOCAL_MACHINE\\Software\\... (HKLM, HKCU, HKCR, HKU also accepted)";
constexpr char kNameHelp[] = "Value name (@ for the key's default value)";

std::string Limit(size_t limit) { return std::to_string(limit); }

KeyPath KeyArgument(const std::string& text) {
  auto key = ParseKeyPath(text);
  if (!key) throw UsageError("unknown root key in \"" + text + "\" (expected HKEY_LOCAL_MACHINE, HKLM, ...)");
  for (size_t start = 0; start <= key->path.size();) {
    size_t end = std::min(key->path.find(u'\\', start), key->path.size());
    if (end - start > REG_MAX_NAME_LENGTH)
      throw UsageError("a key name is longer than " + Limit(REG_MAX_NAME_LENGTH) + " characters in \"" + text + "\"");
    start = end + 1;
  }
  return *key;
}

std::u16string ValueArgument(const std::string& name) {
  std::u16string value = name == "@" ? u"" : platform::Utf8ToUtf16(name);
  if (value.size() > REG_MAX_NAME_LENGTH)
    throw UsageError("the value name is " + std::to_string(value.size()) + " characters long; at most " +
                     Limit(REG_MAX_NAME_LENGTH));
  return value;
}

// Why a registry call failed, in words.
std::string Reason(LONG status) {
  switch (status) {
    case ERROR_GEN_FAILURE:
      return "the device's database could not be read or written";
    case ERROR_DISK_FULL:
      return "the device is full";
    case ERROR_WRITE_PROTECT:
    case ERROR_ACCESS_DENIED:
      return "the device may not be written";
    case ERROR_KEY_DELETED:
      return "the key was deleted meanwhile";
    default:
      return "error " + std::to_string(status);
  }
}

// Opens an existing key, or fails the command naming it.
HKEY OpenExisting(const KeyPath& key) {
  HKEY handle = nullptr;
  LONG status = RegOpenKeyExW(key.root, key.path.c_str(), 0, KEY_READ, &handle);
  if (status == ERROR_FILE_NOT_FOUND) throw CommandError("no key " + key.Text());
  if (status != ERROR_SUCCESS) throw CommandError("cannot open " + key.Text() + ": " + Reason(status));
  return handle;
}

// The key's path as stored (its first writer's spelling), for export.
KeyPath StoredSpelling(const KeyPath& key) {
  KeyPath stored{key.root, key.rootName, u""};
  HKEY parent = key.root;
  std::u16string rest = key.path;
  while (!rest.empty()) {
    size_t slash = rest.find(u'\\');
    std::u16string part = rest.substr(0, slash);
    rest = slash == std::u16string::npos ? u"" : rest.substr(slash + 1);
    if (part.empty()) continue;
    std::u16string found = part;
    WCHAR name[REG_MAX_NAME_LENGTH + 1];
    for (DWORD index = 0;; ++index) {
      DWORD size = REG_MAX_NAME_LENGTH + 1;
      if (RegEnumKeyExW(parent, index, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
      if (_wcsicmp(name, part.c_str()) == 0) {
        found.assign(name, size);
        break;
      }
    }
    stored.path += (stored.path.empty() ? u"" : u"\\") + found;
    HKEY child;
    if (RegOpenKeyExW(parent, found.c_str(), 0, KEY_READ, &child) != ERROR_SUCCESS) break;
    if (parent != key.root) RegCloseKey(parent);
    parent = child;
  }
  if (parent != key.root) RegCloseKey(parent);
  return stored;
}

DWORD ParseDword(const std::string& text) {
  bool hex = text.rfind("0x", 0) == 0 || text.rfind("0X", 0) == 0;
  std::string digits = hex ? text.substr(2) : text;
  if (digits.empty()) throw UsageError("--dword: not a number (decimal, or hexadecimal after 0x): " + text);
  uint64_t value = 0;
  for (char c : digits) {
    int digit = std::isdigit(static_cast<unsigned char>(c)) ? c - '0'
                : hex && std::isxdigit(static_cast<unsigned char>(c)) ? std::tolower(c) - 'a' + 10
                                                                      : -1;
    if (digit < 0) throw UsageError("--dword: not a number (decimal, or hexadecimal after 0x): " + text);
    // Stops growing once out of range, so that any count of digits is safe.
    if (value <= 0xFFFFFFFFu) value = value * (hex ? 16 : 10) + static_cast<uint64_t>(digit);
  }
  if (value > 0xFFFFFFFFu) throw UsageError("--dword: " + text + " is out of range 0..4294967295 (0x0..0xFFFFFFFF)");
  return static_cast<DWORD>(value);
}

void AddGet(CLI::App* reg) {
  CLI::App* get = reg->add_subcommand("get", "Print a value (dword:0000000a, \"text\", hex:...), or all of a key");
  auto key = std::make_shared<std::string>();
  auto name = std::make_shared<std::string>();
  get->add_option("KEY", *key, kKeyHelp)->required();
  get->add_option("NAME", *name, kNameHelp);
  get->callback([key, name, get] {
    KeyPath path = KeyArgument(*key);
    ReadDevice();
    HKEY handle = OpenExisting(path);
    std::vector<StoredValue> values = ReadValues(handle);
    RegCloseKey(handle);
    if (get->count("NAME") == 0) {
      for (const auto& value : values) {
        std::string label = FormatValueName(value.name) + "=";
        std::printf("%s%s\n", label.c_str(), FormatValueData(value.type, value.data, label.size()).c_str());
      }
      return;
    }
    std::u16string wanted = ValueArgument(*name);
    for (const auto& value : values) {
      if (_wcsicmp(value.name.c_str(), wanted.c_str()) == 0) {
        std::printf("%s\n", FormatValueData(value.type, value.data).c_str());
        return;
      }
    }
    throw CommandError("no value " + FormatValueName(wanted) + " in " + path.Text());
  });
}

void AddSet(CLI::App* reg) {
  CLI::App* set = reg->add_subcommand("set", "Write a value (the key is created when missing)");
  struct Arguments {
    std::string key, name, dword, text;
  };
  auto args = std::make_shared<Arguments>();
  set->add_option("KEY", args->key, kKeyHelp)->required();
  set->add_option("NAME", args->name, kNameHelp)->required();
  CLI::Option* dword = set->add_option("--dword", args->dword, "A REG_DWORD, decimal or 0x hexadecimal");
  CLI::Option* text = set->add_option("--sz", args->text, "A REG_SZ text");
  dword->excludes(text);
  text->excludes(dword);
  set->callback([args, dword, text] {
    if (!*dword && !*text) throw UsageError("reg set needs --dword N or --sz TEXT");
    KeyPath path = KeyArgument(args->key);
    std::u16string name = ValueArgument(args->name);
    std::string data;
    DWORD type = REG_SZ;
    if (*dword) {
      DWORD value = ParseDword(args->dword);
      data.assign(reinterpret_cast<const char*>(&value), 4);
      type = REG_DWORD;
    } else {
      std::u16string units = platform::Utf8ToUtf16(args->text);
      units.push_back(u'\0');
      data.assign(reinterpret_cast<const char*>(units.data()), units.size() * 2);
      if (data.size() > REG_MAX_DATA_SIZE)
        throw UsageError("--sz: the text takes " + std::to_string(data.size()) +
                         " bytes (UTF-16 with its terminator); a value holds at most " + Limit(REG_MAX_DATA_SIZE));
    }
    ChangeDevice();
    HKEY handle = nullptr;
    LONG status = RegCreateKeyExW(path.root, path.path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle, nullptr);
    if (status != ERROR_SUCCESS)
      throw CommandError("cannot create " + path.Text() + ": " + Reason(status));
    status = RegSetValueExW(handle, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(data.data()),
                            static_cast<DWORD>(data.size()));
    RegCloseKey(handle);
    if (status != ERROR_SUCCESS) throw CommandError("cannot write the value: " + Reason(status));
  });
}

void AddDelete(CLI::App* reg) {
  CLI::App* del = reg->add_subcommand("delete", "Delete a value, or a key with everything below it");
  auto key = std::make_shared<std::string>();
  auto name = std::make_shared<std::string>();
  del->add_option("KEY", *key, kKeyHelp)->required();
  del->add_option("NAME", *name, kNameHelp);
  del->callback([key, name, del] {
    KeyPath path = KeyArgument(*key);
    ChangeDevice();
    if (del->count("NAME") == 0) {
      if (path.path.empty()) throw CommandError("a root key cannot be deleted");
      LONG status = RegDeleteKeyW(path.root, path.path.c_str());
      if (status == ERROR_FILE_NOT_FOUND) throw CommandError("no key " + path.Text());
      if (status != ERROR_SUCCESS) throw CommandError("cannot delete " + path.Text() + ": " + Reason(status));
      return;
    }
    HKEY handle = OpenExisting(path);
    std::u16string value = ValueArgument(*name);
    LONG status = RegDeleteValueW(handle, value.c_str());
    RegCloseKey(handle);
    if (status == ERROR_FILE_NOT_FOUND) throw CommandError("no value " + FormatValueName(value) + " in " + path.Text());
    if (status != ERROR_SUCCESS) throw CommandError("cannot delete the value: " + Reason(status));
  });
}

void AddExport(CLI::App* reg) {
  CLI::App* exp = reg->add_subcommand("export", "Print the registry, or a branch of it, as a .reg file");
  auto key = std::make_shared<std::string>();
  exp->add_option("KEY", *key, kKeyHelp);
  exp->callback([key, exp] {
    std::optional<KeyPath> branch;
    if (exp->count("KEY")) branch = KeyArgument(*key);
    ReadDevice();
    std::string out = std::string(REG_FILE_HEADER) + "\n\n";
    // One read transaction: the export shows the registry at one moment.
    sqlite3* db = platform::DeviceDb();
    platform::Exec(db, "BEGIN");
    try {
      if (exp->count("KEY")) {
        KeyPath path = StoredSpelling(*branch);
        HKEY handle = OpenExisting(path);
        ExportBranch(&out, path, handle);
        RegCloseKey(handle);
      } else {
        for (const char* root : {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", "HKEY_USERS"}) {
          KeyPath path = *ParseKeyPath(root);
          // A root is written with its subkeys; its own section only when it holds values.
          if (!ReadValues(path.root).empty()) {
            std::string section;
            ExportBranch(&section, path, path.root);
            out += section;
            continue;
          }
          WCHAR name[REG_MAX_NAME_LENGTH + 1];
          for (DWORD index = 0;; ++index) {
            DWORD size = REG_MAX_NAME_LENGTH + 1;
            if (RegEnumKeyExW(path.root, index, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
              break;
            KeyPath child{path.root, path.rootName, std::u16string(name, size)};
            HKEY handle = OpenExisting(child);
            ExportBranch(&out, child, handle);
            RegCloseKey(handle);
          }
        }
      }
    } catch (...) {
      sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
      throw;
    }
    platform::Exec(db, "COMMIT");
    std::fwrite(out.data(), 1, out.size(), stdout);
  });
}

void AddImport(CLI::App* reg) {
  CLI::App* imp = reg->add_subcommand("import", "Merge a .reg file (\"-\" removals included); all of it or nothing");
  auto file = std::make_shared<std::string>();
  imp->add_option("FILE", *file, "The .reg file (- for standard input)")->required();
  imp->callback([file] {
    std::stringstream text;
    if (*file == "-") {
      text << std::cin.rdbuf();
    } else {
      std::error_code ec;
      if (std::filesystem::is_directory(*file, ec)) throw CommandError("cannot read " + *file + ": it is a folder");
      std::ifstream in(*file, std::ios::binary);
      if (!in) throw CommandError("cannot read " + *file);
      text << in.rdbuf();
      if (in.bad()) throw CommandError("cannot read " + *file);
    }
    std::vector<RegChange> changes;
    std::string error;
    if (!ParseRegFile(text.str(), &changes, &error)) throw CommandError(*file + ": " + error + "; nothing imported");
    ChangeDevice();
    if (!ApplyRegChanges(changes, &error)) throw CommandError(*file + ": " + error + "; nothing imported");
  });
}

}  // namespace

void AddRegCommand(CLI::App& app) {
  CLI::App* reg = app.add_subcommand("reg", "Read and write the phone's registry");
  reg->require_subcommand(1);
  AddGet(reg);
  AddSet(reg);
  AddDelete(reg);
  AddExport(reg);
  AddImport(reg);
}
