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
#include "store/root_values.h"
#include "today/last_switch.h"
#include "today/mode_values.h"
#include "today/switch_notice.h"

// The journal's words for each SwitchReason, in its order.
static const WCHAR* const SwitchReasonTexts[] = {
    TEXT("first run"),   TEXT("by hand"),    TEXT("temporary"),      TEXT("temporary end"),
    TEXT("daily start"), TEXT("daily stop"), TEXT("calendar start"), TEXT("calendar end"),
};

// Room for the longest reason with " (missed HH:MM)".
#define REASON_TEXT_SIZE 48

DWORD ReadActiveMode() {
  DWORD mode = 0;
  ReadRootDword(DEFAULT_MODE_VALUE, &mode);
  return mode;
}

BOOL ActiveModeStored() { return RootValueStored(DEFAULT_MODE_VALUE); }

static void RecordSwitch(DWORD mode, SwitchReason reason, const SYSTEMTIME* missed) {
  WCHAR name[MODE_NAME_WIDTH];
  ReadModeName(mode, name);
  WCHAR text[REASON_TEXT_SIZE];
  if (missed) {
    wsprintfW(text, TEXT("%s (missed %02d:%02d)"), SwitchReasonTexts[reason], (int)missed->wHour, (int)missed->wMinute);
  } else {
    wsprintfW(text, TEXT("%s"), SwitchReasonTexts[reason]);
  }
  ShellRecordModeSwitch(mode, name, text);
}

void MakeModeActive(DWORD mode, SwitchReason reason, const SYSTEMTIME* missed) {
  if (mode < FIRST_MODE || mode > LAST_MODE) return;
  SYSTEMTIME now;
  GetLocalTime(&now);
  HKEY key;
  DWORD disposition;
  if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, STORE_ROOT_KEY, 0, nullptr, 0, KEY_WRITE, nullptr, &key, &disposition) ==
      ERROR_SUCCESS) {
    WriteDwordValue(key, DEFAULT_MODE_VALUE, mode);
    RegCloseKey(key);
  }
  WriteLastSwitch(&now);
  RecordSwitch(mode, reason, missed);
  WCHAR keyName[MODE_KEY_NAME_SIZE];
  ModeKeyName(mode, keyName);
  ApplyStoredMode(keyName);
  ScheduleNextSwitch();
  NoteSwitch(mode, reason, SwitchReasonTexts[reason], &now, missed);
}

void KeepModeActive(DWORD mode, SwitchReason reason) {
  if (mode < FIRST_MODE || mode > LAST_MODE) return;
  SYSTEMTIME now;
  GetLocalTime(&now);
  WriteLastSwitch(&now);
  RecordSwitch(mode, reason, nullptr);
  ScheduleNextSwitch();
}
