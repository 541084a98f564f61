// GetLocalTime, Sleep and GetTickCount over the device clock kept in
// phone.db, with virtual time when the display is headless.
#include "clock.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <mutex>
#include <thread>

#include <windows.h>

#include "../device/device.h"
#include "../time/civil_time.h"
#include "display_choice.h"

namespace platform {

const char kStartTimeVariable[] = "SELVANE_START_TIME_MS";

namespace {

std::mutex g_clockMutex;
bool g_started = false;
bool g_startedAtEntry = false;
int64_t g_startDeviceMs = 0;
std::chrono::steady_clock::time_point g_startSteady;
int64_t g_virtualMs = 0;
TimeKeeper g_keeper;

TimeKeeper Keeper() {
  std::lock_guard<std::mutex> lock(g_clockMutex);
  return g_keeper;
}

int64_t HostLocalNowMs() {
  using namespace std::chrono;
  int64_t utcMs = duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
  time_t seconds = static_cast<time_t>(utcMs / 1000);
  struct tm local;
  localtime_r(&seconds, &local);
  return utcMs + static_cast<int64_t>(local.tm_gmtoff) * 1000;
}

void StartLocked() {
  g_startDeviceMs = DeviceNowMs();
  g_startSteady = std::chrono::steady_clock::now();
  g_virtualMs = 0;
  g_started = true;
}

}  // namespace

int64_t DeviceNowMs() {
  Statement q(DeviceDb(), "SELECT offset_ms, frozen, frozen_at_ms FROM clock WHERE id = 1");
  if (!q.Step()) return HostLocalNowMs();
  if (q.Int(1)) return q.Int(2);
  return HostLocalNowMs() + q.Int(0);
}

bool DeviceClockFrozen() {
  Statement q(DeviceDb(), "SELECT frozen FROM clock WHERE id = 1");
  return q.Step() && q.Int(0) != 0;
}

void SetDeviceClock(int64_t localMs, bool frozen) {
  Statement q(DeviceDb(), "INSERT INTO clock(id, offset_ms, frozen, frozen_at_ms) VALUES(1, ?, ?, ?)"
                          " ON CONFLICT(id) DO UPDATE SET offset_ms = excluded.offset_ms,"
                          " frozen = excluded.frozen, frozen_at_ms = excluded.frozen_at_ms");
  q.Bind(1, localMs - HostLocalNowMs()).Bind(2, frozen ? 1 : 0).Bind(3, localMs).Run();
}

bool VirtualTime() { return DisplayIsHeadless(); }

void RestartProgramClock() {
  std::lock_guard<std::mutex> lock(g_clockMutex);
  StartLocked();
}

void StartProgramClock() {
  std::lock_guard<std::mutex> lock(g_clockMutex);
  StartLocked();
  g_startedAtEntry = true;
  const char* given = std::getenv(kStartTimeVariable);
  if (!given) return;
  int64_t ms = 0;
  const char* end = given + std::strlen(given);
  const auto [stop, error] = std::from_chars(given, end, ms);
  if (error == std::errc() && stop == end && *given) g_startDeviceMs = ms;
  unsetenv(kStartTimeVariable);
}

std::optional<int64_t> ChildStartTimeMs() {
  {
    std::lock_guard<std::mutex> lock(g_clockMutex);
    if (!g_startedAtEntry) return std::nullopt;
  }
  return ProgramNowMs();
}

int64_t ProgramElapsedMs() {
  std::lock_guard<std::mutex> lock(g_clockMutex);
  if (!g_started) StartLocked();
  if (VirtualTime()) return g_virtualMs;
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - g_startSteady)
      .count();
}

int64_t ProgramNowMs() {
  int64_t elapsed = ProgramElapsedMs();
  std::lock_guard<std::mutex> lock(g_clockMutex);
  return g_startDeviceMs + elapsed;
}

