// The pages of the settings dialog, the question screen that offers to save,
// and the keyboard mode: which controls are shown and enabled on each.
#include "settings/dialog_pages.h"

#include <windows.h>
#include <sipapi.h>

#include "settings/count_of.h"
#include "settings/resource.h"

const int FrameControls[FRAME_CONTROL_COUNT] = {
    IDC_MODE_PREVIOUS, IDC_MODE_NAME, IDC_MODE_NEXT, IDC_KEYBOARD, IDC_PAGE_PREVIOUS, IDC_PAGE_NEXT, IDC_RESET,
    IDC_SAVE,          IDC_EXPORT,    IDC_IMPORT,    IDC_CALLERS,  IDC_NO_SAVE,       IDC_QUESTION,  IDC_SPARE_ARROW};

static const int VolumePage[] = {IDC_VOLUME_GROUP,         IDC_SYSTEM_VOLUME_LABEL, IDC_SYSTEM_VOLUME_MUTE,
                                 IDC_SYSTEM_VOLUME,        IDC_SYSTEM_VOLUME_LOUD,  IDC_PHONE_VOLUME_LABEL,
                                 IDC_PHONE_VOLUME_MUTE,    IDC_PHONE_VOLUME,        IDC_PHONE_VOLUME_LOUD,
                                 IDC_SPEAKER_VOLUME_LABEL, IDC_SPEAKER_VOLUME_MUTE, IDC_SPEAKER_VOLUME,
                                 IDC_SPEAKER_VOLUME_LOUD};
static const int RingPage[] = {IDC_RING_GROUP,   IDC_RING_LABEL,    IDC_RING_PATTERN, IDC_RING_TONE, IDC_RING_TONE_ON,
                               IDC_AUTO_PICK_UP, IDC_PICK_UP_RINGS, IDC_SIM_CODE_ON,  IDC_SIM_CODE};
static const int NotifsPage[] = {IDC_NOTIFS_GROUP, IDC_EVENT,   IDC_PLAY_SOUND,  IDC_EVENT_SOUND,
                                 IDC_PLAY,         IDC_REPEAT,  IDC_DISPLAY,     IDC_VIBRATE,
                                 IDC_FLASH,        IDC_DURATION_UP, IDC_DURATION, IDC_DURATION_DOWN};
static const int RadioPage[] = {IDC_RADIO_GROUP, IDC_RADIO_STATE, IDC_BT_STATE, IDC_HEADSET_STATE};
static const int TimePage[] = {IDC_TIME_GROUP,   IDC_START_ON,        IDC_START_HOUR,    IDC_START_HOUR_LABEL,
                               IDC_START_MINUTES, IDC_START_MINUTES_LABEL, IDC_STOP_ON,   IDC_STOP_HOUR,
                               IDC_STOP_HOUR_LABEL, IDC_STOP_MINUTES,  IDC_STOP_MINUTES_LABEL, IDC_MODE_BACK_LABEL,
                               IDC_MODE_BACK,     IDC_MONDAY,          IDC_TUESDAY,       IDC_WEDNESDAY,
                               IDC_THURSDAY,      IDC_FRIDAY,          IDC_SATURDAY,      IDC_SUNDAY};
static const int SoundsPage[] = {IDC_SOUNDS_GROUP, IDC_EVENT_SOUNDS, IDC_PROGRAM_SOUNDS, IDC_NOTIF_SOUNDS};
static const int OutlookPage[] = {IDC_OUTLOOK_GROUP, IDC_OUTLOOK_SWITCH, IDC_MODE_BUSY,   IDC_STATUS_ON,
                                  IDC_STATUS,        IDC_CATEGORY_ON,    IDC_CATEGORY,    IDC_AUTO_REFRESH};
static const int ProgramPage[] = {IDC_PROGRAM_GROUP, IDC_PROGRAM, IDC_EXPLORE, IDC_RUN};
static const int BacklightPage[] = {IDC_BACKLIGHT_GROUP,  IDC_BATTERY_TIMEOUT_ON, IDC_BATTERY_TIMEOUT,
                                    IDC_BATTERY_TIMEOUT_LABEL, IDC_BACKLIGHT_ON_TAP, IDC_BRIGHTNESS,
                                    IDC_BRIGHTNESS_LABEL, IDC_AC_BRIGHTNESS,      IDC_AC_BRIGHTNESS_LABEL};

