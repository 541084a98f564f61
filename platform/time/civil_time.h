// The platform's one calendar. The device's clock counts milliseconds since
// 1970-01-01 in local time (kept as if it were UTC, as the phone has no
// time zones), FILETIMEs count 100-ns ticks since 1601-01-01, and both are
// dates and times of day of the proleptic Gregorian calendar of <chrono>.
#pragma once

#include <chrono>
#include <cstdint>

namespace platform {

// One FILETIME unit, 100 nanoseconds.
using FileTimeTicks = std::chrono::duration<int64_t, std::ratio<1, 10000000>>;

// The day FILETIMEs count from.
inline constexpr std::chrono::sys_days kFileTimeEpoch{std::chrono::year{1601} / std::chrono::January / 1};

// A date and a time of day, as SYSTEMTIME and the device tool spell them.
struct CivilTime {
  int year = 1970;
  int month = 1;
  int day = 1;
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
  int weekday = 4;  // 0 = Sunday; worked out by CivilTimeOf, ignored by TimeOfCivil
};

// Whether the date exists (31 April and 29 February 1900 do not) and the
// time of day is one (seconds 0 to 59).
bool IsRealCivilTime(const CivilTime& time);

// The instant of a real civil time.
std::chrono::sys_time<std::chrono::milliseconds> TimeOfCivil(const CivilTime& time);

// The civil time of an instant.
CivilTime CivilTimeOf(std::chrono::sys_time<std::chrono::milliseconds> time);

// FILETIME ticks since 1601-01-01 of an instant, and the instant of such a
// count.
int64_t FileTimeTicksOf(std::chrono::sys_time<FileTimeTicks> time);
std::chrono::sys_time<FileTimeTicks> TimeOfFileTimeTicks(int64_t ticks);

// The instant of the device clock's milliseconds since 1970.
inline std::chrono::sys_time<std::chrono::milliseconds> TimeOfDeviceMs(int64_t ms) {
  return std::chrono::sys_time<std::chrono::milliseconds>{std::chrono::milliseconds{ms}};
}

}  // namespace platform
