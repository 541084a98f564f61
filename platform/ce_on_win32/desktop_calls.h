// The calls whose desktop Win32 namesake behaves otherwise than on the
// phone, with the phone's behaviour. phone_names.h gives them to the
// programs under the desktop names.
#pragma once

#include <windows.h>
#include <mmsystem.h>
#include <shellapi.h>

#ifdef __cplusplus
extern "C" {
#endif

// A key path may begin with "\", the access mask is not enforced (0 opens
// for reading and writing), and deleting a key deletes everything below it.
LONG PhoneRegOpenKeyExW(HKEY key, LPCWSTR subKey, DWORD options, REGSAM access, PHKEY result);
LONG PhoneRegCreateKeyExW(HKEY key, LPCWSTR subKey, DWORD reserved, LPWSTR keyClass, DWORD options, REGSAM access,
                          LPSECURITY_ATTRIBUTES security, PHKEY result, LPDWORD disposition);
LONG PhoneRegDeleteKeyW(HKEY key, LPCWSTR subKey);

// The command line holds the arguments alone; the start-up information and
// the process information may be null.
BOOL PhoneCreateProcessW(LPCWSTR imageName, LPWSTR commandLine, LPSECURITY_ATTRIBUTES processAttributes,
                         LPSECURITY_ATTRIBUTES threadAttributes, BOOL inheritHandles, DWORD creationFlags,
                         LPVOID environment, LPWSTR currentDirectory, LPSTARTUPINFOW startupInfo,
                         LPPROCESS_INFORMATION processInformation);
// A Windows CE shortcut ("N#target") starts its target.
BOOL PhoneShellExecuteExW(SHELLEXECUTEINFOW* info);

// Named events are remembered by handle, so that EventModify can journal
// their names; CloseHandle also closes the object store's handles.
HANDLE PhoneCreateEventW(LPSECURITY_ATTRIBUTES attributes, BOOL manualReset, BOOL initialState, LPCWSTR name);
BOOL PhoneCloseHandle(HANDLE handle);

// The phone's clock: the hardware key's "Clock" when set, moving on from
// the program's start, else the computer's.
void PhoneGetLocalTime(LPSYSTEMTIME time);

// The wave device's volume (a null handle is the device itself) and sounds,
// recorded and journalled; there may be no audio device at all.
MMRESULT PhoneWaveOutSetVolume(HWAVEOUT device, DWORD volume);
BOOL PhonePlaySoundW(LPCWSTR sound, HMODULE module, DWORD flags);

// KEYEVENTF_SILENT is the phone's; desktop Windows reads the same bit as
// KEYEVENTF_UNICODE.
void PhoneKeybdEvent(BYTE virtualKey, BYTE scanCode, DWORD flags, ULONG_PTR extraInfo);

// Finds the Widcomm stack's tray window, which the CE layer provides on a
// phone with that stack.
HWND PhoneFindWindowW(LPCWSTR className, LPCWSTR windowName);

// The program's own entry, called by the CE layer's wWinMain after the
// phone's start-up.
int WINAPI PhoneWinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int show);

#ifdef __cplusplus
}
#endif
