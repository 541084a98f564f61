// The settings dialog's command handler. Controls are tested in a fixed
// order; every edit marks the mode as changed so that leaving it asks first.
#include "settings/settings_commands.h"

#include "settings/callers_dialog.h"
#include "settings/dialog_pages.h"
#include "settings/file_commands.h"
#include "settings/mode_binding.h"
#include "settings/resource.h"
#include "settings/settings_close.h"
#include "settings/settings_dialog.h"

// Notification code of a list whose selection changed.
#define LIST_SELECTION_CHANGED CBN_SELCHANGE
// Limits of the "Flash for" duration that "+" and "-" step through.
#define DURATION_STEP 5
#define DURATION_MAX 95
#define DURATION_TEXT_UNITS 70

static void Mark() { UnsavedChanges = true; }

static void StepPage(int step) {
  CurrentPage += step;
  if (CurrentPage < FIRST_PAGE) CurrentPage = LAST_PAGE;
  if (CurrentPage > LAST_PAGE) CurrentPage = FIRST_PAGE;
  ShowPage();
}

// Shows mode EditedMode as stored, with its picture.
static void ReloadEditedMode() {
  WCHAR keyName[MODE_KEY_NAME_SIZE];
  ModeKeyName((DWORD)EditedMode, keyName);
  LoadModeIntoControls(keyName);
  SetModeBitmapPath(EditedMode);
}

static void LeaveWithoutSaving() {
  EnableAllControls();
  ShowPageControls();
  ShowControl(IDC_NO_SAVE, false);
  ShowControl(IDC_QUESTION, false);
  TakeSliderSnapshot();
  ShowNotificationEntry();
  if (IsUserMode(EditedMode)) ReloadEditedMode();
  RepaintSettings();
  UnsavedChanges = false;
}

// A mode arrow: asks to save a changed mode, else shows the next one.
static void StepMode(int step) {
  if (SlidersMoved()) Mark();
  if (UnsavedChanges) {
    AskToSave();
    return;
  }
  EditedMode += step;
  if (EditedMode > LAST_MODE) EditedMode = FIRST_MODE;
  if (EditedMode < FIRST_MODE) EditedMode = LAST_MODE;
  ShowNotificationEntry();
  ReloadEditedMode();
  RepaintSettings();
}

// A time row's check box: a row switched on starts at minute "05", since
// 00:00 stands for no time; the target mode needs either row.
static void ToggleTimeRow(int checkBox, int hourList, int minutesList, int otherCheckBox) {
  Mark();
  if (IsChecked(checkBox)) {
    EnableControl(hourList, true);
    EnableControl(minutesList, true);
    if (checkBox == IDC_STOP_ON) EnableControl(IDC_MODE_BACK, true);
    SetControlText(minutesList, TEXT("05"));
  } else {
    EnableControl(hourList, false);
    EnableControl(minutesList, false);
    SetControlText(hourList, TEXT("00"));
    SetControlText(minutesList, TEXT("00"));
    if (!IsChecked(otherCheckBox)) EnableControl(IDC_MODE_BACK, false);
  }
}

// A time picked in a row never stays at 00:00, which would mean no time.
static void TimeRowPicked(int hourList, int minutesList) {
  Mark();
  if (ReadControlNumber(hourList, 100) == 0 && ReadControlNumber(minutesList, 100) == 0)
    SetControlText(minutesList, TEXT("05"));
}

static void StepDuration(int step) {
  Mark();
  long long duration = (long long)ReadControlNumber(IDC_DURATION, DURATION_TEXT_UNITS) + step;
  if (duration >= DURATION_MAX) duration = DURATION_MAX;
  if (duration <= 0) duration = 0;
  SetControlNumber(IDC_DURATION, (LONG)duration);
  StoreNotificationEntry();
}

