// The item's decision over a run of minutes, on values read once: which
// minutes to look at, which of them a switch falls due at, and the mode in
// effect once their switches are made. Nothing here reads or writes the
// store, so the Today item and the week ahead decide with the same code.
#pragma once

#include <windows.h>

#include "today/switch_weighing.h"

// The first minute (MinuteIndex) not yet looked at: after `checkedThrough`
// (0 until the phone has come on) and after the item's last switch
// `lastSwitch` (when `switched`), at most a day before `due`.
DWORD FirstMinuteToWeigh(DWORD checkedThrough, BOOL switched, DWORD lastSwitch, DWORD nowMinute, DWORD due);

// The minutes in first..due at which a switch of `values` falls due, in
// order; returns how many.
int ListDueMinutes(const SwitchValues* values, DWORD first, DWORD due, DWORD minutes[SWITCH_TIMES_CAPACITY]);

// What the switches of a run of minutes come to.
struct DueMinutesOutcome {
  DWORD Mode;           // the mode in effect at the end
  SwitchReason Reason;  // the switch that decided it, when Mode differs from the one before
  DWORD DecidedAt;      // the minute of that switch (nowMinute when none)
  BOOL TemporaryEnded;  // the pending temporary switch ended in the run
  BOOL CalendarEnded;   // an appointment of a mode's rule ended in the run
};

// Weighs `minutes` in order from `activeMode` (WeighMinute; an appointment's
// start only at `nowMinute`). A temporary switch that ends is no longer
// pending in `values` for the minutes after.
void WeighDueMinutes(SwitchValues* values, const DWORD* minutes, int count, DWORD nowMinute, DWORD activeMode,
                     DueMinutesOutcome* outcome);
