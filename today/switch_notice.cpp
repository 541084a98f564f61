// The notice of the last automatic switch, kept in the Today state with the
// tick count at which it goes away.
#include "today/switch_notice.h"

#include "store/mode_keys.h"
#include "today/today_state.h"

// Switches the user made by a tap (a picture, the timer bar) and the first
// run's set-up get no notice: the user saw them happen.
static BOOL IsAutomatic(SwitchReason reason) {
  return reason != SWITCH_FIRST_RUN && reason != SWITCH_BY_HAND && reason != SWITCH_TEMPORARY;
}

void NoteSwitch(DWORD mode, SwitchReason reason, LPCWSTR reasonText, const SYSTEMTIME* at,
                const SYSTEMTIME* missed) {
  if (!IsAutomatic(reason)) return;
  WCHAR name[MODE_NAME_WIDTH];
  ReadModeName(mode, name);
  if (missed) {
    wsprintfW(Today.Notice, TEXT("%s since %02d:%02d (%s, missed %02d:%02d)"), name, (int)at->wHour,
              (int)at->wMinute, reasonText, (int)missed->wHour, (int)missed->wMinute);
  } else {
    wsprintfW(Today.Notice, TEXT("%s since %02d:%02d (%s)"), name, (int)at->wHour, (int)at->wMinute, reasonText);
  }
  Today.NoticeUntil = GetTickCount() + SWITCH_NOTICE_MS;
  Today.NoticeShown = TRUE;
  Today.NextSwitchStale = TRUE;
}

LPCWSTR CurrentSwitchNotice() {
  if (Today.NoticeShown && (LONG)(GetTickCount() - Today.NoticeUntil) >= 0) {
    Today.NoticeShown = FALSE;
    Today.NextSwitchStale = TRUE;
  }
  return Today.NoticeShown ? Today.Notice : nullptr;
}

void DismissSwitchNotice() {
  if (!Today.NoticeShown) return;
  Today.NoticeShown = FALSE;
  Today.NextSwitchStale = TRUE;
}