// A calendar condition applies only while "Switch to" is on.
static void ToggleCondition(int checkBox, int list) {
  if (IsChecked(IDC_OUTLOOK_SWITCH)) {
    EnableControl(list, IsChecked(checkBox));
  } else {
    SetChecked(checkBox, false);
    EnableControl(list, false);
  }
  Mark();
}

static void ToggleOutlookSwitch() {
  if (IsChecked(IDC_OUTLOOK_SWITCH)) {
    EnableControl(IDC_MODE_BUSY, true);
    EnableControl(IDC_AUTO_REFRESH, true);
  } else {
    SetChecked(IDC_STATUS_ON, false);
    SetChecked(IDC_CATEGORY_ON, false);
    SetChecked(IDC_AUTO_REFRESH, false);
    EnableControl(IDC_MODE_BUSY, false);
    EnableControl(IDC_STATUS, false);
    EnableControl(IDC_CATEGORY, false);
    EnableControl(IDC_AUTO_REFRESH, false);
  }
  Mark();
}

static void ToggleProgramSounds() {
  if (IsChecked(IDC_PROGRAM_SOUNDS)) {
    EnableControl(IDC_NOTIF_SOUNDS, true);
  } else {
    SetChecked(IDC_NOTIF_SOUNDS, false);
    EnableControl(IDC_NOTIF_SOUNDS, false);
  }
  Mark();
}

static bool FieldModified(HWND field) { return SendMessageW(field, EM_GETMODIFY, 0, 0) != 0; }

// True when the command came from the control id.
static bool From(HWND from, int id) {
  HWND control = Ctl(id);
  return control && from == control;
}

static bool IsOneOf(HWND from, int a, int b, int c) { return From(from, a) || From(from, b) || From(from, c); }

static bool IsDayBox(HWND from) {
  for (int id : DayBoxes)
    if (From(from, id)) return true;
  return false;
}

static bool IsOptionBox(HWND from) {
  static const int Options[] = {IDC_PLAY_SOUND, IDC_REPEAT, IDC_DISPLAY, IDC_FLASH, IDC_VIBRATE};
  for (int id : Options)
    if (From(from, id)) return true;
  return false;
}

