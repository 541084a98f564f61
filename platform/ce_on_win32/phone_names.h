// Every program source of the Windows build takes this header first (the
// compiler's -include): the programs then call the phone's versions of the
// desktop calls that differ, under the names they were written with. The CE
// layer's own sources do not take it, and reach the desktop calls.
#pragma once

#include "desktop_calls.h"

#define RegOpenKeyExW PhoneRegOpenKeyExW
#define RegCreateKeyExW PhoneRegCreateKeyExW
#define RegDeleteKeyW PhoneRegDeleteKeyW
#define CreateProcessW PhoneCreateProcessW
#undef ShellExecuteEx
#define ShellExecuteEx PhoneShellExecuteExW
#define CreateEventW PhoneCreateEventW
#define CloseHandle PhoneCloseHandle
#define GetLocalTime PhoneGetLocalTime
#define waveOutSetVolume PhoneWaveOutSetVolume
#define PlaySoundW PhonePlaySoundW
#define keybd_event PhoneKeybdEvent
#define FindWindowW PhoneFindWindowW
#undef WinMain
#define WinMain PhoneWinMain