const int* const PageControls[LAST_PAGE + 1] = {nullptr,   VolumePage,  RingPage,    NotifsPage,   RadioPage,
                                                TimePage,  SoundsPage,  OutlookPage, ProgramPage, BacklightPage};
const int PageControlCount[LAST_PAGE + 1] = {0,
                                             COUNT_OF(VolumePage),
                                             COUNT_OF(RingPage),
                                             COUNT_OF(NotifsPage),
                                             COUNT_OF(RadioPage),
                                             COUNT_OF(TimePage),
                                             COUNT_OF(SoundsPage),
                                             COUNT_OF(OutlookPage),
                                             COUNT_OF(ProgramPage),
                                             COUNT_OF(BacklightPage)};

// The pages where the mode name may be edited, and those with a field that
// the on-screen keyboard types into.
static bool PageEditsModeName(int page) { return page == 1 || page == 7; }
static bool PageUsesKeyboard(int page) { return page == 1 || page == 2 || page == 8; }

static bool IsCurrentPage(int page) { return CurrentPage == page; }

static void ShowCurrentPageControls() {
  if (CurrentPage < FIRST_PAGE || CurrentPage > LAST_PAGE) return;
  for (int i = 0; i < PageControlCount[CurrentPage]; ++i) ShowControl(PageControls[CurrentPage][i], true);
}

static void HideEveryPageControl() {
  for (int page = FIRST_PAGE; page <= LAST_PAGE; ++page)
    for (int i = 0; i < PageControlCount[page]; ++i) ShowControl(PageControls[page][i], false);
}

void ShowPage() {
  EnableControl(IDC_KEYBOARD, false);
  EnableControl(IDC_MODE_NAME, false);
  ShowControl(IDC_MODE_NAME, true);
  ShowControl(IDC_KEYBOARD, true);
  ShowControl(IDC_MODE_NEXT, true);
  ShowControl(IDC_MODE_PREVIOUS, true);

  HideEveryPageControl();
  ShowControl(IDC_SPARE_ARROW, false);

  ShowCurrentPageControls();
  if (PageEditsModeName(CurrentPage)) EnableControl(IDC_MODE_NAME, true);
  if (PageUsesKeyboard(CurrentPage)) EnableControl(IDC_KEYBOARD, true);
}

void AskToSave() {
  DisableAllControls();
  HideAllControls();
  ShowControl(IDC_NO_SAVE, true);
  ShowControl(IDC_QUESTION, true);
  EnableControl(IDC_SAVE, true);
  EnableControl(IDC_NO_SAVE, true);
  ShowControl(IDC_QUESTION, true);
}

void LeaveQuestion() {
  EnableAllControls();
  ShowPageControls();
  ShowControl(IDC_NO_SAVE, false);
  ShowControl(IDC_QUESTION, false);
}

void DisableAllControls() {
  for (int i = 0; i < FRAME_CONTROL_COUNT; ++i)
    if (FrameControls[i] != IDC_QUESTION) EnableControl(FrameControls[i], false);
  for (int page = FIRST_PAGE; page <= LAST_PAGE; ++page)
    for (int i = 0; i < PageControlCount[page]; ++i) EnableControl(PageControls[page][i], false);
}

void HideAllControls() {
  for (int i = 0; i < FRAME_CONTROL_COUNT; ++i)
    if (FrameControls[i] != IDC_MODE_NAME && FrameControls[i] != IDC_SAVE) ShowControl(FrameControls[i], false);
  HideEveryPageControl();
}

// A time row: its lists follow its check box, and an unchecked row reads "00".
static void EnableTimeRow(int checkBox, int hourList, int minutesList) {
  bool on = IsChecked(checkBox);
  EnableControl(hourList, on);
  EnableControl(minutesList, on);
  if (!on) {
    SetControlText(hourList, TEXT("00"));
    SetControlText(minutesList, TEXT("00"));
  }
}

