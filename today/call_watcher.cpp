// The call watcher. The phone offers each incoming call to the monitoring
// lines before it rings it, so the ring volume set here on the offering is
// the one the call rings at. Each offered call rings as its own rule says:
// a caller in the active mode's "AllowCategory", or a number that called
// within REPEAT_CALL_SECONDS before, at "AllowVolume" when that is louder
// than the mode's "Phone Volume"; any other call at the mode's own, so that
// a second call waiting while an allowed one goes on is as quiet as the mode.
// When the last call ends, the active mode's own ring volume is put back
// (the mode active then, should a switch have come during the call).
#include "today/call_watcher.h"

#include <tapi.h>
#include <emulated_shell.h>

#include "phone/caller_contact.h"
#include "phone/sound_settings.h"
#include "store/caller_rules.h"
#include "store/mode_keys.h"
#include "store/mode_store.h"
#include "store/root_values.h"

#define WATCHER_LOWEST_VERSION 0x00010004
#define WATCHER_HIGHEST_VERSION 0x00020000
// The calls watched at once, and the numbers remembered for repeats.
#define WATCHED_CALLS 8
#define REMEMBERED_NUMBERS 16
// Room for a caller ID: the line hands over at most this many units.
#define CALLER_NUMBER_WIDTH 48
// FILETIME ticks per second.
#define TICKS_PER_SECOND 10000000ULL

struct RememberedNumber {
  WCHAR Number[CALLER_NUMBER_WIDTH];
  ULONGLONG LastCall;  // FILETIME ticks of the phone's local time; 0 = free slot
};

static HLINEAPP WatchApp;
static HLINE WatchLine;
static BOOL Watching;
static HCALL WatchedCalls[WATCHED_CALLS];
static DWORD WatchedCount;
// TRUE while a call's rule has set the ring volume away from the mode's own.
static BOOL VolumeChanged;
static RememberedNumber Remembered[REMEMBERED_NUMBERS];

static ULONGLONG PhoneTicks() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  FILETIME time;
  SystemTimeToFileTime(&now, &time);
  return ((ULONGLONG)time.dwHighDateTime << 32) | time.dwLowDateTime;
}

// The caller ID of an offered call, "" when the caller's is withheld or
// unknown, or cannot be read.
static void CallerNumber(HCALL call, WCHAR number[CALLER_NUMBER_WIDTH]) {
  number[0] = 0;
  union {
    LINECALLINFO Info;
    BYTE Room[sizeof(LINECALLINFO) + CALLER_NUMBER_WIDTH * sizeof(WCHAR)];
  } buffer = {};
  buffer.Info.dwTotalSize = sizeof buffer;
  if (lineGetCallInfo(call, &buffer.Info) != 0) return;
  if (!(buffer.Info.dwCallerIDFlags & LINECALLPARTYID_ADDRESS)) return;
  DWORD offset = buffer.Info.dwCallerIDOffset;
  DWORD units = buffer.Info.dwCallerIDSize / sizeof(WCHAR);
  if (offset < sizeof(LINECALLINFO) || offset + units * sizeof(WCHAR) > sizeof buffer) return;
  const WCHAR* text = (const WCHAR*)(buffer.Room + offset);
  DWORD copied = 0;
  while (copied < units && copied < CALLER_NUMBER_WIDTH - 1 && text[copied]) {
    number[copied] = text[copied];
    ++copied;
  }
  number[copied] = 0;
}

// TRUE when `number` called within REPEAT_CALL_SECONDS before `now`; the
// call is remembered either way, as the latest from its number.
static BOOL RepeatsWithinLimit(LPCWSTR number, ULONGLONG now) {
  RememberedNumber* slot = nullptr;
  for (RememberedNumber& remembered : Remembered)
    if (remembered.LastCall && wcscmp(remembered.Number, number) == 0) slot = &remembered;
  BOOL repeats = slot && now >= slot->LastCall && now - slot->LastCall <= REPEAT_CALL_SECONDS * TICKS_PER_SECOND;
  if (!slot) {
    // A free slot, else the one whose call is longest past.
    slot = &Remembered[0];
    for (RememberedNumber& remembered : Remembered)
      if (remembered.LastCall < slot->LastCall) slot = &remembered;
    wcsncpy(slot->Number, number, CALLER_NUMBER_WIDTH - 1);
    slot->Number[CALLER_NUMBER_WIDTH - 1] = 0;
  }
  slot->LastCall = now;
  return repeats;
}

