// Shows a mode of the settings store in the dialog's controls and reads the
// edited mode back from them, field by field, with its notification entries.
#include "settings/mode_binding.h"

#include <commctrl.h>
#include <strsafe.h>

#include "phone/category_list.h"
#include "phone/device_states.h"
#include "phone/sound_settings.h"
#include "settings/count_of.h"
#include "settings/dialog_pages.h"
#include "settings/resource.h"
#include "settings/settings_dialog.h"
#include "store/mode_store.h"
#include "store/record_save.h"
#include "store/sound_catalogue.h"

ModeRecord WorkingMode;
NotificationTable EditedNotifications;
CallerRules EditedCallerRules;

// Positions of the status list and the status each stands for.
static const StateChoice StatusTable[] = {{TEXT("Busy"), 2}, {TEXT("Free"), 0}, {TEXT("Tentative"), 1}, {TEXT("Out of office"), 3}};

// Position of "Free" in the status list, shown while the status condition is off.
#define STATUS_FREE_POSITION 1

// One hexadecimal digit per week day, Monday first.
const int DayBoxes[7] = {IDC_MONDAY, IDC_TUESDAY, IDC_WEDNESDAY, IDC_THURSDAY,
                         IDC_FRIDAY, IDC_SATURDAY, IDC_SUNDAY};
static const DWORD DayDigits[7] = {0x1000000, 0x0100000, 0x0010000, 0x0001000, 0x0000100, 0x0000010, 0x0000001};

// Battery time-outs that are no whole number of minutes, in seconds, and their texts.
#define TIMEOUT_QUARTER_SECONDS 9
#define TIMEOUT_QUARTER_TEXT TEXT("0.15")
#define TIMEOUT_HALF_SECONDS 30
#define TIMEOUT_HALF_TEXT TEXT("0.5")

// Option bits that a notification shows besides "Repeat".
#define NOTIFY_EVENT_BITS 15u

// Longest text read back from a list or field (terminator included).
#define LIST_TEXT_UNITS 100
#define DURATION_TEXT_UNITS 70
// Room for any name of the sound lists.
#define SOUND_TEXT_UNITS 256
// "Mode Name" is read for the mode lists with a buffer of this many bytes.
#define MODE_LIST_NAME_BYTES 150

#define NOT_FOUND (-1)

static void FillStateList(int list, const StateChoice* choices, int count) {
  for (int i = 0; i < count; ++i) AddListItem(list, choices[i].Text);
}

// The value at the list's selected position, or the one loaded when nothing is selected.
static DWORD SelectedState(int list, const StateChoice* choices, int count, DWORD loaded) {
  int position = ListSelection(list);
  if (position < 0 || position >= count) return loaded;
  return choices[position].Value;
}

// The first filled slot of a sound list holding name, compared without regard
// to letter case; the filled slots come first.
static int FindRingTone(const WCHAR* name) {
  for (int i = 0; i < RING_TONE_SLOTS && RingToneList[i][0]; ++i)
    if (_wcsicmp(RingToneList[i], name) == 0) return i;
  return NOT_FOUND;
}

static int FindWave(const WCHAR* name) {
  for (int i = 0; i < WAVE_SLOTS && WaveList[i][0]; ++i)
    if (_wcsicmp(WaveList[i], name) == 0) return i;
  return NOT_FOUND;
}

// The name of mode n as the mode lists show it: its stored name, else "Mode n".
static void ReadListedModeName(int mode, WCHAR* name, int capacity) {
  WCHAR keyName[MODE_KEY_NAME_SIZE];
  ModeKeyName((DWORD)mode, keyName);
  WCHAR path[MAX_PATH];
  wsprintfW(path, MODE_KEY_FORMAT, keyName);

  WCHAR stored[MODE_LIST_NAME_BYTES / sizeof(WCHAR) + 1] = {};
  HKEY key;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, 0, &key) == ERROR_SUCCESS) {
    DWORD bytes = MODE_LIST_NAME_BYTES;
    if (RegQueryValueExW(key, MODE_NAME_VALUE, nullptr, nullptr, (LPBYTE)stored, &bytes) != ERROR_SUCCESS)
      stored[0] = 0;
    else
      stored[bytes / sizeof(WCHAR) < COUNT_OF(stored) ? bytes / sizeof(WCHAR) : COUNT_OF(stored) - 1] = 0;
    RegCloseKey(key);
  }
  if (stored[0])
    StringCchCopyW(name, capacity, stored);
  else
    StringCchCopyW(name, capacity, keyName);
}