void HandleSettingsCommand(HWND from, int id, int code) {
  bool picked = code == LIST_SELECTION_CHANGED;
  if (From(from, IDC_PAGE_PREVIOUS)) {
    StepPage(-1);
  } else if (From(from, IDC_PAGE_NEXT)) {
    StepPage(+1);
  } else if (From(from, IDC_NO_SAVE)) {
    LeaveWithoutSaving();
  } else if (From(from, IDC_RESET)) {
    ResetEditedMode();
  } else if (From(from, IDC_START_ON)) {
    ToggleTimeRow(IDC_START_ON, IDC_START_HOUR, IDC_START_MINUTES, IDC_STOP_ON);
  } else if (From(from, IDC_STOP_ON)) {
    ToggleTimeRow(IDC_STOP_ON, IDC_STOP_HOUR, IDC_STOP_MINUTES, IDC_START_ON);
  } else if (From(from, IDC_SIM_CODE_ON)) {
    Mark();
    EnableControl(IDC_SIM_CODE, IsChecked(IDC_SIM_CODE_ON));
    if (!IsChecked(IDC_SIM_CODE_ON)) SetControlText(IDC_SIM_CODE, TEXT(""));
  } else if (From(from, IDC_KEYBOARD)) {
    ToggleKeyboardMode();
  } else if (IsOneOf(from, IDC_RADIO_STATE, IDC_HEADSET_STATE, IDC_BT_STATE)) {
    if (picked) Mark();
  } else if ((From(from, IDC_START_HOUR) || From(from, IDC_START_MINUTES))) {
    if (picked) TimeRowPicked(IDC_START_HOUR, IDC_START_MINUTES);
  } else if ((From(from, IDC_STOP_HOUR) || From(from, IDC_STOP_MINUTES))) {
    if (picked) TimeRowPicked(IDC_STOP_HOUR, IDC_STOP_MINUTES);
  } else if (From(from, IDC_EVENT_SOUND)) {
    if (picked) {
      Mark();
      StoreNotificationEntry();
    }
  } else if ((From(from, IDC_RING_TONE) || From(from, IDC_RING_PATTERN))) {
    if (picked) Mark();
  } else if (From(from, IDC_EVENT)) {
    if (picked) ShowNotificationEntry();
  } else if (From(from, IDC_PICK_UP_RINGS)) {
    if (picked) Mark();
  } else if (From(from, IDC_RING_TONE_ON)) {
    Mark();
    EnableControl(IDC_RING_TONE, IsChecked(IDC_RING_TONE_ON));
  } else if (From(from, IDC_AUTO_PICK_UP)) {
    Mark();
    EnableControl(IDC_PICK_UP_RINGS, IsChecked(IDC_AUTO_PICK_UP));
  } else if (From(from, IDC_MODE_NAME)) {
    if (FieldModified(from)) Mark();
  } else if (From(from, IDC_MODE_NEXT)) {
    StepMode(+1);
  } else if (From(from, IDC_MODE_PREVIOUS)) {
    StepMode(-1);
  } else if (From(from, IDC_DURATION_UP)) {
    StepDuration(+DURATION_STEP);
  } else if (From(from, IDC_DURATION_DOWN)) {
    StepDuration(-DURATION_STEP);
  } else if (From(from, IDC_PLAY)) {
    PlayEventSound();
  } else if (IsOptionBox(from)) {
    Mark();
    StoreNotificationEntry();
  } else if (From(from, IDC_STATUS_ON)) {
    ToggleCondition(IDC_STATUS_ON, IDC_STATUS);
  } else if (From(from, IDC_CATEGORY_ON)) {
    ToggleCondition(IDC_CATEGORY_ON, IDC_CATEGORY);
  } else if (From(from, IDC_SAVE)) {
    Mark();
    // A refused time has brought its page and field forward already.
    if (SaveEditedMode()) LeaveQuestion();
  } else if (From(from, IDC_EXPORT)) {
    ExportEditedMode();
  } else if (From(from, IDC_IMPORT)) {
    ImportEditedMode();
  } else if (From(from, IDC_CALLERS)) {
    EditCallerRules();
  } else if (From(from, IDC_PROGRAM_SOUNDS)) {
    ToggleProgramSounds();
  } else if (From(from, IDC_NOTIF_SOUNDS)) {
    if (!IsChecked(IDC_PROGRAM_SOUNDS)) SetChecked(IDC_NOTIF_SOUNDS, false);
    Mark();
  } else if (From(from, IDC_EVENT_SOUNDS)) {
    Mark();
  } else if (IsDayBox(from)) {
    Mark();
  } else if (From(from, IDC_OUTLOOK_SWITCH)) {
    ToggleOutlookSwitch();
  } else if (From(from, IDC_AUTO_REFRESH)) {
    Mark();
  } else if (IsOneOf(from, IDC_MODE_BUSY, IDC_CATEGORY, IDC_STATUS)) {
    if (picked) Mark();
  } else if (From(from, IDC_PROGRAM)) {
    if (FieldModified(from)) Mark();
  } else if (From(from, IDC_EXPLORE)) {
    ExploreForProgram();
  } else if (From(from, IDC_RUN)) {
    RunModeProgram();
  } else if (From(from, IDC_BATTERY_TIMEOUT)) {
    if (picked) Mark();
  } else if (From(from, IDC_BATTERY_TIMEOUT_ON)) {
    Mark();
    EnableControl(IDC_BATTERY_TIMEOUT, IsChecked(IDC_BATTERY_TIMEOUT_ON));
  } else if (From(from, IDC_BACKLIGHT_ON_TAP)) {
    Mark();
  } else if (id == IDOK) {
    CloseSettings();
  }
}
