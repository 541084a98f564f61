// Export of one stored mode as a text block: the values of its key in the
// settings store, one line each, then its notification entries.
#include <cstring>
#include <vector>

#include "store/format_buffer.h"
#include "store/mode_store.h"
#include "store/mode_table.h"
#include "store/registry_values.h"
#include "textfile/mode_text.h"
#include "textfile/mode_text_names.h"

namespace {

// The sound of a notification entry is read with this limit, in bytes with
// the terminator; a longer one counts as not readable.
constexpr DWORD kWaveBytes = 100;

// Only the first entries of a mode fit its notification table.
constexpr DWORD kExportedEntries = 25;
// Entry names are enumerated up to 255 characters.
constexpr DWORD kEntryNameCapacity = 256;

constexpr WCHAR kNumberLineFormat[] = TEXT("\t<%s : %d>\n");
constexpr WCHAR kTextLineFormat[] = TEXT("\t<%s : %s>\n");
constexpr WCHAR kNotFoundLineFormat[] = TEXT("\t<%s not found>\n");
constexpr WCHAR kSecretLineFormat[] = TEXT("\t<%s : >\n");
constexpr WCHAR kEntryNameLineFormat[] = TEXT("\t<Notification : %s>\n");
constexpr WCHAR kEntryNumberLineFormat[] = TEXT("\t\t<%s : %d>\n");
constexpr WCHAR kEntryTextLineFormat[] = TEXT("\t\t<%s : %s>\n");
constexpr WCHAR kNoNotificationsKeyLine[] = TEXT("\t<Notifications keys not found>\n");
constexpr WCHAR kNoNotificationsCountLine[] = TEXT("\t<Notifications sub-keys not found>\n");

// A formatted line: all that wsprintfW may write.
typedef WCHAR LineBuffer[WSPRINTF_BUFFER_SIZE];

// A path of the store from one of its formats; false when it would not fit
// whole, since a cut path would name another key.
bool FormatStorePath(WCHAR* path, LPCWSTR format, LPCWSTR keyName, LPCWSTR entryName = TEXT("")) {
  return wsprintfW(path, format, keyName, entryName) < WSPRINTF_BUFFER_SIZE - 1;
}

// Reads a number value of at most 4 bytes, whatever its stored type.
// False when it is missing or longer than 4 bytes.
bool QueryNumber(HKEY key, LPCWSTR name, DWORD* value) { return ReadDwordValue(key, name, value) == ERROR_SUCCESS; }

// Reads a text value of at most `limitBytes` bytes into `text` (room for
// limitBytes / 2 + 1 units) and terminates it, since a stored text may lack
// its terminator. False when it is missing or longer than the limit.
bool QueryText(HKEY key, LPCWSTR name, DWORD limitBytes, WCHAR* text) {
  memset(text, 0, limitBytes + sizeof(WCHAR));
  DWORD size = limitBytes;
  if (RegQueryValueExW(key, name, nullptr, nullptr, reinterpret_cast<LPBYTE>(text), &size) != ERROR_SUCCESS) {
    text[0] = 0;
    return false;
  }
  text[size / sizeof(WCHAR)] = 0;
  return true;
}

void WriteNumberLine(FILE* file, HKEY key, LPCWSTR name) {
  LineBuffer line;
  DWORD value = 0;
  if (QueryNumber(key, name, &value))
    wsprintfW(line, kNumberLineFormat, name, static_cast<int>(value));
  else
    wsprintfW(line, kNotFoundLineFormat, name);
  fputws(line, file);
}

// A text value read with the value's export limit; a secret one shows only
// that the mode has it.
void WriteTextLine(FILE* file, HKEY key, const ModeValue& value) {
  LineBuffer line;
  std::vector<WCHAR> text(value.ExportBytes / sizeof(WCHAR) + 1);
  if (!QueryText(key, value.Label, value.ExportBytes, text.data()))
    wsprintfW(line, kNotFoundLineFormat, value.Label);
  else if (value.Secret)
    wsprintfW(line, kSecretLineFormat, value.Label);
  else
    wsprintfW(line, kTextLineFormat, value.Label, text.data());
  fputws(line, file);
}

// The thirty value lines, in file order.
void WriteValueLines(FILE* file, LPCWSTR sectionName) {
  WCHAR path[WSPRINTF_BUFFER_SIZE];
  HKEY key;
  if (!FormatStorePath(path, MODE_KEY_FORMAT, sectionName) || RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, 0, &key) != ERROR_SUCCESS)
    return;
  for (const ModeValue& value : MODE_VALUES) {
    if (value.Type == REG_DWORD)
      WriteNumberLine(file, key, value.Label);
    else
      WriteTextLine(file, key, value);
  }
  RegCloseKey(key);
}

// One entry: its name line, then its values; an entry key that cannot be
// opened gets its name line only, a value that cannot be read shows 0 or
// an empty text.
void WriteEntryLines(FILE* file, LPCWSTR sectionName, LPCWSTR entryName) {
  LineBuffer line;
  wsprintfW(line, kEntryNameLineFormat, entryName);
  fputws(line, file);

  WCHAR path[WSPRINTF_BUFFER_SIZE];
  HKEY key;
  if (!FormatStorePath(path, NOTIFICATION_KEY_FORMAT, sectionName, entryName) ||
      RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, 0, &key) != ERROR_SUCCESS)
    return;
  DWORD options = 0;
  DWORD duration = 0;
  WCHAR wave[kWaveBytes / sizeof(WCHAR) + 1];
  QueryNumber(key, NOTIFICATION_OPTIONS_VALUE, &options);
  QueryNumber(key, NOTIFICATION_DURATION_VALUE, &duration);
  QueryText(key, NOTIFICATION_WAVE_VALUE, kWaveBytes, wave);
  RegCloseKey(key);

  wsprintfW(line, kEntryNumberLineFormat, kTextOptions, static_cast<int>(options));
  fputws(line, file);
  wsprintfW(line, kEntryNumberLineFormat, kTextDuration, static_cast<int>(duration));
  fputws(line, file);
  wsprintfW(line, kEntryTextLineFormat, kTextWave, wave);
  fputws(line, file);
}

// The notification block: the first 25 entries in enumeration order.
void WriteNotificationLines(FILE* file, LPCWSTR sectionName) {
  WCHAR path[WSPRINTF_BUFFER_SIZE];
  HKEY key;
  if (!FormatStorePath(path, NOTIFICATIONS_KEY_FORMAT, sectionName) ||
      RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, 0, &key) != ERROR_SUCCESS) {
    fputws(kNoNotificationsKeyLine, file);
    return;
  }
  DWORD count = 0;
  if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr, nullptr, nullptr,
                       nullptr, nullptr) != ERROR_SUCCESS) {
    fputws(kNoNotificationsCountLine, file);
    RegCloseKey(key);
    return;
  }
  for (DWORD i = 0; i < kExportedEntries && i < count; i++) {
    WCHAR name[kEntryNameCapacity] = {};
    DWORD length = kEntryNameCapacity;
    if (RegEnumKeyExW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) continue;
    WriteEntryLines(file, sectionName, name);
  }
  RegCloseKey(key);
}

}  // namespace

int ExportModeText(FILE* file, LPCWSTR sectionName) {
  LineBuffer line;
  wsprintfW(line, kBlockStartFormat, sectionName);
  fputws(line, file);
  WriteValueLines(file, sectionName);
  WriteNotificationLines(file, sectionName);
  wsprintfW(line, kBlockEndFormat, sectionName);
  fputws(line, file);
  return 0;
}
