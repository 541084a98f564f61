// Records of switches underway. A program that puts a mode into effect, or
// writes a temporary switch, first records in the store's root what it is
// about to do, in one registry write, and removes the record once every step
// is done. A record found by a program that starts was left by one killed
// half way; the starting program carries the steps out again, all of them,
// so that the phone, the store and the journal agree again. Each program has
// its own record, so that programs switching at once never overwrite each
// other's.
#pragma once

#include <windows.h>

// The Today item's switch ("SwitchUnderway"): "DefaultMode", "LastSwitchTime",
// the journal line, the mode applied and the next wake-up registered.
inline constexpr WCHAR MODE_SWITCH_RECORD_VALUE[] = TEXT("SwitchUnderway");
// The timer bar's temporary switch ("TemporaryUnderway"): the end time and
// the mode to go back to in the mode keys, "TimeSwitch", the next wake-up.
inline constexpr WCHAR TEMPORARY_SWITCH_RECORD_VALUE[] = TEXT("TemporaryUnderway");
// The settings program's apply of the active mode on "ok" ("ApplyUnderway",
// a REG_DWORD: the mode it applies).
inline constexpr WCHAR MODE_APPLY_RECORD_VALUE[] = TEXT("ApplyUnderway");

// A mode switch of the Today item, as REG_BINARY of this fixed layout
// (36 bytes, little-endian, no padding).
struct ModeSwitchRecord {
  DWORD Mode;          // the mode made active, 1 to 5
  DWORD Reason;        // why, in the item's numbering of its journal reasons
  SYSTEMTIME At;       // the phone time of the switch, kept as "LastSwitchTime"
  DWORD Missed;        // TRUE when made after its minute, which MissedHour:MissedMinute names
  WORD MissedHour;
  WORD MissedMinute;
  DWORD Journalled;    // TRUE once the journal line of the switch is written
};

// A temporary switch of the timer bar, as REG_BINARY of this fixed layout
// (20 bytes): a duration set (`DurationSet` TRUE, the end time in
// StopHour:StopMinutes) or a cancel.
struct TemporarySwitchRecord {
  DWORD TargetMode;
  DWORD BackMode;
  DWORD StopHour;
  DWORD StopMinutes;
  DWORD DurationSet;
};

void RecordModeSwitch(const ModeSwitchRecord* record);
// FALSE when there is no record, or the value is not one this system wrote.
BOOL ReadModeSwitchRecord(ModeSwitchRecord* record);
void ClearModeSwitchRecord();

void RecordTemporarySwitch(const TemporarySwitchRecord* record);
BOOL ReadTemporarySwitchRecord(TemporarySwitchRecord* record);
void ClearTemporarySwitchRecord();

void RecordModeApply(DWORD mode);
BOOL ReadModeApplyRecord(DWORD* mode);
void ClearModeApplyRecord();
