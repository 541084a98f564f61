// selvane-device week: the modes the Today item will make active over the
// days ahead if nobody switches by hand, worked out by the item's own
// decision from the store, the calendar and a pending temporary switch
// (today/week_forecast.h), and the rules that never take effect in that span.
#include <cstdio>
#include <memory>
#include <string>

#include "platform/gdi/gdi_objects.h"
#include "platform/gdi/png_file.h"
#include "platform/kernel/clock.h"
#include "platform/text/utf.h"
#include "store/install_folder.h"
#include "store/mode_keys.h"
#include "today/minute_clock.h"
#include "today/today_state.h"
#include "today/week_forecast.h"
#include "today/week_picture.h"
#include "tools/device/commands.h"

namespace {

constexpr int kMostDays = 31;
// The picture's width: a minute of the day a third of a pixel.
constexpr int kPictureWidth = 532;
constexpr platform::Pixel kWhite = 0xFFFFFF;
constexpr const char* kWeekDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};

std::string ModeText(DWORD mode) {
  if (mode < FIRST_MODE || mode > LAST_MODE) return "no mode (" + std::to_string(mode) + ")";
  WCHAR name[MODE_NAME_WIDTH];
  ReadModeName(mode, name);
  return std::to_string(mode) + " \"" + platform::Utf16ToUtf8(name) + "\"";
}

// "Thu 2026-12-10 22:30".
std::string MinuteText(DWORD minute) {
  SYSTEMTIME t;
  MinuteTime(minute, &t);
  char text[32];
  std::snprintf(text, sizeof text, "%s %04u-%02u-%02u %02u:%02u", kWeekDays[t.wDayOfWeek % 7], t.wYear, t.wMonth,
                t.wDay, t.wHour, t.wMinute);
  return text;
}

std::string TimeText(DWORD hour, DWORD minute) {
  char text[32];
  std::snprintf(text, sizeof text, "%02lu:%02lu", static_cast<unsigned long>(hour), static_cast<unsigned long>(minute));
  return text;
}

// The reason as the item journals it, " (missed HH:MM)" included.
std::string ReasonText(const ForecastChange& change) {
  LPCWSTR words = SwitchReasonText(change.Reason);
  std::string text = words ? platform::Utf16ToUtf8(words) : "?";
  if (change.Missed) {
    SYSTEMTIME t;
    MinuteTime(change.MissedMinute, &t);
    text += " (missed " + TimeText(t.wHour, t.wMinute) + ")";
  }
  return text;
}

bool IsSet(DWORD hour, DWORD minute) { return hour != 0 || minute != 0; }
bool IsTimeOfDay(DWORD hour, DWORD minute) { return hour <= 23 && minute <= 59; }

// One line for each rule of `mode` that never takes effect in the span.
void PrintIdleRules(DWORD mode, const ModeSwitchValues& values, const RuleRecord& record) {
  std::string prefix = ModeText(mode) + " ";
  if (IsSet(values.StartHour, values.StartMinutes)) {
    std::string rule = prefix + "daily start " + TimeText(values.StartHour, values.StartMinutes) + ": ";
    if (!IsTimeOfDay(values.StartHour, values.StartMinutes))
      std::printf("%sno time of day\n", rule.c_str());
    else if (record.StartsDue == 0)
      std::printf("%snone of its week days comes in the span\n", rule.c_str());
    else if (record.StartsTaken == 0)
      std::printf("%salways overridden in its minute, by %s\n", rule.c_str(), ModeText(record.OverriddenBy).c_str());
  }
  if (IsSet(values.StopHour, values.StopMinutes)) {
    std::string rule = prefix + "daily stop " + TimeText(values.StopHour, values.StopMinutes) + ": ";
    if (!IsTimeOfDay(values.StopHour, values.StopMinutes))
      std::printf("%sno time of day\n", rule.c_str());
    else if (values.ModeBack == mode)
      std::printf("%sgoes back to its own mode\n", rule.c_str());
    else if (values.ModeBack < FIRST_MODE || values.ModeBack > LAST_MODE)
      std::printf("%sgoes back to no mode (%lu)\n", rule.c_str(), static_cast<unsigned long>(values.ModeBack));
    else if (record.StopsTaken == 0)
      std::printf("%sthe mode is never in effect at that minute\n", rule.c_str());
  }
  if (values.OutlookSwitch == 1) {
    std::string rule = prefix + "calendar rule: ";
    if (record.AppointmentsMet == 0)
      std::printf("%sno appointment in the span meets it\n", rule.c_str());
    else if (record.CalendarStarts == 0)
      std::printf("%snone of its appointments switches (the mode is not in effect when they begin)\n", rule.c_str());
  }
}

void PrintTemporaryRule(const PendingSwitch& temporary) {
  if (!temporary.Pending || IsTimeOfDay(temporary.StopHour, temporary.StopMinutes)) return;
  std::printf("%s temporary end %s: no time of day\n", ModeText(temporary.Mode).c_str(),
              TimeText(temporary.StopHour, temporary.StopMinutes).c_str());
}

