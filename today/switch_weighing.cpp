// The weighing of a minute's switches works on values read once, so that
// it can be repeated over many minutes without reading the store again and
// without changing it; the callers make what it decides.
#include "today/switch_weighing.h"

// The journal's words for each SwitchReason, in its order.
static const WCHAR* const SwitchReasonTexts[] = {
    TEXT("first run"),   TEXT("by hand"),    TEXT("temporary"),      TEXT("temporary end"),
    TEXT("daily start"), TEXT("daily stop"), TEXT("calendar start"), TEXT("calendar end"),
    TEXT("no valid active mode"),
};
#define SWITCH_REASON_COUNT (sizeof(SwitchReasonTexts) / sizeof(SwitchReasonTexts[0]))

LPCWSTR SwitchReasonText(DWORD reason) { return reason < SWITCH_REASON_COUNT ? SwitchReasonTexts[reason] : nullptr; }

static BOOL IsMode(DWORD mode) { return mode >= FIRST_MODE && mode <= LAST_MODE; }

void ReadSwitchValues(SwitchValues* values) {
  for (DWORD mode = FIRST_MODE; mode <= LAST_MODE; ++mode) ReadModeSwitchValues(mode, &values->Modes[mode]);
  FindPendingSwitch(&values->Temporary);
}

void WeighMinute(const SwitchValues* values, const SYSTEMTIME* at, DWORD activeMode, BOOL calendarStarts,
                 WeighedMinute* weighed) {
  weighed->Mode = activeMode;
  weighed->Reason = SWITCH_DAILY_START;
  weighed->TemporaryEnded = FALSE;
  weighed->CalendarEnded = FALSE;
  if (IsMode(activeMode)) {
    const ModeSwitchValues* active = &values->Modes[activeMode];
    if (IsTimeOfDay(active->StopHour, active->StopMinutes, at)) {
      weighed->Mode = active->ModeBack;
      weighed->Reason = SWITCH_DAILY_STOP;
    }
  }
  for (DWORD mode = FIRST_MODE; mode <= LAST_MODE; ++mode) {
    const ModeSwitchValues* start = &values->Modes[mode];
    if (IsTimeOfDay(start->StartHour, start->StartMinutes, at) && StartsOnDay(start->Days, at->wDayOfWeek)) {
      weighed->Mode = mode;
      weighed->Reason = SWITCH_DAILY_START;
    }
  }
  for (DWORD mode = FIRST_MODE; mode <= LAST_MODE; ++mode) {
    const ModeSwitchValues* rule = &values->Modes[mode];
    if (rule->OutlookSwitch != 1) continue;
    if (IsTimeOfDay(rule->StopHourOutlook, rule->StopMinutesOutlook, at)) {
      weighed->CalendarEnded = TRUE;
      if (weighed->Mode == rule->ModeBusy) {
        weighed->Mode = mode;
        weighed->Reason = SWITCH_CALENDAR_END;
      }
    }
    if (calendarStarts && IsTimeOfDay(rule->StartHourOutlook, rule->StartMinutesOutlook, at) &&
        weighed->Mode == mode) {
      weighed->Mode = rule->ModeBusy;
      weighed->Reason = SWITCH_CALENDAR_START;
    }
  }
  const PendingSwitch* temporary = &values->Temporary;
  if (temporary->Pending && IsTimeOfDay(temporary->StopHour, temporary->StopMinutes, at)) {
    weighed->TemporaryEnded = TRUE;
    if (IsMode(temporary->ModeBack)) {
      weighed->Mode = temporary->ModeBack;
      weighed->Reason = SWITCH_TEMPORARY_END;
    }
  }
}

// Adds a pair that is a time of day other than (0, 0), once.
static void AddSwitchTime(DWORD hour, DWORD minute, DWORD times[], int* count) {
  if ((hour == 0 && minute == 0) || hour >= 24 || minute >= 60) return;
  DWORD time = hour * 60 + minute;
  for (int i = 0; i < *count; ++i)
    if (times[i] == time) return;
  int at = *count;
  while (at > 0 && times[at - 1] > time) {
    times[at] = times[at - 1];
    --at;
  }
  times[at] = time;
  ++*count;
}

int ListSwitchTimes(const SwitchValues* values, DWORD times[SWITCH_TIMES_CAPACITY]) {
  int count = 0;
  for (DWORD mode = FIRST_MODE; mode <= LAST_MODE; ++mode) {
    const ModeSwitchValues* m = &values->Modes[mode];
    AddSwitchTime(m->StartHour, m->StartMinutes, times, &count);
    AddSwitchTime(m->StopHour, m->StopMinutes, times, &count);
    if (m->OutlookSwitch != 1) continue;
    AddSwitchTime(m->StartHourOutlook, m->StartMinutesOutlook, times, &count);
    AddSwitchTime(m->StopHourOutlook, m->StopMinutesOutlook, times, &count);
  }
  if (values->Temporary.Pending) AddSwitchTime(values->Temporary.StopHour, values->Temporary.StopMinutes, times, &count);
  return count;
}

BOOL FindNextSwitchToday(const SwitchValues* values, const SYSTEMTIME* now, DWORD activeMode, DWORD* mode,
                         DWORD* hour, DWORD* minute) {
  DWORD times[SWITCH_TIMES_CAPACITY];
  int count = ListSwitchTimes(values, times);
  DWORD nowTime = (DWORD)now->wHour * 60 + now->wMinute;
  for (int i = 0; i < count; ++i) {
    if (times[i] <= nowTime) continue;
    SYSTEMTIME at = *now;
    at.wHour = (WORD)(times[i] / 60);
    at.wMinute = (WORD)(times[i] % 60);
    WeighedMinute weighed;
    WeighMinute(values, &at, activeMode, TRUE, &weighed);
    if (IsMode(weighed.Mode) && weighed.Mode != activeMode) {
      *mode = weighed.Mode;
      *hour = at.wHour;
      *minute = at.wMinute;
      return TRUE;
    }
  }
  return FALSE;
}

BOOL CalendarRefreshedEachMinute(const SwitchValues* values) {
  for (DWORD mode = FIRST_MODE; mode <= LAST_MODE; ++mode) {
    const ModeSwitchValues* rule = &values->Modes[mode];
    if (rule->OutlookSwitch == 1 && rule->OutlookAutoRefresh == 1) return TRUE;
  }
  return FALSE;
}
