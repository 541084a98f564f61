// Import of a mode text block into the settings store: two passes over the
// same stream, the values first (one whole mode), then the notification
// entries. The file is user-edited input; nothing in it is trusted.
#include <strsafe.h>
#include <iterator>

#include "store/format_buffer.h"
#include "store/mode_store.h"
#include "store/mode_table.h"
#include "store/notification_table.h"
#include "textfile/mode_text.h"
#include "textfile/mode_text_names.h"

namespace {

// Lines are read 149 units at a time; a longer line reads as several.
constexpr int kLineCapacity = 150;
// The sound line of an entry is read with less room.
constexpr int kWaveLineCapacity = 100;
// The block markers, "<%s>" and "<\%s>" with the section name.
constexpr int kMarkerCapacity = WSPRINTF_BUFFER_SIZE;
// A key: "<" and the name of a value.
constexpr int kKeyCapacity = 64;

// Notification options always carry this flag; an entry without it gets it.
constexpr DWORD kOptionsFlag = 0x40000000;

// Copies a terminated text into a field of `capacity` units, cut to fit.
void CopyToField(WCHAR* field, size_t capacity, LPCWSTR text) { StringCchCopyW(field, capacity, text); }

// Where the value of a line starts: two characters after its first ":",
// but never past the end of the line. Null when the line has no ":".
LPCWSTR LineValue(LPCWSTR line) {
  LPCWSTR colon = wcschr(line, TEXT(':'));
  if (!colon) return nullptr;
  return colon[1] ? colon + 2 : colon + 1;
}

bool IsBlank(WCHAR c) { return c == TEXT(' ') || c == TEXT('\t') || c == TEXT('\n') || c == TEXT('\r') || c == TEXT('\v') || c == TEXT('\f'); }

// The line's value as a signed decimal number (leading blanks and a sign
// allowed, the digits up to the first other character). No digits, no ":"
// or a number that does not fit in 32 bits gives 0.
DWORD LineNumber(LPCWSTR line) {
  LPCWSTR p = LineValue(line);
  if (!p) return 0;
  while (IsBlank(*p)) p++;
  bool negative = *p == TEXT('-');
  if (*p == TEXT('-') || *p == TEXT('+')) p++;
  // Anything from -2^31 (signed) to 2^32 - 1 (unsigned) is a 32-bit value.
  const long long largest = negative ? 0x80000000LL : 0xFFFFFFFFLL;
  long long value = 0;
  for (; *p >= TEXT('0') && *p <= TEXT('9'); p++) {
    value = value * 10 + (*p - TEXT('0'));
    if (value > largest) return 0;
  }
  return static_cast<DWORD>(negative ? -value : value);
}

// The line's value as text: up to its first ">", or to the end of the line
// (line end included) when it has none; cut to the field. Empty when the
// line has no ":".
void LineText(LPCWSTR line, WCHAR* field, size_t capacity) {
  LPCWSTR p = LineValue(line);
  if (!p) {
    field[0] = 0;
    return;
  }
  LPCWSTR end = wcschr(p, TEXT('>'));
  StringCchCopyNW(field, capacity, p, end ? static_cast<size_t>(end - p) : wcslen(p));
}

// True when the line holds "<" followed by the value's name.
bool LineHasKey(LPCWSTR line, LPCWSTR name) {
  WCHAR key[kKeyCapacity];
  key[0] = TEXT('<');
  CopyToField(key + 1, kKeyCapacity - 1, name);
  return wcsstr(line, key) != nullptr;
}

bool LineSaysNotFound(LPCWSTR line) { return wcsstr(line, kNotFound) != nullptr; }

// Tests one line against every key, in file order; a line may set several
// fields ("<BatteryTimeoutUnchecked" also holds "<BatteryTimeout").
void ReadValueKeys(LPCWSTR line, ModeRecord* mode) {
  for (const ModeValue& value : MODE_VALUES) {
    if (!LineHasKey(line, value.Label)) continue;
    if (LineSaysNotFound(line))
      SetModeField(mode, value, value.NotFound);
    else if (value.Type == REG_DWORD)
      *ModeNumber(mode, value) = LineNumber(line);
    else
      LineText(line, ModeText(mode, value), value.Width);
  }
}

// Reads one line; a line that cannot be read (the end of the file) reads as
// an empty line. False at the end of the file.
bool ReadLine(FILE* file, WCHAR* line, int capacity) {
  if (fgetws(line, capacity, file)) return true;
  line[0] = 0;
  return false;
}

// Rewinds the stream and reads up to the line that holds the start marker;
// false when the file has none.
bool FindBlockStart(FILE* file, LPCWSTR sectionName) {
  WCHAR marker[kMarkerCapacity];
  wsprintfW(marker, kStartMarkerFormat, sectionName);
  fseek(file, 0, SEEK_SET);
  WCHAR line[kLineCapacity];
  while (ReadLine(file, line, kLineCapacity))
    if (wcsstr(line, marker)) return true;
  return false;
}

// An entry is stored as a subkey named after its event: an empty name would
// write into the "Notifications" key itself, and a "\" would reach below it.
bool IsEntryName(LPCWSTR name) { return name[0] != 0 && !wcschr(name, TEXT('\\')); }

}  // namespace

int ReadModeValues(FILE* file, LPCWSTR sectionName) {
  if (!FindBlockStart(file, sectionName)) return 0;
  WCHAR endMarker[kMarkerCapacity];
  wsprintfW(endMarker, kEndMarkerFormat, sectionName);
  ModeRecord mode = ImportStart(sectionName);
  WCHAR line[kLineCapacity];
  while (ReadLine(file, line, kLineCapacity)) {
    ReadValueKeys(line, &mode);
    if (wcsstr(line, endMarker)) {
      SaveExistingMode(sectionName, mode);
      return 0;
    }
  }
  return 0;
}

int ReadModeNotifications(FILE* file, LPCWSTR sectionName) {
  if (!FindBlockStart(file, sectionName)) return 0;
  WCHAR endMarker[kMarkerCapacity];
  wsprintfW(endMarker, kEndMarkerFormat, sectionName);
  WCHAR line[kLineCapacity];
  while (ReadLine(file, line, kLineCapacity)) {
    // The not-found lines of the block ("Notifications keys not found") have no ":".
    if (wcsstr(line, kTextNotification) && wcschr(line, TEXT(':'))) {
      NotificationSetting entry = {};
      LineText(line, entry.EventName, std::size(entry.EventName));
      // The three lines after the name are taken by position.
      ReadLine(file, line, kLineCapacity);
      entry.Options = LineNumber(line);
      if (entry.Options < kOptionsFlag) entry.Options += kOptionsFlag;
      ReadLine(file, line, kLineCapacity);
      entry.Duration = LineNumber(line);
      ReadLine(file, line, kWaveLineCapacity);
      LineText(line, entry.Wave, std::size(entry.Wave));
      if (IsEntryName(entry.EventName)) SaveNotification(sectionName, entry);
    }
    if (wcsstr(line, endMarker)) break;
  }
  return 0;
}

int ImportModeText(FILE* file, LPCWSTR sectionName) {
  ReadModeValues(file, sectionName);
  ReadModeNotifications(file, sectionName);
  return 0;
}
