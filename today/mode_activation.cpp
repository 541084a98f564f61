// The switch itself: the store's "DefaultMode" names the mode in effect, the
// phone takes its settings, the scheduler wakes the phone for the next one,
// and the shell keeps a line of it in the journal.
#include "today/mode_activation.h"

#include <windows.h>
#include <emulated_shell.h>

#include "phone/apply_stored_mode.h"
#include "schedule/switch_schedule.h"
#include "store/mode_keys.h"
#include "store/mode_store.h"
#include "store/registry_values.h"
#include "store/switch_records.h"
#include "today/last_switch.h"
#include "today/mode_values.h"
#include "today/switch_notice.h"

// Room for the longest reason with " (missed HH:MM) (resumed)".
#define REASON_TEXT_SIZE 64

static void JournalSwitch(const ModeSwitchRecord* record, BOOL resumed) {
  WCHAR name[MODE_NAME_WIDTH];
  ReadModeName(record->Mode, name);
  WCHAR text[REASON_TEXT_SIZE];
  LPCWSTR reason = SwitchReasonText(record->Reason);
  LPCWSTR suffix = resumed ? TEXT(" (resumed)") : TEXT("");
  if (record->Missed) {
    wsprintfW(text, TEXT("%s (missed %02d:%02d)%s"), reason, (int)record->MissedHour, (int)record->MissedMinute,
              suffix);
  } else {
    wsprintfW(text, TEXT("%s%s"), reason, suffix);
  }
  ShellRecordModeSwitch(record->Mode, name, text);
}

// Every step of a recorded switch; each writes what the record says, so
// making them again after a kill comes to the same phone and store. Only the
// journal line is not written twice: the record notes when it is.
static void CarryOutSwitch(ModeSwitchRecord* record, BOOL resumed) {
  HKEY key;
  if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, STORE_ROOT_KEY, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) ==
      ERROR_SUCCESS) {
    WriteDwordValue(key, DEFAULT_MODE_VALUE, record->Mode);
    RegCloseKey(key);
  }
  WriteLastSwitch(&record->At);
  if (!record->Journalled) {
    JournalSwitch(record, resumed);
    record->Journalled = TRUE;
    RecordModeSwitch(record);
  }
  WCHAR keyName[MODE_KEY_NAME_SIZE];
  ModeKeyName(record->Mode, keyName);
  ApplyStoredMode(keyName);
  ScheduleNextSwitch();
  WaitForAppliedRadio();
  ClearModeSwitchRecord();
}

void MakeModeActive(DWORD mode, SwitchReason reason, const SYSTEMTIME* missed) {
  if (mode < FIRST_MODE || mode > LAST_MODE) return;
  ModeSwitchRecord record = {};
  record.Mode = mode;
  record.Reason = (DWORD)reason;
  GetLocalTime(&record.At);
  if (missed) {
    record.Missed = TRUE;
    record.MissedHour = missed->wHour;
    record.MissedMinute = missed->wMinute;
  }
  RecordModeSwitch(&record);
  CarryOutSwitch(&record, FALSE);
  NoteSwitch(mode, reason, SwitchReasonText(reason), &record.At, missed);
}

void KeepModeActive(DWORD mode, SwitchReason reason) {
  if (mode < FIRST_MODE || mode > LAST_MODE) return;
  ModeSwitchRecord record = {};
  record.Mode = mode;
  record.Reason = (DWORD)reason;
  GetLocalTime(&record.At);
  // Recorded like any switch: a kill half way is finished by applying the
  // mode again, which leaves the phone as it is.
  RecordModeSwitch(&record);
  WriteLastSwitch(&record.At);
  JournalSwitch(&record, FALSE);
  ScheduleNextSwitch();
  ClearModeSwitchRecord();
}

void ResumeModeSwitch() {
  ModeSwitchRecord record;
  if (ReadModeSwitchRecord(&record) && record.Mode >= FIRST_MODE && record.Mode <= LAST_MODE &&
      SwitchReasonText(record.Reason) != nullptr) {
    CarryOutSwitch(&record, TRUE);
    return;
  }
  ClearModeSwitchRecord();
}