// Draws the picture through a memory context into a white bitmap of the
// phone's colours, as a program would, and writes the bitmap as PNG.
void WriteWeekPicture(const WeekPictureContent& content, const std::string& path) {
  LocateFittingInstallFolder(Today.InstallFolder, TODAY_FOLDER_SIZE);
  int height = WeekPictureHeight(content.FromMinute, content.Days);
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = platform::CreateBitmapFromPixels(platform::Surface(kPictureWidth, height, kWhite), 24);
  HGDIOBJ previous = SelectObject(dc, bitmap);
  RECT area = {0, 0, kPictureWidth, height};
  DrawWeekPicture(dc, &area, &content);
  SelectObject(dc, previous);
  DeleteDC(dc);
  std::string error;
  bool written = platform::WritePng(platform::BitmapFromHandle(bitmap)->pixels, path, &error);
  DeleteObject(bitmap);
  if (!written) throw CommandError("cannot write " + path + ": " + error);
}

void PrintWeek(DWORD fromMinute, DWORD nowMinute, int days, const std::string& png) {
  ForecastStart start;
  ReadForecastStart(&start);
  auto appointments = std::make_unique<Appointment[]>(APPOINTMENTS_CAPACITY);
  int count = ReadAppointments(appointments.get(), APPOINTMENTS_CAPACITY);
  auto forecast = std::make_unique<WeekForecast>();
  ForecastWeek(&start, appointments.get(), count, fromMinute, static_cast<DWORD>(days) * MINUTES_A_DAY,
               forecast.get());

  bool active = forecast->FirstMode >= FIRST_MODE && forecast->FirstMode <= LAST_MODE;
  std::printf("%s  %s\n", MinuteText(fromMinute).c_str(),
              active ? (ModeText(forecast->FirstMode) + "  in effect").c_str() : "no active mode");
  for (int i = 0; i < forecast->ChangeCount; ++i) {
    const ForecastChange& change = forecast->Changes[i];
    std::printf("%s  %s  %s\n", MinuteText(change.Minute).c_str(), ModeText(change.Mode).c_str(),
                ReasonText(change).c_str());
  }
  if (forecast->Truncated) std::printf("(more than %d changes: the rest left out)\n", FORECAST_CHANGES_CAPACITY);

  std::printf("never takes effect:\n");
  for (DWORD mode = FIRST_MODE; mode <= LAST_MODE; ++mode)
    if (start.Values.Modes[mode].Present) PrintIdleRules(mode, start.Values.Modes[mode], forecast->Rules[mode]);
  PrintTemporaryRule(start.Values.Temporary);

  if (png.empty()) return;
  WeekPictureContent content = {forecast.get(), fromMinute, static_cast<DWORD>(days), nowMinute, appointments.get(),
                                count};
  WriteWeekPicture(content, png);
}

// The minute of a time in the tool's form, seconds left out.
DWORD MinuteArgument(const std::string& text) {
  platform::DateTime when{};
  bool valid = platform::ParseDateTime(text, &when);
  SYSTEMTIME t{static_cast<WORD>(when.year), static_cast<WORD>(when.month), 0, static_cast<WORD>(when.day),
               static_cast<WORD>(when.hour), static_cast<WORD>(when.minute), 0, 0};
  DWORD minute = valid ? MinuteIndex(&t) : 0;
  if (minute == 0)
    throw UsageError("--from: \"" + text + "\" is not a time of the form \"" + platform::kDateTimeForm + "\"");
  return minute;
}

}  // namespace

void AddWeekCommand(CLI::App& app) {
  CLI::App* week = app.add_subcommand(
      "week",
      "Print the mode in effect at the start, then each switch the Today item will make if nobody switches by "
      "hand (day, date, time, mode, the reason the item journals), then the rules that never take effect in "
      "the span, each with its reason");
  auto from = std::make_shared<std::string>();
  auto days = std::make_shared<int>(7);
  auto png = std::make_shared<std::string>();
  week->add_option("--from", *from, std::string("Start at \"") + platform::kDateTimeForm + "\" (default: the phone's clock)");
  week->add_option("--days", *days, "How many days to look ahead, 1 to " + std::to_string(kMostDays))
      ->check(CLI::Range(1, kMostDays));
  week->add_option("--png", *png,
                   "Also draw the span as a PNG picture: a row a day, each stretch in its mode's colour, the "
                   "appointments and now marked, a legend of the five modes");
  week->callback([from, days, png] {
    DWORD fromMinute = from->empty() ? 0 : MinuteArgument(*from);
    ReadDevice();
    DWORD nowMinute = MinuteArgument(platform::FormatLocalTime(platform::DeviceNowMs()));
    PrintWeek(fromMinute ? fromMinute : nowMinute, nowMinute, *days, *png);
  });
}
