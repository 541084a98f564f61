// What Windows CE's core library declares beyond desktop Windows' headers:
// the event call that sets, resets and pulses, the transparent copy of a
// picture, the audio system's reload of its registry settings, the silent
// key event, and the entry that takes a wide command line. It also works
// on top of a desktop Windows SDK's windows.h (_WIN32 defined), where it
// declares only what that lacks.
#pragma once

#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

#define EVENT_PULSE 1
#define EVENT_RESET 2
#define EVENT_SET 3
BOOL EventModify(HANDLE hEvent, DWORD func);
#ifndef _WIN32
// Windows CE's SetEvent, ResetEvent and PulseEvent are EventModify's three
// uses; desktop Windows has them as calls of their own.
inline BOOL SetEvent(HANDLE hEvent) { return EventModify(hEvent, EVENT_SET); }
inline BOOL ResetEvent(HANDLE hEvent) { return EventModify(hEvent, EVENT_RESET); }
inline BOOL PulseEvent(HANDLE hEvent) { return EventModify(hEvent, EVENT_PULSE); }
#endif

// Copies the source part to the target part (stretched when the sizes
// differ), leaving out the pixels of the transparent colour. The source is a
// device context or a bitmap.
BOOL TransparentImage(HDC target, int targetX, int targetY, int targetWidth, int targetHeight, HANDLE source,
                      int sourceX, int sourceY, int sourceWidth, int sourceHeight, COLORREF transparent);

// Tells the audio system to take over the sound settings of the registry.
void AudioUpdateFromRegistry();

// keybd_event: a key event that makes no click.
#define KEYEVENTF_SILENT 0x0004

// A Windows CE program's entry takes its command line as WCHAR text; the
// desktop calls that entry wWinMain.
#ifndef _WIN32
int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int show);
#else
#define WinMain wWinMain
#endif

#ifdef __cplusplus
}
#endif