static void FillModeLists() {
  for (int mode = FIRST_MODE; mode <= LAST_MODE; ++mode) {
    WCHAR name[MODE_LIST_NAME_BYTES / sizeof(WCHAR) + 1];
    ReadListedModeName(mode, name, COUNT_OF(name));
    AddListItem(IDC_MODE_BACK, name);
    AddListItem(IDC_MODE_BUSY, name);
  }
}

// Numbers 0 to last in steps, shown with two digits.
static void FillTwoDigitList(int list, int last, int step) {
  for (int n = 0; n <= last; n += step) {
    WCHAR text[16];
    wsprintfW(text, TEXT("%02d"), n);
    AddListItem(list, text);
  }
}

void FillDialogLists() {
  for (int i = 0; i < 3; ++i) SendMessageW(Ctl(SliderIds[i]), TBM_SETRANGE, TRUE, MAKELPARAM(0, 5));
  for (int i = 3; i < SLIDER_COUNT; ++i) SendMessageW(Ctl(SliderIds[i]), TBM_SETRANGE, TRUE, MAKELPARAM(0, 10));

  ListRingTones();
  ListWaves();
  for (int i = 0; i < RING_TONE_SLOTS && RingToneList[i][0]; ++i) AddListItem(IDC_RING_TONE, RingToneList[i]);
  for (int i = 0; i < WAVE_SLOTS && WaveList[i][0]; ++i) AddListItem(IDC_EVENT_SOUND, WaveList[i]);

  FillModeLists();
  for (int i = 0; i < RING_PATTERNS; ++i) AddListItem(IDC_RING_PATTERN, RingPatternTable[i].Name);
  FillStateList(IDC_STATUS, StatusTable, COUNT_OF(StatusTable));
  FillCategoryList(Ctl(IDC_CATEGORY));
  FillStateList(IDC_RADIO_STATE, RadioStateTable, RADIO_STATE_CHOICES);
  FillStateList(IDC_BT_STATE, BTStateTable, BT_STATE_CHOICES);
  FillStateList(IDC_HEADSET_STATE, HeadsetStateTable, HEADSET_STATE_CHOICES);
  FillTwoDigitList(IDC_START_HOUR, 23, 1);
  FillTwoDigitList(IDC_STOP_HOUR, 23, 1);
  FillTwoDigitList(IDC_START_MINUTES, 55, 5);
  FillTwoDigitList(IDC_STOP_MINUTES, 55, 5);
  for (int rings = 1; rings <= 10; ++rings) {
    WCHAR text[16];
    wsprintfW(text, TEXT("%d"), rings);
    AddListItem(IDC_PICK_UP_RINGS, text);
  }
  static const WCHAR* const Timeouts[] = {TIMEOUT_QUARTER_TEXT, TIMEOUT_HALF_TEXT, TEXT("1"), TEXT("2"), TEXT("3"), TEXT("4"), TEXT("5")};
  for (const WCHAR* text : Timeouts) AddListItem(IDC_BATTERY_TIMEOUT, text);
  SendMessageW(Ctl(IDC_SIM_CODE), EM_LIMITTEXT, SIM_CODE_WIDTH - 1, 0);

  static const int Lists[] = {IDC_RING_TONE,   IDC_EVENT_SOUND, IDC_MODE_BACK,     IDC_MODE_BUSY,
                              IDC_RING_PATTERN, IDC_STATUS,     IDC_CATEGORY,      IDC_RADIO_STATE,
                              IDC_BT_STATE,    IDC_HEADSET_STATE, IDC_START_HOUR,  IDC_STOP_HOUR,
                              IDC_START_MINUTES, IDC_STOP_MINUTES, IDC_PICK_UP_RINGS, IDC_BATTERY_TIMEOUT};
  for (int list : Lists) SelectListItem(list, 0);
}

