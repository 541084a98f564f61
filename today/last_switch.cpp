// The time is kept as text, "YYYY-MM-DD HH:MM:SS", as the phone's dates are
// written everywhere; only a text of exactly that form is taken back.
#include "today/last_switch.h"

#include "store/mode_store.h"
#include "today/minute_clock.h"

// "YYYY-MM-DD HH:MM:SS" and its terminator.
#define LAST_SWITCH_TEXT_SIZE 20
// What the writing format can produce from any SYSTEMTIME: six WORD fields
// of up to five digits each, five separators and the terminator.
#define LAST_SWITCH_WRITE_SIZE (6 * 5 + 5 + 1)

// The number of `count` digits at `text`, or -1 when one is not a digit.
static int ReadDigits(const WCHAR* text, int count) {
  int number = 0;
  for (int i = 0; i < count; ++i) {
    if (text[i] < TEXT('0') || text[i] > TEXT('9')) return -1;
    number = number * 10 + (text[i] - TEXT('0'));
  }
  return number;
}

static BOOL ParseLastSwitch(const WCHAR* text, SYSTEMTIME* time) {
  if (wcslen(text) != LAST_SWITCH_TEXT_SIZE - 1 || text[4] != TEXT('-') || text[7] != TEXT('-') || text[10] != TEXT(' ') ||
      text[13] != TEXT(':') || text[16] != TEXT(':'))
    return FALSE;
  int year = ReadDigits(text, 4), month = ReadDigits(text + 5, 2), day = ReadDigits(text + 8, 2);
  int hour = ReadDigits(text + 11, 2), minute = ReadDigits(text + 14, 2), second = ReadDigits(text + 17, 2);
  if (year < 0 || month < 0 || day < 0 || hour < 0 || minute < 0 || second < 0) return FALSE;
  SYSTEMTIME parsed = {(WORD)year, (WORD)month, 0, (WORD)day, (WORD)hour, (WORD)minute, (WORD)second, 0};
  *time = parsed;
  return TRUE;
}

BOOL ReadLastSwitch(DWORD* minute) {
  HKEY key;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, STORE_ROOT_KEY, 0, 0, &key) != ERROR_SUCCESS) return FALSE;
  WCHAR text[LAST_SWITCH_TEXT_SIZE + 1] = {};
  DWORD type = REG_NONE;
  DWORD size = sizeof(text) - sizeof(WCHAR);
  LONG status = RegQueryValueExW(key, LAST_SWITCH_TIME_VALUE, nullptr, &type, (LPBYTE)text, &size);
  RegCloseKey(key);
  if (status != ERROR_SUCCESS || type != REG_SZ) return FALSE;
  text[size / sizeof(WCHAR)] = 0;
  SYSTEMTIME time;
  if (!ParseLastSwitch(text, &time)) return FALSE;
  DWORD index = MinuteIndex(&time);
  if (index == 0) return FALSE;
  *minute = index;
  return TRUE;
}

void WriteLastSwitch(const SYSTEMTIME* time) {
  HKEY key;
  DWORD disposition;
  if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, STORE_ROOT_KEY, 0, nullptr, 0, KEY_WRITE, nullptr, &key, &disposition) !=
      ERROR_SUCCESS)
    return;
  WCHAR text[LAST_SWITCH_WRITE_SIZE];
  wsprintfW(text, TEXT("%04d-%02d-%02d %02d:%02d:%02d"), (int)time->wYear, (int)time->wMonth, (int)time->wDay,
            (int)time->wHour, (int)time->wMinute, (int)time->wSecond);
  RegSetValueExW(key, LAST_SWITCH_TIME_VALUE, 0, REG_SZ, (const BYTE*)text, (DWORD)((wcslen(text) + 1) * sizeof(WCHAR)));
  RegCloseKey(key);
}
