// selvane-device modes: the schedule of the five modes, one line each, read
// from the settings store without changing it: the active mark, the daily
// start with its days, the daily stop and the mode it goes back to, the
// calendar rule, and the next time one of the mode's rules switches.
#include <cstdio>
#include <string>
#include <vector>

#include "platform/kernel/clock.h"
#include "platform/text/utf.h"
#include "store/mode_keys.h"
#include "store/mode_record.h"
#include "store/mode_store.h"
#include "store/registry_values.h"
#include "store/root_values.h"
#include "tools/device/commands.h"

namespace {

constexpr int64_t kMinuteMs = 60 * 1000;
constexpr int64_t kDayMs = 24 * 60 * kMinuteMs;
constexpr int kMinutesPerDay = 24 * 60;
// 1970-01-01, day 0 of the clock, was a Thursday (Sunday 0).
constexpr int kEpochWeekday = 4;
// "Days" holds one hexadecimal digit per day, Monday the highest.
constexpr const char* kDayNames[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
constexpr const char* kStatusNames[] = {"free", "tentative", "busy", "out of office", "any status"};

struct ModeSchedule {
  DWORD startHour = 0, startMinutes = 0, days = 0;
  DWORD stopHour = 0, stopMinutes = 0, modeBack = 0;
  DWORD outlookSwitch = 0, status = 0, modeBusy = 0;
  DWORD startHourOutlook = 0, startMinutesOutlook = 0, stopHourOutlook = 0, stopMinutesOutlook = 0;
  DWORD stopHourTemp = 0, stopMinutesTemp = 0;
  WCHAR category[CATEGORY_WIDTH] = {};
};

DWORD ReadNumber(HKEY key, LPCWSTR name) {
  DWORD value = 0;
  ReadDwordValue(key, name, &value);
  return value;
}

ModeSchedule ReadSchedule(DWORD mode) {
  ModeSchedule s;
  WCHAR path[MODE_KEY_PATH_SIZE];
  ModeKeyPath(mode, path);
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, 0, &key) != ERROR_SUCCESS) return s;
  s.startHour = ReadNumber(key, START_HOUR_VALUE);
  s.startMinutes = ReadNumber(key, START_MINUTES_VALUE);
  s.days = ReadNumber(key, DAYS_VALUE);
  s.stopHour = ReadNumber(key, STOP_HOUR_VALUE);
  s.stopMinutes = ReadNumber(key, STOP_MINUTES_VALUE);
  s.modeBack = ReadNumber(key, MODE_BACK_VALUE);
  s.outlookSwitch = ReadNumber(key, OUTLOOK_SWITCH_VALUE);
  s.status = ReadNumber(key, STATUS_VALUE);
  s.modeBusy = ReadNumber(key, MODE_BUSY_VALUE);
  s.startHourOutlook = ReadNumber(key, START_HOUR_OUTLOOK_VALUE);
  s.startMinutesOutlook = ReadNumber(key, START_MINUTES_OUTLOOK_VALUE);
  s.stopHourOutlook = ReadNumber(key, STOP_HOUR_OUTLOOK_VALUE);
  s.stopMinutesOutlook = ReadNumber(key, STOP_MINUTES_OUTLOOK_VALUE);
  s.stopHourTemp = ReadNumber(key, STOP_HOUR_TEMP_VALUE);
  s.stopMinutesTemp = ReadNumber(key, STOP_MINUTES_TEMP_VALUE);
  ReadTextValue(key, CATEGORY_VALUE, s.category, CATEGORY_WIDTH);
  RegCloseKey(key);
  return s;
}

bool IsSet(DWORD hour, DWORD minutes) { return hour != 0 || minutes != 0; }
bool IsTimeOfDay(DWORD hour, DWORD minutes) { return hour <= 23 && minutes <= 59; }

std::string ModeText(DWORD mode) {
  WCHAR name[MODE_NAME_WIDTH];
  ReadModeName(mode, name);
  return std::to_string(mode) + " \"" + platform::Utf16ToUtf8(name) + "\"";
}

// "HH:MM", decimal; a time that is no time of day says so.
std::string TimeText(DWORD hour, DWORD minutes) {
  char text[48];
  std::snprintf(text, sizeof text, "%02lu:%02lu%s", static_cast<unsigned long>(hour),
                static_cast<unsigned long>(minutes), IsTimeOfDay(hour, minutes) ? "" : " (no time of day)");
  return text;
}

bool DayTicked(DWORD days, int mondayFirst) { return (days >> (4 * (6 - mondayFirst))) & 0xF; }

