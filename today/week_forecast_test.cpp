// The forecast on values made in memory: it keeps to the item's own
// decision and bookkeeping (the minute of a switch made when the phone comes
// on is not weighed again, the calendar is read only when the item reads
// it), and records which rules were given a say.
#include <emulated_calendar.h>
#include <gtest/gtest.h>

#include <memory>

#include "store/mode_record.h"
#include "today/minute_clock.h"
#include "today/week_forecast.h"

namespace {

// 2026-12-09, a Wednesday, at hh:mm.
DWORD Minute(WORD day, WORD hour, WORD minute) {
  SYSTEMTIME t = {2026, 12, 0, day, hour, minute, 0, 0};
  return MinuteIndex(&t);
}

struct Forecast {
  ForecastStart start = {};
  Appointment appointments[4] = {};
  int count = 0;
  std::unique_ptr<WeekForecast> result = std::make_unique<WeekForecast>();

  Forecast() {
    for (DWORD mode = FIRST_MODE; mode <= LAST_MODE; ++mode) {
      start.Values.Modes[mode].Present = TRUE;
      start.Values.Modes[mode].ModeBack = 1;
      wcsncpy(start.Values.Modes[mode].Category, CATEGORY_ANY, CATEGORY_WIDTH);
    }
    start.ActiveMode = 1;
  }
  ModeSwitchValues& Mode(DWORD mode) { return start.Values.Modes[mode]; }
  void Start(DWORD mode, DWORD hour, DWORD minute, DWORD days) {
    Mode(mode).StartHour = hour;
    Mode(mode).StartMinutes = minute;
    Mode(mode).Days = days;
  }
  void Appoint(WORD day, WORD hour, WORD endHour) {
    Appointment& a = appointments[count++];
    a.Start = {2026, 12, 0, day, hour, 0, 0, 0};
    a.End = {2026, 12, 0, day, endHour, 0, 0, 0};
    a.Status = APPOINTMENT_BUSY;
  }
  const WeekForecast& Run(DWORD from, DWORD days) {
    ForecastWeek(&start, appointments, count, from, days * MINUTES_A_DAY, result.get());
    return *result;
  }
};

TEST(WeekForecast, RecordsStartsOverriddenInTheirMinuteAndDaysNotReached) {
  Forecast f;
  f.Start(2, 9, 0, 0x1111111);
  f.Start(5, 9, 0, 0x10000);      // Wednesday: over mode 2's start
  f.Start(3, 8, 0, 0x1000000);    // Monday, not reached in two days
  f.Mode(4).StopHour = 12;        // mode 4 is never in effect
  const WeekForecast& w = f.Run(Minute(9, 6, 0), 2);
  ASSERT_EQ(w.ChangeCount, 2);
  EXPECT_EQ(w.Changes[0].Minute, Minute(9, 9, 0));
  EXPECT_EQ(w.Changes[0].Mode, 5u);
  EXPECT_EQ(w.Changes[1].Mode, 2u);
  EXPECT_EQ(w.Rules[2].StartsDue, 2u);
  EXPECT_EQ(w.Rules[2].StartsTaken, 1u);
  EXPECT_EQ(w.Rules[2].OverriddenBy, 5u);
  EXPECT_EQ(w.Rules[3].StartsDue, 0u);
  EXPECT_EQ(w.Rules[4].StopsDue, 2u);
  EXPECT_EQ(w.Rules[4].StopsTaken, 0u);
}

TEST(WeekForecast, ASwitchMadeAsThePhoneComesOnPassesOverItsMinute) {
  Forecast f;
  f.Mode(3).ModeBack = 1;
  f.start.Values.Temporary = {TRUE, 3, 10, 30, 1};
  f.start.TemporaryToTakeIn = TRUE;
  f.Start(4, 6, 0, 0x1111111);
  const WeekForecast& w = f.Run(Minute(9, 6, 0), 2);
  // Taken in at 06:00; mode 4's start of that minute is passed over, as the
  // item looks on from its last switch. The switch ends once.
  ASSERT_GE(w.ChangeCount, 3);
  EXPECT_EQ(w.Changes[0].Reason, SWITCH_TEMPORARY);
  EXPECT_EQ(w.Changes[1].Minute, Minute(9, 10, 30));
  EXPECT_EQ(w.Changes[1].Reason, SWITCH_TEMPORARY_END);
  EXPECT_EQ(w.Changes[2].Minute, Minute(10, 6, 0));
  EXPECT_EQ(w.ChangeCount, 3);
}

TEST(WeekForecast, TheCalendarIsReadAgainOnlyWhenTheItemReadsIt) {
  for (DWORD refresh = 0; refresh <= 1; ++refresh) {
    Forecast f;
    f.Mode(1).OutlookSwitch = 1;
    f.Mode(1).OutlookAutoRefresh = refresh;
    f.Mode(1).Status = STATUS_ANY;
    f.Mode(1).ModeBusy = 3;
    f.Appoint(9, 5, 7);    // going on when the phone comes on
    f.Appoint(10, 9, 10);  // the next day
    const WeekForecast& w = f.Run(Minute(9, 6, 0), 2);
    ASSERT_GE(w.ChangeCount, 2) << refresh;
    EXPECT_EQ(w.Changes[0].Reason, SWITCH_CALENDAR_START);
    EXPECT_TRUE(w.Changes[0].Missed);
    EXPECT_EQ(w.Changes[0].MissedMinute, Minute(9, 5, 0));
    EXPECT_EQ(w.Changes[1].Reason, SWITCH_CALENDAR_END);
    // Without a read each minute, the next day's appointment is not seen.
    EXPECT_EQ(w.ChangeCount, refresh ? 4 : 2);
    EXPECT_EQ(w.Rules[1].AppointmentsMet, 1u) << "the first began before the span";
    EXPECT_EQ(w.Rules[1].CalendarStarts, refresh ? 2u : 1u);
  }
}

}  // namespace
