// The hardware state's registry key and the journal file shared by every
// program of the CE layer.
#include "phone_hardware.h"

#include <cstdio>

namespace ce_layer {

const WCHAR kPhoneKey[] = L"Software\\Selvane\\Phone";

namespace {

const WCHAR kJournalFileValue[] = L"JournalFile";
const WCHAR kDefaultJournalFile[] = L"\\phone-journal.txt";

std::wstring SectionPath(LPCWSTR section) {
  std::wstring path = kPhoneKey;
  if (section && *section) {
    path += L"\\";
    path += section;
  }
  return path;
}

enum class Use { Read, Change, Create };

HKEY OpenSection(LPCWSTR section, Use use) {
  HKEY key = nullptr;
  const std::wstring path = SectionPath(section);
  LONG result = use == Use::Create ? RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0,
                                                     KEY_READ | KEY_WRITE, nullptr, &key, nullptr)
                                   : RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0,
                                                   use == Use::Read ? KEY_READ : KEY_READ | KEY_WRITE, &key);
  return result == ERROR_SUCCESS ? key : nullptr;
}

// The running program's name: its file name without folder and ".exe".
std::string ProgramName() {
  WCHAR path[MAX_PATH];
  DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return "unknown";
  std::wstring name(path, length);
  size_t slash = name.find_last_of(L"\\/");
  if (slash != std::wstring::npos) name.erase(0, slash + 1);
  if (name.size() > 4 && _wcsicmp(name.c_str() + name.size() - 4, L".exe") == 0) name.resize(name.size() - 4);
  return ToUtf8(name);
}

}  // namespace

DWORD PhoneDword(LPCWSTR section, LPCWSTR name, DWORD fallback) {
  HKEY key = OpenSection(section, Use::Read);
  if (!key) return fallback;
  DWORD value = 0, type = 0, size = sizeof value;
  LONG result = RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
  RegCloseKey(key);
  return result == ERROR_SUCCESS && type == REG_DWORD && size == sizeof value ? value : fallback;
}

void SetPhoneDword(LPCWSTR section, LPCWSTR name, DWORD value) {
  HKEY key = OpenSection(section, Use::Create);
  if (!key) return;
  RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
  RegCloseKey(key);
}

std::wstring PhoneText(LPCWSTR section, LPCWSTR name, LPCWSTR fallback) {
  HKEY key = OpenSection(section, Use::Read);
  if (!key) return fallback;
  WCHAR text[1024];
  DWORD type = 0, size = sizeof text - sizeof(WCHAR);
  LONG result = RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text), &size);
  RegCloseKey(key);
  if (result != ERROR_SUCCESS || type != REG_SZ) return fallback;
  // Terminated here: the stored text may lack its terminator.
  text[size / sizeof(WCHAR)] = 0;
  return text;
}

void SetPhoneText(LPCWSTR section, LPCWSTR name, const std::wstring& value) {
  HKEY key = OpenSection(section, Use::Create);
  if (!key) return;
  RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                 static_cast<DWORD>((value.size() + 1) * sizeof(WCHAR)));
  RegCloseKey(key);
}

void DeletePhoneValue(LPCWSTR section, LPCWSTR name) {
  HKEY key = OpenSection(section, Use::Change);
  if (!key) return;
  RegDeleteValueW(key, name);
  RegCloseKey(key);
}

void CountPhoneDword(LPCWSTR section, LPCWSTR name) {
  // Programs that count at once are kept apart by a named mutex, so that no
  // count is lost between the read and the write.
  HANDLE lock = CreateMutexW(nullptr, FALSE, L"Selvane phone counters");
  if (lock) WaitForSingleObject(lock, 5000);
  SetPhoneDword(section, name, PhoneDword(section, name, 0) + 1);
  if (lock) {
    ReleaseMutex(lock);
    CloseHandle(lock);
  }
}

void JournalAppend(const std::string& text) {
  static const std::string program = ProgramName();
  const std::wstring path = PhoneText(nullptr, kJournalFileValue, kDefaultJournalFile);
  // FILE_APPEND_DATA alone: each write lands whole at the end, also when
  // several programs write at once.
  HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  const std::string line = program + " " + text + "\n";
  DWORD written = 0;
  WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  CloseHandle(file);
}

std::string ToUtf8(const std::wstring& text) {
  if (text.empty()) return {};
  int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string result(size, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), size, nullptr, nullptr);
  return result;
}

std::wstring FromUtf8(const std::string& text) {
  if (text.empty()) return {};
  int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring result(size, L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), size);
  return result;
}

std::string Hex8(DWORD value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(value));
  return text;
}

}  // namespace ce_layer