// A time of day shown in its row: two digits each, or "00" with the row off.
static void ShowTimeRow(int checkBox, int hourList, int minutesList, DWORD hour, DWORD minutes) {
  bool set = hour != 0 || minutes != 0;
  SetChecked(checkBox, set);
  EnableControl(hourList, set);
  EnableControl(minutesList, set);
  if (set) {
    WCHAR text[16];
    wsprintfW(text, hour < 10 ? TEXT("0%d") : TEXT("%d"), hour);
    SetControlText(hourList, text);
    wsprintfW(text, minutes < 10 ? TEXT("0%d") : TEXT("%d"), minutes);
    SetControlText(minutesList, text);
    EnableControl(IDC_MODE_BACK, true);
  } else {
    SetControlText(hourList, TEXT("00"));
    SetControlText(minutesList, TEXT("00"));
  }
}

static void ReadTimeRow(int checkBox, int hourList, int minutesList, DWORD* hour, DWORD* minutes) {
  if (IsChecked(checkBox)) {
    *hour = (DWORD)ReadControlNumber(hourList, LIST_TEXT_UNITS);
    *minutes = (DWORD)ReadControlNumber(minutesList, LIST_TEXT_UNITS);
  } else {
    *hour = 0;
    *minutes = 0;
  }
}

// The page of the time rows.
#define TIME_PAGE 5
// A switch time's field holds one or two digits.
#define TIME_FIELD_DIGITS 2
#define LAST_HOUR 23
#define LAST_MINUTE 59

static const WCHAR StartTimeRefused[] = TEXT("The start time must be a time of day, 00:00 to 23:59.");
static const WCHAR StopTimeRefused[] = TEXT("The stop time must be a time of day, 00:00 to 23:59.");
static const WCHAR TimeRefusedCaption[] = TEXT("Not saved");

// True when the field's text is one or two digits reading at most `largest`.
static bool FieldIsTimePart(int id, int largest) {
  WCHAR text[LIST_TEXT_UNITS];
  GetControlText(id, text, COUNT_OF(text));
  int digits = 0, value = 0;
  for (const WCHAR* c = text; *c; ++c) {
    if (*c < '0' || *c > '9' || ++digits > TIME_FIELD_DIGITS) return false;
    value = value * 10 + (*c - '0');
  }
  return digits > 0 && value <= largest;
}

// The first field of a switched-on time row that holds no hour or minutes
// of a day, or 0 when both rows are times of day.
static int ImpossibleTimeField(const WCHAR** message) {
  static const int Rows[2][3] = {{IDC_START_ON, IDC_START_HOUR, IDC_START_MINUTES},
                                 {IDC_STOP_ON, IDC_STOP_HOUR, IDC_STOP_MINUTES}};
  for (int row = 0; row < 2; ++row) {
    if (!IsChecked(Rows[row][0])) continue;
    *message = row == 0 ? StartTimeRefused : StopTimeRefused;
    if (!FieldIsTimePart(Rows[row][1], LAST_HOUR)) return Rows[row][1];
    if (!FieldIsTimePart(Rows[row][2], LAST_MINUTE)) return Rows[row][2];
  }
  return 0;
}

