// The Done button of the settings dialog: with nothing left unsaved, the
// active mode is applied afresh from the store and the next switch is registered.
#include "settings/settings_close.h"

#include <windows.h>
#include <sipapi.h>

#include "phone/apply_stored_mode.h"
#include "schedule/switch_schedule.h"
#include "settings/dialog_pages.h"
#include "settings/settings_dialog.h"
#include "store/switch_records.h"

void CloseSettings() {
  SipShowIM(SIPF_OFF);
  if (SlidersMoved() || UnsavedChanges) {
    AskToSave();
    return;
  }

  // The mode applied is the active one as stored now, whichever mode the
  // window showed last: the Today item may have switched while the window
  // was open, and the phone must take the mode it shows as active. With no
  // active mode stored, the one the window opened on. The apply is recorded
  // until the wake-up is registered and the radio switched, so that a kill
  // half way is finished by the next start.
  DWORD mode = ModeToApply((DWORD)ActiveMode);
  RecordModeApply(mode);
  WCHAR keyName[MODE_KEY_NAME_SIZE];
  ModeKeyName(mode, keyName);
  ApplyStoredMode(keyName);
  ScheduleNextSwitch();
  WaitForAppliedRadio();
  ClearModeApplyRecord();

  DestroyWindow(SettingsWindow);
  PostQuitMessage(0);
}
