// Backlight setters: one or two values of the phone's backlight key, then
// the change signal, so the phone takes the new values over at once.
#include "phone/backlight_settings.h"

#include "phone/phone_registry.h"
#include "store/mode_store.h"

void SignalBacklightChange() {
  HANDLE event = CreateEventW(nullptr, FALSE, TRUE, BACKLIGHT_CHANGE_EVENT);
  if (!event) return;
  EventModify(event, EVENT_SET);
  CloseHandle(event);
}

// A brightness level and its switch flag (on unless the level is 0), each
// through its own open of the key.
static void WriteBrightness(LPCWSTR levelName, LPCWSTR switchName, DWORD value) {
  WritePhoneDword(BACKLIGHT_KEY, levelName, value);
  WritePhoneDword(BACKLIGHT_KEY, switchName, value != 0 ? 1 : 0);
  SignalBacklightChange();
}

int SetBrightness(void*, DWORD value) {
  WriteBrightness(BRIGHTNESS_VALUE, ON_OFF_BATT_VALUE, value);
  return 0;
}

int SetACBrightness(void*, DWORD value) {
  WriteBrightness(AC_BRIGHTNESS_VALUE, ON_OFF_AC_VALUE, value);
  return 0;
}

int SetBatteryTimeout(void*, DWORD value) {
  WritePhoneDword(BACKLIGHT_KEY, BATTERY_TIMEOUT_VALUE, value);
  SignalBacklightChange();
  return 0;
}

int SetBatteryTimeoutUnchecked(void*, DWORD value) {
  WritePhoneDword(BACKLIGHT_KEY, BATTERY_TIMEOUT_UNCHECKED_VALUE, value);
  SignalBacklightChange();
  return 0;
}

int SetBacklightOnTap(void*, DWORD value) {
  WritePhoneDword(BACKLIGHT_KEY, BACKLIGHT_ON_TAP_VALUE, value);
  SignalBacklightChange();
  return 0;
}