bool RefuseImpossibleTimes() {
  const WCHAR* message = nullptr;
  int field = ImpossibleTimeField(&message);
  if (!field) return false;
  CurrentPage = TIME_PAGE;
  LeaveQuestion();
  ShowPage();
  SetFocus(Ctl(field));
  SendMessageW(Ctl(field), CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
  RepaintSettings();
  MessageBoxW(SettingsWindow, message, TimeRefusedCaption, MB_OK | MB_ICONEXCLAMATION);
  // The field keeps the focus once the message is read.
  SetFocus(Ctl(field));
  return true;
}

static void ShowSoundClasses(DWORD sound) {
  bool events, programs, notifs;
  switch (sound) {
    case 0: events = false, programs = false, notifs = false; break;
    case SOUND_PROGRAMS: events = false, programs = true, notifs = false; break;
    case SOUND_PROGRAMS | SOUND_NOTIFS: events = false, programs = true, notifs = true; break;
    case SOUND_EVENTS: events = true, programs = false, notifs = false; break;
    case SOUND_EVENTS | SOUND_PROGRAMS: events = true, programs = true, notifs = false; break;
    case SOUND_EVENTS | SOUND_PROGRAMS | SOUND_NOTIFS: events = true, programs = true, notifs = true; break;
    default:  // not a combination the dialog offers: the boxes stay as they are
      events = IsChecked(IDC_EVENT_SOUNDS), programs = IsChecked(IDC_PROGRAM_SOUNDS),
      notifs = IsChecked(IDC_NOTIF_SOUNDS);
      break;
  }
  SetChecked(IDC_EVENT_SOUNDS, events);
  SetChecked(IDC_PROGRAM_SOUNDS, programs);
  SetChecked(IDC_NOTIF_SOUNDS, notifs);
  EnableControl(IDC_NOTIF_SOUNDS, IsChecked(IDC_PROGRAM_SOUNDS));
}

static void ShowOutlookRule(const ModeRecord& mode) {
  bool outlook = mode.OutlookSwitch == 1;
  SetChecked(IDC_OUTLOOK_SWITCH, outlook);
  if (outlook) SelectListItem(IDC_MODE_BUSY, (int)mode.ModeBusy - 1);
  EnableControl(IDC_MODE_BUSY, outlook);
  EnableControl(IDC_AUTO_REFRESH, outlook);
  SetChecked(IDC_AUTO_REFRESH, mode.OutlookAutoRefresh == 1);

  if (mode.Status == STATUS_ANY) {
    SetChecked(IDC_STATUS_ON, false);
    SelectListItem(IDC_STATUS, STATUS_FREE_POSITION);
  } else {
    SetChecked(IDC_STATUS_ON, true);
    SelectListItem(IDC_STATUS, StateListPosition(StatusTable, COUNT_OF(StatusTable), mode.Status));
  }
  if (wcsstr(mode.Category, CATEGORY_ANY)) {
    SetChecked(IDC_CATEGORY_ON, false);
    SelectListItem(IDC_CATEGORY, 1);
  } else {
    SetControlText(IDC_CATEGORY, mode.Category);
    SetChecked(IDC_CATEGORY_ON, true);
  }

  // A condition only applies while "Switch to" is on; an unchecked condition
  // keeps its list disabled.
  if (!outlook) {
    SetChecked(IDC_STATUS_ON, false);
    SetChecked(IDC_CATEGORY_ON, false);
  }
  EnableControl(IDC_STATUS, outlook && IsChecked(IDC_STATUS_ON));
  EnableControl(IDC_CATEGORY, outlook && IsChecked(IDC_CATEGORY_ON));
}

static void ShowBatteryTimeout(DWORD seconds) {
  bool on = seconds != 0;
  SetChecked(IDC_BATTERY_TIMEOUT_ON, on);
  EnableControl(IDC_BATTERY_TIMEOUT, on);
  if (!on)
    SetControlText(IDC_BATTERY_TIMEOUT, TEXT("0"));
  else if (seconds == TIMEOUT_QUARTER_SECONDS)
    SetControlText(IDC_BATTERY_TIMEOUT, TIMEOUT_QUARTER_TEXT);
  else if (seconds == TIMEOUT_HALF_SECONDS)
    SetControlText(IDC_BATTERY_TIMEOUT, TIMEOUT_HALF_TEXT);
  else
    SetControlNumber(IDC_BATTERY_TIMEOUT, (LONG)(seconds / 60));
}

// Fills the event list from the notification table just loaded.
static void ShowNotificationEvents(int lastSlot) {
  SendMessageW(Ctl(IDC_EVENT), CB_RESETCONTENT, 0, 0);
  for (int i = 0; i <= lastSlot && i < NOTIFICATION_SLOTS; ++i)
    if (EditedNotifications[i].EventName[0]) AddListItem(IDC_EVENT, EditedNotifications[i].EventName);
  SelectListItem(IDC_EVENT, 0);
  ShowNotificationEntry();
  SetControlNumber(IDC_DURATION, (LONG)EditedNotifications[0].Duration);
  SetControlText(IDC_EVENT_SOUND, EditedNotifications[0].Wave);
}

// A field filled by the program counts as unmodified, so that only the user's typing marks it.
static void SetFieldText(int id, const WCHAR* text) {
  SendMessageW(Ctl(id), EM_SETMODIFY, FALSE, 0);
  SetControlText(id, text);
}

void LoadModeIntoControls(const WCHAR* keyName) {
  WorkingMode = LoadMode(keyName);
  EditedCallerRules = LoadCallerRules(keyName);
  const ModeRecord& mode = WorkingMode;

  SetFieldText(IDC_MODE_NAME, mode.ModeName[0] ? mode.ModeName : keyName);
  SetSliderPosition(IDC_SYSTEM_VOLUME, mode.SystemVolume);
  SetSliderPosition(IDC_PHONE_VOLUME, mode.PhoneVolume);
  SetSliderPosition(IDC_SPEAKER_VOLUME, mode.SpeakerVolume);
  for (int i = 0; i < 3; ++i) SliderSnapshot[i] = SliderPosition(SliderIds[i]);
  bool ownTone = mode.RingTone[0] != 0;
  SetChecked(IDC_RING_TONE_ON, ownTone);
  EnableControl(IDC_RING_TONE, ownTone);
  if (ownTone) {
    // A tone the phone no longer lists is still shown, so that saving keeps it.
    int tone = FindRingTone(mode.RingTone);
    SelectListItem(IDC_RING_TONE, tone);
    if (tone == NOT_FOUND) SetControlText(IDC_RING_TONE, mode.RingTone);
  }
  SelectListItem(IDC_RING_PATTERN, FindRingPattern(mode.RingMode));

  ShowNotificationEvents(LoadNotifications(keyName, EditedNotifications));

  SelectListItem(IDC_RADIO_STATE, StateListPosition(RadioStateTable, RADIO_STATE_CHOICES, mode.RadioState));
  SelectListItem(IDC_BT_STATE, StateListPosition(BTStateTable, BT_STATE_CHOICES, mode.BTState));
  SelectListItem(IDC_HEADSET_STATE, StateListPosition(HeadsetStateTable, HEADSET_STATE_CHOICES, mode.HeadsetState));
  EnableControl(IDC_MODE_BACK, false);
  ShowTimeRow(IDC_START_ON, IDC_START_HOUR, IDC_START_MINUTES, mode.StartHour, mode.StartMinutes);
  ShowTimeRow(IDC_STOP_ON, IDC_STOP_HOUR, IDC_STOP_MINUTES, mode.StopHour, mode.StopMinutes);
  SelectListItem(IDC_MODE_BACK, (int)mode.ModeBack - 1);

  bool autoPickUp = mode.AutoPickUp == 1;
  SetChecked(IDC_AUTO_PICK_UP, autoPickUp);
  if (autoPickUp) SetControlNumber(IDC_PICK_UP_RINGS, (LONG)mode.NbRingPickUp);
  EnableControl(IDC_PICK_UP_RINGS, autoPickUp);

  bool simCode = mode.SimCode[0] != 0;
  SetChecked(IDC_SIM_CODE_ON, simCode);
  SetControlText(IDC_SIM_CODE, simCode ? mode.SimCode : TEXT(""));
  EnableControl(IDC_SIM_CODE, simCode);

  ShowSoundClasses(mode.Sound);
  for (int i = 0; i < 7; ++i) SetChecked(DayBoxes[i], (mode.Days & DayDigits[i]) != 0);
  ShowOutlookRule(mode);
  SetFieldText(IDC_PROGRAM, mode.ProgramToRun);
  SetSliderPosition(IDC_BRIGHTNESS, mode.BrightNess);
  SetSliderPosition(IDC_AC_BRIGHTNESS, mode.ACBrightNess);
  for (int i = 3; i < SLIDER_COUNT; ++i) SliderSnapshot[i] = SliderPosition(SliderIds[i]);
  ShowBatteryTimeout(mode.BatteryTimeout);
  SetChecked(IDC_BACKLIGHT_ON_TAP, mode.BacklightOnTap != 0);
}

// The status named in the list's text; the last name found wins, and a text
// naming none keeps the previous status.
static DWORD StatusFromText(const WCHAR* text, DWORD previous) {
  DWORD status = previous;
  for (int i = 0; i < COUNT_OF(StatusTable); ++i)
    if (wcsstr(text, StatusTable[i].Text)) status = StatusTable[i].Value;
  return status;
}

static void ReadBatteryTimeout(ModeRecord* mode) {
  WCHAR text[LIST_TEXT_UNITS];
  GetControlText(IDC_BATTERY_TIMEOUT, text, COUNT_OF(text));
  DWORD seconds = (DWORD)_wtol(text) * 60;
  if (IsChecked(IDC_BATTERY_TIMEOUT_ON)) {
    mode->BatteryTimeoutUnchecked = 0;
    if (wcsstr(text, TIMEOUT_HALF_TEXT))
      mode->BatteryTimeout = TIMEOUT_HALF_SECONDS;
    else if (wcsstr(text, TIMEOUT_QUARTER_TEXT))
      mode->BatteryTimeout = TIMEOUT_QUARTER_SECONDS;
    else
      mode->BatteryTimeout = seconds;
  } else {
    mode->BatteryTimeoutUnchecked = seconds;
    mode->BatteryTimeout = 0;
  }
}

// Fills the working record from the controls, in the order of its fields on screen.
static void ReadControlsIntoMode(ModeRecord* mode, const WCHAR* shownName) {
  StringCchCopyW(mode->ModeName, COUNT_OF(mode->ModeName), shownName);
  mode->SystemVolume = SliderPosition(IDC_SYSTEM_VOLUME);
  mode->PhoneVolume = SliderPosition(IDC_PHONE_VOLUME);
  mode->SpeakerVolume = SliderPosition(IDC_SPEAKER_VOLUME);

  WCHAR text[LIST_TEXT_UNITS];
  if (IsChecked(IDC_RING_TONE_ON)) {
    GetControlText(IDC_RING_TONE, text, COUNT_OF(text));
    StringCchCopyW(mode->RingTone, COUNT_OF(mode->RingTone), text);
  } else {
    mode->RingTone[0] = 0;
  }
  int pattern = ListSelection(IDC_RING_PATTERN);
  if (pattern >= 0 && pattern < RING_PATTERNS)
    StringCchCopyW(mode->RingMode, COUNT_OF(mode->RingMode), RingPatternTable[pattern].Script);

  mode->RadioState = SelectedState(IDC_RADIO_STATE, RadioStateTable, RADIO_STATE_CHOICES, mode->RadioState);
  mode->BTState = SelectedState(IDC_BT_STATE, BTStateTable, BT_STATE_CHOICES, mode->BTState);
  mode->HeadsetState = SelectedState(IDC_HEADSET_STATE, HeadsetStateTable, HEADSET_STATE_CHOICES, mode->HeadsetState);

  ReadTimeRow(IDC_START_ON, IDC_START_HOUR, IDC_START_MINUTES, &mode->StartHour, &mode->StartMinutes);
  ReadTimeRow(IDC_STOP_ON, IDC_STOP_HOUR, IDC_STOP_MINUTES, &mode->StopHour, &mode->StopMinutes);
  mode->ModeBack = (DWORD)(ListSelection(IDC_MODE_BACK) + 1);

  if (IsChecked(IDC_AUTO_PICK_UP)) {
    mode->AutoPickUp = 1;
    mode->NbRingPickUp = (DWORD)ReadControlNumber(IDC_PICK_UP_RINGS, LIST_TEXT_UNITS);
  } else {
    mode->AutoPickUp = 0;
    mode->NbRingPickUp = NB_RING_PICK_UP_DEFAULT;
  }
  if (IsChecked(IDC_SIM_CODE_ON))
    GetControlText(IDC_SIM_CODE, mode->SimCode, COUNT_OF(mode->SimCode));
  else
    mode->SimCode[0] = 0;

  mode->Sound = (IsChecked(IDC_EVENT_SOUNDS) ? SOUND_EVENTS : 0) + (IsChecked(IDC_PROGRAM_SOUNDS) ? SOUND_PROGRAMS : 0) +
                (IsChecked(IDC_NOTIF_SOUNDS) ? SOUND_NOTIFS : 0);
  mode->Days = ALL_DAYS;
  for (int i = 0; i < 7; ++i)
    if (!IsChecked(DayBoxes[i])) mode->Days &= ~DayDigits[i];

  if (IsChecked(IDC_OUTLOOK_SWITCH)) {
    mode->OutlookSwitch = 1;
    mode->ModeBusy = (DWORD)(ListSelection(IDC_MODE_BUSY) + 1);
  } else {
    mode->OutlookSwitch = 0;
    mode->ModeBusy = 0;
  }
  mode->OutlookAutoRefresh = IsChecked(IDC_AUTO_REFRESH) ? 1 : 0;
  if (IsChecked(IDC_STATUS_ON)) {
    GetControlText(IDC_STATUS, text, COUNT_OF(text));
    mode->Status = StatusFromText(text, mode->Status);
  } else {
    mode->Status = STATUS_ANY;
  }
  if (IsChecked(IDC_CATEGORY_ON)) {
    GetControlText(IDC_CATEGORY, text, COUNT_OF(text));
    StringCchCopyW(mode->Category, COUNT_OF(mode->Category), text);
  } else {
    StringCchCopyW(mode->Category, COUNT_OF(mode->Category), CATEGORY_ANY);
  }
  GetControlText(IDC_PROGRAM, mode->ProgramToRun, COUNT_OF(mode->ProgramToRun));

  mode->BrightNess = SliderPosition(IDC_BRIGHTNESS);
  mode->ACBrightNess = SliderPosition(IDC_AC_BRIGHTNESS);
  ReadBatteryTimeout(mode);
  mode->BacklightOnTap = IsChecked(IDC_BACKLIGHT_ON_TAP) ? 1 : 0;
}

// The new name takes the old one's place in both mode lists.
static void RenameInModeLists(int mode, const WCHAR* name) {
  static const int Lists[] = {IDC_MODE_BACK, IDC_MODE_BUSY};
  for (int list : Lists) {
    SendMessageW(Ctl(list), CB_INSERTSTRING, (WPARAM)mode, (LPARAM)name);
    SendMessageW(Ctl(list), CB_DELETESTRING, (WPARAM)(mode - 1), 0);
  }
}

bool SaveEditedMode() {
  if (SlidersMoved()) UnsavedChanges = true;
  if (!UnsavedChanges) {
    EnableAllControls();
    return true;
  }
  if (RefuseImpossibleTimes()) return false;

  WCHAR name[LIST_TEXT_UNITS];
  GetControlText(IDC_MODE_NAME, name, COUNT_OF(name));
  ReadControlsIntoMode(&WorkingMode, name);

  if (IsUserMode(EditedMode)) {
    WCHAR keyName[MODE_KEY_NAME_SIZE];
    ModeKeyName((DWORD)EditedMode, keyName);
    BeginRecordSave(keyName);
    SaveMode(keyName, WorkingMode);
    SaveNotifications(keyName, EditedNotifications);
    SaveCallerRules(keyName, &EditedCallerRules);
    WriteModeName(keyName, name);
    EndRecordSave();
    RenameInModeLists(EditedMode, name);
    SelectListItem(IDC_MODE_BACK, (int)WorkingMode.ModeBack - 1);
    SelectListItem(IDC_MODE_BUSY, WorkingMode.ModeBusy ? (int)WorkingMode.ModeBusy - 1 : 0);
    SendMessageW(Ctl(IDC_MODE_NAME), EM_SETMODIFY, FALSE, 0);
    SendMessageW(Ctl(IDC_PROGRAM), EM_SETMODIFY, FALSE, 0);
  }

  TakeSliderSnapshot();
  UnsavedChanges = false;
  return true;
}

// The first entry whose event name occurs in the event list's selected text, or null.
static NotificationSetting* SelectedNotificationEntry() {
  int position = ListSelection(IDC_EVENT);
  if (position < 0) return nullptr;
  LRESULT length = SendMessageW(Ctl(IDC_EVENT), CB_GETLBTEXTLEN, (WPARAM)position, 0);
  WCHAR text[LIST_TEXT_UNITS];
  if (length < 0 || length >= LIST_TEXT_UNITS) return nullptr;
  text[0] = 0;
  SendMessageW(Ctl(IDC_EVENT), CB_GETLBTEXT, (WPARAM)position, (LPARAM)text);
  text[LIST_TEXT_UNITS - 1] = 0;
  for (int i = 0; i < NOTIFICATION_SLOTS; ++i)
    if (EditedNotifications[i].EventName[0] && wcsstr(text, EditedNotifications[i].EventName))
      return &EditedNotifications[i];
  return nullptr;
}

static const int OptionBoxes[] = {IDC_PLAY_SOUND, IDC_REPEAT, IDC_DISPLAY, IDC_FLASH, IDC_VIBRATE};

void ShowNotificationEntry() {
  NotificationSetting* entry = SelectedNotificationEntry();
  for (int box : OptionBoxes) SetChecked(box, false);
  if (!entry) {
    SetControlText(IDC_DURATION, TEXT(""));
    SelectListItem(IDC_EVENT_SOUND, NOT_FOUND);
    SetControlText(IDC_EVENT_SOUND, TEXT(""));
    return;
  }

  DWORD bits = entry->Options - NOTIFY_OPTIONS_BASE;
  if (entry->Options - (NOTIFY_OPTIONS_BASE + NOTIFY_REPEAT) <= NOTIFY_EVENT_BITS) {
    SetChecked(IDC_REPEAT, true);
    bits = entry->Options - (NOTIFY_OPTIONS_BASE + NOTIFY_REPEAT);
  }
  if (bits >= 1 && bits <= NOTIFY_EVENT_BITS) {
    SetChecked(IDC_PLAY_SOUND, (bits & NOTIFY_PLAY_SOUND) != 0);
    SetChecked(IDC_VIBRATE, (bits & NOTIFY_VIBRATE) != 0);
    SetChecked(IDC_FLASH, (bits & NOTIFY_FLASH) != 0);
    SetChecked(IDC_DISPLAY, (bits & NOTIFY_DISPLAY) != 0);
  }
  SetControlNumber(IDC_DURATION, (LONG)entry->Duration);

  int wave = FindWave(entry->Wave);
  SelectListItem(IDC_EVENT_SOUND, wave);
  if (wave == NOT_FOUND) SetControlText(IDC_EVENT_SOUND, TEXT("Notif Sound not set"));
}

void StoreNotificationEntry() {
  NotificationSetting* entry = SelectedNotificationEntry();
  if (!entry) return;
  entry->Options = NOTIFY_OPTIONS_BASE + (IsChecked(IDC_PLAY_SOUND) ? NOTIFY_PLAY_SOUND : 0) +
                   (IsChecked(IDC_VIBRATE) ? NOTIFY_VIBRATE : 0) + (IsChecked(IDC_FLASH) ? NOTIFY_FLASH : 0) +
                   (IsChecked(IDC_DISPLAY) ? NOTIFY_DISPLAY : 0) + (IsChecked(IDC_REPEAT) ? NOTIFY_REPEAT : 0);
  entry->Duration = (DWORD)ReadControlNumber(IDC_DURATION, DURATION_TEXT_UNITS);

  // An event whose sound is not in the wave list keeps it.
  int wave = ListSelection(IDC_EVENT_SOUND);
  if (wave < 0) return;
  WCHAR text[SOUND_TEXT_UNITS];
  LRESULT length = SendMessageW(Ctl(IDC_EVENT_SOUND), CB_GETLBTEXTLEN, (WPARAM)wave, 0);
  if (length < 0 || length >= SOUND_TEXT_UNITS) return;
  text[0] = 0;
  SendMessageW(Ctl(IDC_EVENT_SOUND), CB_GETLBTEXT, (WPARAM)wave, (LPARAM)text);
  text[SOUND_TEXT_UNITS - 1] = 0;
  StringCchCopyW(entry->Wave, COUNT_OF(entry->Wave), text);
}
