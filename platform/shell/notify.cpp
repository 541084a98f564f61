// CeRunAppAtTime: one timed-start registration per program path, kept in
// the timed_starts table of phone.db and written to the journal.
#include <notify.h>

#include "../device/call_failure.h"
#include "../device/device.h"
#include "../kernel/journal.h"
#include "../portable/timed_start_time.h"
#include "../text/text_fold.h"
#include "../text/utf.h"
#include "timed_starts.h"

namespace platform {

namespace {

// Paths compare as the file system compares them: case-folded, "/" as "\".
std::string RegistrationKey(std::u16string_view path) {
  std::u16string key = FoldCase(path);
  for (char16_t& c : key)
    if (c == u'/') c = u'\\';
  return Utf16ToUtf8(key);
}

}  // namespace

void CreateTimedStartTables(sqlite3* db) {
  Exec(db,
       "CREATE TABLE IF NOT EXISTS timed_starts(path_key TEXT PRIMARY KEY, path TEXT NOT NULL,"
       " start_at TEXT NOT NULL)");
}

std::vector<TimedStart> TimedStarts() {
  std::vector<TimedStart> starts;
  Statement q(DeviceDb(), "SELECT path, start_at FROM timed_starts ORDER BY start_at, path_key", Statement::Cached);
  while (q.Step()) starts.push_back({q.Text(0), q.Text(1)});
  return starts;
}

}  // namespace platform

BOOL CeRunAppAtTime(LPCWSTR appName, SYSTEMTIME* time) try {
  if (!appName || !*appName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::string path = platform::Utf16ToUtf8(appName);
  std::string entry = "CeRunAppAtTime \"" + path + "\" ";
  sqlite3* db = platform::DeviceDb();
  if (!time) {
    platform::Statement remove(db, "DELETE FROM timed_starts WHERE path_key = ?", platform::Statement::Cached);
    remove.Bind(1, platform::RegistrationKey(appName)).Run();
    platform::JournalAppend(entry + "none");
    return TRUE;
  }
  std::string when = portable::TimedStartTimeText(*time);
  if (!portable::IsTimedStartTime(*time)) {
    platform::JournalAppend(entry + when + " failed");
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  platform::Statement save(db,
                           "INSERT INTO timed_starts(path_key, path, start_at) VALUES(?, ?, ?)"
                           " ON CONFLICT(path_key) DO UPDATE SET path = excluded.path, start_at = excluded.start_at",
                           platform::Statement::Cached);
  save.Bind(1, platform::RegistrationKey(appName)).Bind(2, path).Bind(3, when).Run();
  platform::JournalAppend(entry + when);
  return TRUE;
} catch (...) {
  return platform::FailedCall(FALSE);
}
