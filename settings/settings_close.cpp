// The Done button of the settings dialog: with nothing left unsaved, the
// active mode is applied afresh from the store and the next switch is registered.
#include "settings/settings_close.h"

#include <windows.h>
#include <sipapi.h>

#include "phone/apply_stored_mode.h"
#include "schedule/switch_schedule.h"
#include "settings/dialog_pages.h"
#include "settings/settings_dialog.h"

void CloseSettings() {
  SipShowIM(SIPF_OFF);
  if (SlidersMoved() || UnsavedChanges) {
    AskToSave();
    return;
  }

  // The mode applied is the active one as stored, whichever mode the window showed last.
  WCHAR keyName[MODE_KEY_NAME_SIZE];
  ModeKeyName((DWORD)ActiveMode, keyName);
  ApplyStoredMode(keyName);
  ScheduleNextSwitch();

  DestroyWindow(SettingsWindow);
  PostQuitMessage(0);
}
