// The sound catalogue: searches of fixed phone folders that fill the
// ring-tone and wave lists once per run of the settings program.
#include "store/sound_catalogue.h"

#include <strsafe.h>
#include <cstring>

WCHAR RingToneList[RING_TONE_SLOTS][SOUND_NAME_WIDTH];
WCHAR WaveList[WAVE_SLOTS][SOUND_NAME_WIDTH];

// One search of the ring-tone list: its pattern and the extension text a
// found name must contain.
struct RingToneSearch {
  const WCHAR* pattern;
  const WCHAR* extension;
};

static const RingToneSearch RING_TONE_SEARCHES[] = {
    {TEXT("\\windows\\*.wma"), TEXT(".wma")},
    {TEXT("\\windows\\rings\\*.wav"), TEXT(".wav")},
    {TEXT("\\windows\\rings\\*.wma"), TEXT(".wma")},
    {TEXT("\\windows\\rings\\*.mid"), TEXT(".mid")},
};

static const WCHAR WAVE_PATTERN[] = TEXT("\\windows\\*.wav");
static const WCHAR WAVE_EXTENSION[] = TEXT(".wav");
// The wave list shows names without their last four characters, the ".wav".
#define WAVE_EXTENSION_LENGTH 4

// Runs one folder search, appending to `list` (which holds `*count` names
// of at most `capacity`) each lower-cased name that is not a folder and
// contains `extension`; with `cutExtension` the last four characters are
// left off. A name too long for a slot is skipped rather than cut, since a
// cut name would name no file. Returns false when nothing at all was found.
static bool SearchFolder(LPCWSTR pattern, LPCWSTR extension, WCHAR (*list)[SOUND_NAME_WIDTH], int capacity,
                         int* count, bool cutExtension) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(pattern, &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  while (*count < capacity) {
    _wcslwr(found.cFileName);
    if (found.dwFileAttributes != FILE_ATTRIBUTE_DIRECTORY && wcsstr(found.cFileName, extension)) {
      size_t length = wcslen(found.cFileName);
      if (cutExtension) length -= WAVE_EXTENSION_LENGTH;
      if (length < SOUND_NAME_WIDTH) {
        StringCchCopyNW(list[*count], SOUND_NAME_WIDTH, found.cFileName, length);
        ++*count;
      }
    }
    if (*count >= capacity || !FindNextFileW(search, &found)) break;
  }
  FindClose(search);
  return true;
}

int ListRingTones() {
  std::memset(RingToneList, 0, sizeof RingToneList);
  int count = 0;
  for (const RingToneSearch& step : RING_TONE_SEARCHES) {
    if (count >= RING_TONE_SLOTS) break;
    SearchFolder(step.pattern, step.extension, RingToneList, RING_TONE_SLOTS, &count, false);
  }
  return 0;
}

int ListWaves() {
  std::memset(WaveList, 0, sizeof WaveList);
  int count = 0;
  if (!SearchFolder(WAVE_PATTERN, WAVE_EXTENSION, WaveList, WAVE_SLOTS, &count, true)) return -1;
  return 0;
}
