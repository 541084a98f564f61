// ScheduleNextSwitch: the earliest stored switch time of the five modes,
// later today or else tomorrow, registered as the timed start of Lumist.
#include "schedule/switch_schedule.h"

#include <notify.h>

#include "store/format_buffer.h"
#include "store/install_folder.h"
#include "store/mode_keys.h"
#include "store/registry_values.h"

// A switch time: hour and minute, compared hour first, both unsigned.
// (0, 0) means that no time is set.
struct SwitchTime {
  DWORD hour;
  DWORD minute;
};

// The five kinds of switch time in each mode key, as value-name pairs.
struct SwitchTimeValues {
  const WCHAR* hourValue;
  const WCHAR* minuteValue;
};

static const SwitchTimeValues SWITCH_TIME_VALUES[] = {
    {START_HOUR_VALUE, START_MINUTES_VALUE},
    {STOP_HOUR_VALUE, STOP_MINUTES_VALUE},
    {START_HOUR_OUTLOOK_VALUE, START_MINUTES_OUTLOOK_VALUE},
    {STOP_HOUR_OUTLOOK_VALUE, STOP_MINUTES_OUTLOOK_VALUE},
    {STOP_HOUR_TEMP_VALUE, STOP_MINUTES_TEMP_VALUE},
};

static bool IsSet(SwitchTime t) { return t.hour != 0 || t.minute != 0; }

// Hours 0-23 and minutes 0-59. A stored time outside them (a mode file may
// bring one in) can never fall due, and the shell refuses to register it.
static bool IsTimeOfDay(SwitchTime t) { return t.hour <= 23 && t.minute <= 59; }

// The debug line that says a mode's stored time is passed over.
static const WCHAR IMPOSSIBLE_TIME_FORMAT[] =
    TEXT("Selvane: Mode %u \"%s\" switch time %u:%02u is no time of day, passed over");

static bool IsEarlier(SwitchTime a, SwitchTime b) {
  return a.hour < b.hour || (a.hour == b.hour && a.minute < b.minute);
}

// Says that mode `mode`'s stored switch time `t` is no time of day.
static void ReportImpossibleTime(DWORD mode, SwitchTime t) {
  WCHAR name[MODE_NAME_WIDTH];
  ReadModeName(mode, name);
  WCHAR line[WSPRINTF_BUFFER_SIZE];
  wsprintfW(line, IMPOSSIBLE_TIME_FORMAT, mode, name, t.hour, t.minute);
  OutputDebugStringW(line);
}

// Reads a DWORD with a 4-byte buffer; a missing value counts as 0, so a key
// holding one half of a pair gives that half with 0 for the other.
static DWORD ReadTimeValue(HKEY key, LPCWSTR name) {
  DWORD value = 0;
  ReadDwordValue(key, name, &value);
  return value;
}

// The earliest set switch time of any kind in modes 1 to 5 that is later
// than `after` (any set time when `after` is null). False when there is none.
// With `passedOver`, also says, once per mode, that a stored switch time is
// no time of day (the first such one of the mode), and sets it when any
// mode has one.
static bool FindEarliestSwitch(const SwitchTime* after, SwitchTime* earliest, bool* passedOver) {
  bool found = false;
  for (DWORD mode = FIRST_MODE; mode <= LAST_MODE; ++mode) {
    WCHAR path[MODE_KEY_PATH_SIZE];
    ModeKeyPath(mode, path);
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, 0, &key) != ERROR_SUCCESS) continue;
    bool reported = false;
    for (const SwitchTimeValues& kind : SWITCH_TIME_VALUES) {
      SwitchTime t = {ReadTimeValue(key, kind.hourValue), ReadTimeValue(key, kind.minuteValue)};
      if (!IsSet(t)) continue;
      if (!IsTimeOfDay(t)) {
        if (passedOver && !reported) ReportImpossibleTime(mode, t);
        reported = true;
        continue;
      }
      if (after && !IsEarlier(*after, t)) continue;
      if (!found || IsEarlier(t, *earliest)) *earliest = t;
      found = true;
    }
    if (passedOver && reported) *passedOver = true;
    RegCloseKey(key);
  }
  return found;
}

// One day in FILETIME units (100 ns).
static const ULONGLONG FILETIME_DAY = 24ULL * 60 * 60 * 10000000;

void AdvanceOneDay(SYSTEMTIME* date) {
  FILETIME time;
  if (!SystemTimeToFileTime(date, &time)) return;
  ULONGLONG ticks = ((static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime) + FILETIME_DAY;
  time.dwLowDateTime = static_cast<DWORD>(ticks);
  time.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
  SYSTEMTIME tomorrow;
  if (FileTimeToSystemTime(&time, &tomorrow)) *date = tomorrow;
}

// The wake keeper's path in the install folder.
static void WakeKeeperPath(WCHAR path[WSPRINTF_BUFFER_SIZE]) {
  WCHAR folder[WSPRINTF_BUFFER_SIZE];
  LocateInstallFolder(folder, WSPRINTF_BUFFER_SIZE);
  wsprintfW(path, WAKE_KEEPER_PATH_FORMAT, folder);
}

void WithdrawNextSwitch() {
  WCHAR path[WSPRINTF_BUFFER_SIZE];
  WakeKeeperPath(path);
  CeRunAppAtTime(path, nullptr);
}

int ScheduleNextSwitch() {
  SYSTEMTIME wakeUp;
  GetLocalTime(&wakeUp);
  SwitchTime now = {wakeUp.wHour, wakeUp.wMinute};
  WCHAR path[WSPRINTF_BUFFER_SIZE];
  WakeKeeperPath(path);

  bool passedOver = false;
  SwitchTime next = {0, 0};
  if (!FindEarliestSwitch(&now, &next, &passedOver)) {
    // Nothing later today: the first switch of tomorrow, read afresh.
    if (!FindEarliestSwitch(nullptr, &next, nullptr)) {
      // A wake-up registered for a time since replaced by an impossible one is taken back.
      if (passedOver) CeRunAppAtTime(path, nullptr);
      return 0;
    }
    AdvanceOneDay(&wakeUp);
  }
  wakeUp.wHour = static_cast<WORD>(next.hour);
  wakeUp.wMinute = static_cast<WORD>(next.minute);
  wakeUp.wSecond = WAKE_UP_SECOND;
  CeRunAppAtTime(path, &wakeUp);
  return 0;
}