void SetTimeKeeper(TimeKeeper keeper) {
  std::lock_guard<std::mutex> lock(g_clockMutex);
  g_keeper = std::move(keeper);
}

bool AdvanceVirtualTime(int64_t ms, bool stopForInput) {
  if (ms <= 0) return true;
  const TimeKeeper keeper = Keeper();
  int64_t target = ProgramNowMs() + ms;
  for (;;) {
    int64_t now = ProgramNowMs();
    int64_t step = keeper.limitMs ? std::min(target, keeper.limitMs()) : target;
    if (step > now) {
      {
        std::lock_guard<std::mutex> lock(g_clockMutex);
        g_virtualMs += step - now;
      }
      if (keeper.reached) keeper.reached(step);
    }
    if (step >= target) return true;
    if (keeper.idle && !keeper.idle(ProgramNowMs(), stopForInput)) return false;
  }
}

const char kDateTimeForm[] = "YYYY-MM-DD HH:MM[:SS]";

namespace {

// The `count` digits at `at`, as a number; false unless all are digits.
bool Digits(const std::string& text, size_t at, size_t count, int* value) {
  *value = 0;
  for (size_t i = at; i < at + count; ++i) {
    if (i >= text.size() || text[i] < '0' || text[i] > '9') return false;
    *value = *value * 10 + (text[i] - '0');
  }
  return true;
}

CivilTime CivilOf(const DateTime& when) {
  CivilTime civil;
  civil.year = when.year;
  civil.month = when.month;
  civil.day = when.day;
  civil.hour = when.hour;
  civil.minute = when.minute;
  civil.second = when.second;
  return civil;
}

}  // namespace

bool ParseDateTime(const std::string& text, DateTime* when) {
  DateTime t{0, 0, 0, 0, 0, 0};
  const bool shape = (text.size() == 16 || (text.size() == 19 && text[16] == ':' && Digits(text, 17, 2, &t.second))) &&
                     Digits(text, 0, 4, &t.year) && text[4] == '-' && Digits(text, 5, 2, &t.month) &&
                     text[7] == '-' && Digits(text, 8, 2, &t.day) && text[10] == ' ' &&
                     Digits(text, 11, 2, &t.hour) && text[13] == ':' && Digits(text, 14, 2, &t.minute);
  if (!shape || t.year < 1970 || !IsRealCivilTime(CivilOf(t))) return false;  // 31 April and the like too
  *when = t;
  return true;
}

bool ParseLocalTime(const std::string& text, int64_t* ms) {
  DateTime when;
  if (!ParseDateTime(text, &when)) return false;
  *ms = TimeOfCivil(CivilOf(when)).time_since_epoch().count();
  return true;
}

std::string FormatLocalTime(int64_t ms) {
  const CivilTime t = CivilTimeOf(std::chrono::floor<std::chrono::seconds>(TimeOfDeviceMs(ms)));
  char text[80];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute,
                t.second);
  return text;
}

}  // namespace platform

void GetLocalTime(LPSYSTEMTIME time) {
  if (!time) return;
  const platform::CivilTime t = platform::CivilTimeOf(platform::TimeOfDeviceMs(platform::ProgramNowMs()));
  time->wYear = static_cast<WORD>(t.year);
  time->wMonth = static_cast<WORD>(t.month);
  time->wDayOfWeek = static_cast<WORD>(t.weekday);
  time->wDay = static_cast<WORD>(t.day);
  time->wHour = static_cast<WORD>(t.hour);
  time->wMinute = static_cast<WORD>(t.minute);
  time->wSecond = static_cast<WORD>(t.second);
  time->wMilliseconds = static_cast<WORD>(t.millisecond);
}

void Sleep(DWORD milliseconds) {
  if (platform::VirtualTime()) {
    platform::AdvanceVirtualTime(milliseconds);
    return;
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

DWORD GetTickCount() { return static_cast<DWORD>(platform::ProgramElapsedMs()); }