// Sets the ring volume to `level` as applying a mode does.
static void SetRingLevel(DWORD level) { SetRingerVolume(nullptr, RingerVolumeLevel(level)); }

static void CallOffered(HCALL call) {
  if (WatchedCount < WATCHED_CALLS) WatchedCalls[WatchedCount++] = call;
  WCHAR number[CALLER_NUMBER_WIDTH];
  CallerNumber(call, number);
  BOOL repeats = number[0] && RepeatsWithinLimit(number, PhoneTicks());

  // A call while no mode is active rings as the phone is.
  DWORD mode = ReadActiveMode();
  if (mode == 0) return;
  WCHAR keyName[MODE_KEY_NAME_SIZE];
  ModeKeyName(mode, keyName);
  CallerRules rules = LoadCallerRules(keyName);
  ModeRecord record = LoadMode(keyName);

  WCHAR name[CALLER_NAME_WIDTH] = TEXT("");
  BOOL inCategory = FALSE;
  WCHAR reason[CATEGORY_WIDTH + 32] = TEXT("");
  if (number[0] && rules.AllowCategory[0] && FindCallerContact(number, rules.AllowCategory, name, &inCategory) &&
      inCategory)
    wsprintfW(reason, TEXT("category \"%s\""), rules.AllowCategory);
  else if (repeats && rules.RepeatCalls)
    wsprintfW(reason, TEXT("second call in 3 minutes"));
  if (reason[0] && !name[0]) FindCallerContact(number, TEXT(""), name, &inCategory);

  if (reason[0]) ShellRecordModeException(number, name, reason);
  if (reason[0] && rules.AllowVolume > record.PhoneVolume) {
    SetRingLevel(rules.AllowVolume);
    VolumeChanged = TRUE;
  } else if (VolumeChanged) {
    SetRingLevel(record.PhoneVolume);
    VolumeChanged = FALSE;
  }
}

static void CallGone(HCALL call) {
  for (DWORD i = 0; i < WatchedCount; ++i) {
    if (WatchedCalls[i] != call) continue;
    WatchedCalls[i] = WatchedCalls[--WatchedCount];
    break;
  }
  if (WatchedCount > 0 || !VolumeChanged) return;
  VolumeChanged = FALSE;
  DWORD mode = ReadActiveMode();
  if (mode == 0) return;
  WCHAR keyName[MODE_KEY_NAME_SIZE];
  ModeKeyName(mode, keyName);
  SetRingLevel(LoadMode(keyName).PhoneVolume);
}

static void CALLBACK WatchLineEvent(DWORD device, DWORD message, DWORD_PTR, DWORD_PTR state, DWORD_PTR,
                                    DWORD_PTR) {
  if (message != LINE_CALLSTATE) return;
  if (state == LINECALLSTATE_OFFERING) CallOffered((HCALL)device);
  else if (state == LINECALLSTATE_IDLE) CallGone((HCALL)device);
}

void StartCallWatcher(HINSTANCE instance) {
  if (Watching) return;
  DWORD devices = 0;
  if (lineInitialize(&WatchApp, instance, WatchLineEvent, TEXT("Selvane"), &devices) != 0) return;
  DWORD version = 0;
  LINEEXTENSIONID extension;
  if (devices == 0 ||
      lineNegotiateAPIVersion(WatchApp, 0, WATCHER_LOWEST_VERSION, WATCHER_HIGHEST_VERSION, &version, &extension) != 0 ||
      lineOpen(WatchApp, 0, &WatchLine, version, 0, 0, LINECALLPRIVILEGE_MONITOR, LINEMEDIAMODE_INTERACTIVEVOICE,
               nullptr) != 0) {
    lineShutdown(WatchApp);
    return;
  }
  Watching = TRUE;
}

void StopCallWatcher() {
  if (!Watching) return;
  lineClose(WatchLine);
  lineShutdown(WatchApp);
  Watching = FALSE;
}
