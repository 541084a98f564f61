// The sound files on the phone, as the two lists the dialog offers: ring
// tones (with extension) and notification waves (without ".wav"), lower case.
#pragma once

#include <windows.h>

#define RING_TONE_SLOTS 50
#define WAVE_SLOTS 100
#define SOUND_NAME_WIDTH 150

// Filled slots come first, without gaps; the rest are empty. Both lists
// live for the whole run of the settings program.
extern WCHAR RingToneList[RING_TONE_SLOTS][SOUND_NAME_WIDTH];
extern WCHAR WaveList[WAVE_SLOTS][SOUND_NAME_WIDTH];

// Empties the ring-tone list and fills it from "\windows\*.wma", then
// "\windows\rings\*.wav", "*.wma" and "*.mid", up to 50 names. Returns 0.
int ListRingTones();

// Empties the wave list and fills it from "\windows\*.wav", up to 100 names.
// Returns 0, or -1 when that search finds nothing at all.
int ListWaves();
