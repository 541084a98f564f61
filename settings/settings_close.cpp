// The Done button of the settings dialog: with nothing left unsaved, the
// active mode is applied afresh from the store and the next switch is registered.
#include "settings/settings_close.h"

#include "aygshell.h"
#include "sipapi.h"
#include "phone/apply_mode.h"
#include "phone/phone_notifications.h"
#include "schedule/switch_schedule.h"
#include "settings/dialog_pages.h"
#include "settings/settings_dialog.h"
#include "store/mode_store.h"
#include "store/notification_table.h"

void CloseSettings() {
  SipShowIM(SIPF_OFF);
  if (SlidersMoved() || UnsavedChanges) {
    AskToSave();
    return;
  }

  // The mode applied is the active one as stored, whichever mode the window showed last.
  WCHAR keyName[MODE_KEY_CAPACITY];
  FormatModeKey(keyName, ActiveMode);
  ModeRecord mode = LoadMode(keyName);
  ApplyMode(nullptr, mode);
  NotificationSetting table[NOTIFICATION_SLOTS] = {};
  LoadNotifications(keyName, table);
  ApplyPhoneNotifications(&mode, table);
  ScheduleNextSwitch();

  DestroyWindow(SettingsWindow);
  PostQuitMessage(0);
}
