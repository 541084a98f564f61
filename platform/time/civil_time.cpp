// Civil times and FILETIME ticks over <chrono>'s calendar.
#include "civil_time.h"

namespace platform {

namespace {

using std::chrono::days;
using std::chrono::milliseconds;
using std::chrono::sys_days;
using std::chrono::sys_time;

std::chrono::year_month_day DateOf(const CivilTime& time) {
  return std::chrono::year{time.year} / std::chrono::month{static_cast<unsigned>(time.month)} /
         std::chrono::day{static_cast<unsigned>(time.day)};
}

}  // namespace

bool IsRealCivilTime(const CivilTime& time) {
  // Out-of-range fields would wrap in the calendar's unsigned months and days.
  if (time.month < 1 || time.month > 12 || time.day < 1 || time.day > 31) return false;
  return DateOf(time).ok() && time.hour >= 0 && time.hour <= 23 && time.minute >= 0 && time.minute <= 59 &&
         time.second >= 0 && time.second <= 59 && time.millisecond >= 0 && time.millisecond <= 999;
}

sys_time<milliseconds> TimeOfCivil(const CivilTime& time) {
  return sys_days{DateOf(time)} + std::chrono::hours{time.hour} + std::chrono::minutes{time.minute} +
         std::chrono::seconds{time.second} + milliseconds{time.millisecond};
}

CivilTime CivilTimeOf(sys_time<milliseconds> time) {
  const sys_days day = std::chrono::floor<days>(time);
  const std::chrono::year_month_day date{day};
  const std::chrono::hh_mm_ss<milliseconds> clock{time - day};
  CivilTime civil;
  civil.year = static_cast<int>(date.year());
  civil.month = static_cast<int>(static_cast<unsigned>(date.month()));
  civil.day = static_cast<int>(static_cast<unsigned>(date.day()));
  civil.hour = static_cast<int>(clock.hours().count());
  civil.minute = static_cast<int>(clock.minutes().count());
  civil.second = static_cast<int>(clock.seconds().count());
  civil.millisecond = static_cast<int>(clock.subseconds().count());
  civil.weekday = static_cast<int>(std::chrono::weekday{day}.c_encoding());
  return civil;
}

int64_t FileTimeTicksOf(sys_time<FileTimeTicks> time) { return (time - kFileTimeEpoch).count(); }

sys_time<FileTimeTicks> TimeOfFileTimeTicks(int64_t ticks) { return kFileTimeEpoch + FileTimeTicks{ticks}; }

}  // namespace platform