// The days of a daily start: none ticked means every day, as the switch reads them.
std::string DaysText(DWORD days) {
  std::string text;
  int ticked = 0;
  for (int day = 0; day < 7; ++day)
    if (DayTicked(days, day)) {
      text += std::string(text.empty() ? "" : " ") + kDayNames[day];
      ++ticked;
    }
  return ticked == 0 || ticked == 7 ? "every day" : text;
}

std::string CalendarText(const ModeSchedule& s) {
  if (s.outlookSwitch != 1) return "calendar off";
  std::string category = platform::Utf16ToUtf8(s.category);
  std::string status = s.status <= STATUS_ANY ? kStatusNames[s.status] : "status " + std::to_string(s.status);
  return "calendar " + status + ", " +
         (category.empty() || category == platform::Utf16ToUtf8(CATEGORY_ANY) ? "any category"
                                                                              : "category \"" + category + "\"") +
         " to " + ModeText(s.modeBusy);
}

// A rule's time of day: on every day, or on the days it names.
struct RuleTime {
  int minuteOfDay;
  DWORD days;      // ticked days of a daily start; 0 = every day
  bool todayOnly;  // the calendar's times are today's appointment
};

// The next minute, later than now, at which one of the mode's rules switches;
// -1 when none will.
int64_t NextSwitchMs(const ModeSchedule& s, int64_t nowMs) {
  std::vector<RuleTime> rules;
  auto add = [&](DWORD hour, DWORD minutes, DWORD days, bool todayOnly) {
    if (IsSet(hour, minutes) && IsTimeOfDay(hour, minutes))
      rules.push_back({static_cast<int>(hour * 60 + minutes), days, todayOnly});
  };
  add(s.startHour, s.startMinutes, s.days, false);
  add(s.stopHour, s.stopMinutes, 0, false);
  if (s.outlookSwitch == 1) {
    add(s.startHourOutlook, s.startMinutesOutlook, 0, true);
    add(s.stopHourOutlook, s.stopMinutesOutlook, 0, true);
  }
  add(s.stopHourTemp, s.stopMinutesTemp, 0, false);

  int64_t today = nowMs / kDayMs;
  int nowMinute = static_cast<int>((nowMs % kDayMs) / kMinuteMs);
  // A week and a day reach every ticked day.
  for (int64_t day = today; day <= today + 7; ++day) {
    int weekday = static_cast<int>((day + kEpochWeekday) % 7);
    int mondayFirst = (weekday + 6) % 7;
    int best = kMinutesPerDay;
    for (const RuleTime& rule : rules) {
      if (day == today && rule.minuteOfDay <= nowMinute) continue;
      if (rule.todayOnly && day != today) continue;
      if ((rule.days & ALL_DAYS) && !DayTicked(rule.days, mondayFirst)) continue;
      if (rule.minuteOfDay < best) best = rule.minuteOfDay;
    }
    if (best < kMinutesPerDay) return day * kDayMs + best * kMinuteMs;
  }
  return -1;
}

void PrintModes() {
  DWORD active = 0;
  bool stored = ReadRootDword(DEFAULT_MODE_VALUE, &active);
  int64_t now = platform::DeviceNowMs();
  for (DWORD mode = FIRST_MODE; mode <= LAST_MODE; ++mode) {
    ModeSchedule s = ReadSchedule(mode);
    std::string line = ModeText(mode) + (stored && active == mode ? " active" : "");
    line += IsSet(s.startHour, s.startMinutes)
                ? "; start " + TimeText(s.startHour, s.startMinutes) + " " + DaysText(s.days)
                : "; start none";
    line += IsSet(s.stopHour, s.stopMinutes)
                ? "; stop " + TimeText(s.stopHour, s.stopMinutes) + " back to " + ModeText(s.modeBack)
                : "; stop none";
    line += "; " + CalendarText(s);
    int64_t next = NextSwitchMs(s, now);
    line += "; next " + (next < 0 ? std::string("none") : platform::FormatLocalTime(next).substr(0, 16));
    std::printf("%s\n", line.c_str());
  }
}

}  // namespace

void AddModesCommand(CLI::App& app) {
  CLI::App* modes = app.add_subcommand(
      "modes",
      "Print the five modes' schedule, one line each: number, name, \"active\" for the active one, the daily "
      "start and its days, the daily stop and the mode it goes back to, the calendar rule (status, category, "
      "mode), and the next time the mode's rules switch (YYYY-MM-DD HH:MM), times in decimal");
  modes->callback([] {
    ReadDevice();
    PrintModes();
  });
}
