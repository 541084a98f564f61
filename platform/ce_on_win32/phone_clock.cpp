// The phone's clock: where the hardware key holds "Clock"
// ("YYYY-MM-DD HH:MM:SS"), the phone's time stood there when the program
// started and moves on with it, as a clock set by the user would; else it
// is the computer's local time.
#include <cwchar>
#include <string>

#include "desktop_calls.h"
#include "phone_hardware.h"

namespace {

const WCHAR kClockValue[] = L"Clock";

// 100-nanosecond units of FILETIME in a millisecond.
const ULONGLONG kUnitsPerMs = 10000;

// The set time as FILETIME units, read once at the program's first call;
// zero when the clock is the computer's.
struct SetClock {
  ULONGLONG start = 0;
  ULONGLONG startTick = 0;
};

SetClock ReadSetClock() {
  SetClock clock;
  const std::wstring text = ce_layer::PhoneText(nullptr, kClockValue, L"");
  SYSTEMTIME time = {};
  unsigned year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  if (text.empty() || swscanf(text.c_str(), L"%4u-%2u-%2u %2u:%2u:%2u", &year, &month, &day, &hour, &minute,
                              &second) != 6)
    return clock;
  time.wYear = static_cast<WORD>(year);
  time.wMonth = static_cast<WORD>(month);
  time.wDay = static_cast<WORD>(day);
  time.wHour = static_cast<WORD>(hour);
  time.wMinute = static_cast<WORD>(minute);
  time.wSecond = static_cast<WORD>(second);
  FILETIME file;
  if (!SystemTimeToFileTime(&time, &file)) return clock;
  clock.start = (static_cast<ULONGLONG>(file.dwHighDateTime) << 32) | file.dwLowDateTime;
  clock.startTick = GetTickCount64();
  return clock;
}

}  // namespace

void PhoneGetLocalTime(LPSYSTEMTIME time) {
  static const SetClock clock = ReadSetClock();
  if (!time) return;
  if (clock.start == 0) {
    GetLocalTime(time);
    return;
  }
  ULONGLONG now = clock.start + (GetTickCount64() - clock.startTick) * kUnitsPerMs;
  FILETIME file;
  file.dwLowDateTime = static_cast<DWORD>(now);
  file.dwHighDateTime = static_cast<DWORD>(now >> 32);
  FileTimeToSystemTime(&file, time);
}
