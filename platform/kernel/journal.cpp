// The journal table of phone.db: appended to by the hardware calls, read and
// cleared by the device tool. Each line keeps the phone's clock time of its
// call, as the calling program sees the clock.
#include "journal.h"

#include "../device/device.h"
#include "clock.h"
#include "program.h"

namespace platform {

namespace {

bool HasTimeColumn(sqlite3* db) {
  Statement columns(db, "SELECT 1 FROM pragma_table_info('journal') WHERE name = 'at'");
  return columns.Step();
}

// A device made before lines kept their time gets the column at its first
// new line; its old lines read with an empty time.
void AddTimeColumnWhenMissing(sqlite3* db) {
  thread_local sqlite3* checked = nullptr;
  if (checked == db) return;
  if (!HasTimeColumn(db)) Exec(db, "ALTER TABLE journal ADD COLUMN at TEXT NOT NULL DEFAULT ''");
  checked = db;
}

}  // namespace

void JournalAppend(const std::string& text) {
  sqlite3* db = DeviceDb();
  AddTimeColumnWhenMissing(db);
  Statement q(db, "INSERT INTO journal(program, text, at) VALUES(?, ?, ?)", Statement::Cached);
  q.Bind(1, ProgramName()).Bind(2, text).Bind(3, FormatLocalTime(ProgramNowMs())).Run();
}

std::vector<JournalLine> JournalRead() {
  sqlite3* db = DeviceDb();
  std::vector<JournalLine> lines;
  Statement q(db, HasTimeColumn(db) ? "SELECT seq, program, text, at FROM journal ORDER BY seq"
                                    : "SELECT seq, program, text, '' FROM journal ORDER BY seq");
  while (q.Step()) lines.push_back({q.Int(0), q.Text(1), q.Text(2), q.Text(3)});
  return lines;
}

void JournalClear() { Exec(DeviceDb(), "DELETE FROM journal"); }

}  // namespace platform