void EnableAllControls() {
  static const int Buttons[] = {IDC_PAGE_PREVIOUS, IDC_PAGE_NEXT, IDC_SAVE,      IDC_RESET,        IDC_EXPORT,
                                IDC_IMPORT,        IDC_CALLERS,   IDC_MODE_NEXT, IDC_MODE_PREVIOUS};
  for (int id : Buttons) EnableControl(id, true);
  EnableControl(IDC_NO_SAVE, false);

  if (PageUsesKeyboard(CurrentPage)) EnableControl(IDC_KEYBOARD, true);
  if (IsCurrentPage(1)) EnableControl(IDC_MODE_NAME, true);

  // Every page control, then those that follow their check box.
  for (int page = FIRST_PAGE; page <= LAST_PAGE; ++page)
    for (int i = 0; i < PageControlCount[page]; ++i) EnableControl(PageControls[page][i], true);
  EnableControl(IDC_RING_TONE, IsChecked(IDC_RING_TONE_ON));
  EnableControl(IDC_SIM_CODE, IsChecked(IDC_SIM_CODE_ON));
  EnableControl(IDC_PICK_UP_RINGS, IsChecked(IDC_AUTO_PICK_UP));
  EnableControl(IDC_NOTIF_SOUNDS, IsChecked(IDC_PROGRAM_SOUNDS));
  EnableControl(IDC_BATTERY_TIMEOUT, IsChecked(IDC_BATTERY_TIMEOUT_ON));
  EnableTimeRow(IDC_START_ON, IDC_START_HOUR, IDC_START_MINUTES);
  EnableTimeRow(IDC_STOP_ON, IDC_STOP_HOUR, IDC_STOP_MINUTES);
  EnableControl(IDC_MODE_BACK, IsChecked(IDC_START_ON) || IsChecked(IDC_STOP_ON));

  bool outlook = IsChecked(IDC_OUTLOOK_SWITCH);
  if (!outlook) {
    SetChecked(IDC_STATUS_ON, false);
    SetChecked(IDC_CATEGORY_ON, false);
  }
  EnableControl(IDC_MODE_BUSY, outlook);
  EnableControl(IDC_AUTO_REFRESH, outlook);
  EnableControl(IDC_STATUS, outlook && IsChecked(IDC_STATUS_ON));
  EnableControl(IDC_CATEGORY, outlook && IsChecked(IDC_CATEGORY_ON));
}

void ShowPageControls() {
  static const int Frame[] = {IDC_PAGE_PREVIOUS, IDC_PAGE_NEXT, IDC_MODE_NAME, IDC_MODE_NEXT, IDC_MODE_PREVIOUS,
                              IDC_SAVE,          IDC_EXPORT,    IDC_IMPORT,    IDC_CALLERS,   IDC_KEYBOARD,
                              IDC_RESET};
  for (int id : Frame) ShowControl(id, true);
  ShowCurrentPageControls();
  if (IsCurrentPage(1)) EnableControl(IDC_MODE_NAME, true);
  if (IsCurrentPage(3) || IsCurrentPage(4) || IsCurrentPage(5)) EnableControl(IDC_KEYBOARD, false);
  if (IsCurrentPage(7)) {
    ShowControl(IDC_MODE_NAME, true);
    ShowControl(IDC_KEYBOARD, false);
  }
}

// The field the keyboard types into on the current page; the Sim Code field
// and the program field are enabled first, since the keyboard mode disabled them.
static int KeyboardField() {
  if (IsCurrentPage(2) && IsChecked(IDC_SIM_CODE_ON)) {
    EnableControl(IDC_SIM_CODE, true);
    return IDC_SIM_CODE;
  }
  if (IsCurrentPage(8)) {
    EnableControl(IDC_PROGRAM, true);
    return IDC_PROGRAM;
  }
  return IDC_MODE_NAME;
}

void ToggleKeyboardMode() {
  if (KeyboardShown) {
    EnableAllControls();
    SipShowIM(SIPF_OFF);
    KeyboardShown = false;
    return;
  }
  DisableAllControls();
  EnableControl(IDC_SIM_CODE_ON, true);
  EnableControl(IDC_KEYBOARD, true);
  SipShowIM(SIPF_ON);
  KeyboardShown = true;
  if (IsCurrentPage(1)) EnableControl(IDC_MODE_NAME, true);

  HWND field = Ctl(KeyboardField());
  SetFocus(field);
  SendMessageW(field, EM_SETSEL, 0, -1);
}
