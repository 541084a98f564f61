// Sound: the wave output's master volume and sound playing.
#pragma once

#include <windows.h>

typedef UINT MMRESULT;
struct HWAVEOUT__;
typedef HWAVEOUT__* HWAVEOUT;

#define MMSYSERR_NOERROR 0
#define MMSYSERR_ERROR 1
#define MMSYSERR_BADDEVICEID 2
#define MMSYSERR_INVALHANDLE 5
#define MMSYSERR_INVALPARAM 11

// The volume's low word is the left channel, the high word the right one;
// a null handle names the wave device's master volume, the only one here.
MMRESULT waveOutSetVolume(HWAVEOUT hwo, DWORD dwVolume);
MMRESULT waveOutGetVolume(HWAVEOUT hwo, LPDWORD pdwVolume);

#define SND_SYNC 0x0000
#define SND_ASYNC 0x0001
#define SND_NODEFAULT 0x0002
#define SND_MEMORY 0x0004
#define SND_LOOP 0x0008
#define SND_NOSTOP 0x0010
#define SND_PURGE 0x0040
#define SND_ALIAS 0x00010000
#define SND_FILENAME 0x00020000

BOOL PlaySoundW(LPCWSTR pszSound, HMODULE hmod, DWORD fdwSound);
