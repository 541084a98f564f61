// The settings store as the import's fuzz target sees it: instead of writing
// the registry, each save checks that what it is given is well formed, and
// aborts (a finding) when a field is unterminated or an entry is unusable.
#include <cstdlib>
#include <iterator>

#include "store/mode_store.h"
#include "store/notification_table.h"

namespace {

template <size_t N>
void RequireTerminated(const WCHAR (&field)[N]) {
  for (WCHAR c : field)
    if (c == 0) return;
  abort();
}

}  // namespace

int SaveExistingMode(LPCWSTR keyName, ModeRecord mode) {
  if (wcscmp(keyName, u"Mode 2") != 0) abort();
  RequireTerminated(mode.RingMode);
  RequireTerminated(mode.RingTone);
  RequireTerminated(mode.SimCode);
  RequireTerminated(mode.ModeName);
  RequireTerminated(mode.Category);
  RequireTerminated(mode.ProgramToRun);
  return 0;
}

int SaveNotification(LPCWSTR keyName, NotificationSetting entry) {
  if (wcscmp(keyName, u"Mode 2") != 0) abort();
  RequireTerminated(entry.EventName);
  RequireTerminated(entry.Wave);
  if (entry.EventName[0] == 0 || wcschr(entry.EventName, u'\\') || entry.Options < 0x40000000) abort();
  return 0;
}
