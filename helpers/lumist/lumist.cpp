// Lumist, the wake keeper: started by the phone at a registered switch time,
// it keeps the phone awake for about twenty seconds so the switch can be made.
#include <windows.h>

// One thread timer without a window: the identifier is only a request, the
// tick procedure is reached through the message loop.
#define WAKE_TIMER_ID 12
#define WAKE_TIMER_PERIOD_MS 1000
// Twenty ticks a second apart keep the phone awake for about twenty seconds.
#define WAKE_TICKS 20

static int g_tickCount = 0;

// Sends one silent release of a key that no program uses: the phone counts
// it as user activity and stays awake, with nothing seen or heard. Ends the
// loop after the last tick; a tick that arrives after it sends nothing.
static VOID CALLBACK KeepAwakeTick(HWND, UINT message, UINT_PTR, DWORD) {
  if (message != WM_TIMER || g_tickCount >= WAKE_TICKS) return;
  keybd_event(VK_F24, 0, KEYEVENTF_KEYUP | KEYEVENTF_SILENT, 0);
  g_tickCount++;
  if (g_tickCount == WAKE_TICKS) PostQuitMessage(0);
}

// The command line is ignored: the phone's timed start passes one of its own.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
  // Without its timer the loop would wait for ever: end at once instead.
  if (SetTimer(NULL, WAKE_TIMER_ID, WAKE_TIMER_PERIOD_MS, KeepAwakeTick) == 0) return 0;
  MSG message;
  while (GetMessageW(&message, NULL, 0, 0)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
