// The journal table of phone.db: appended to by the hardware calls, read and
// cleared by the device tool.
#include "journal.h"

#include "device.h"
#include "program.h"

namespace platform {

void JournalAppend(const std::string& text) {
  Statement q(DeviceDb(), "INSERT INTO journal(program, text) VALUES(?, ?)", Statement::Cached);
  q.Bind(1, ProgramName()).Bind(2, text).Run();
}

std::vector<JournalLine> JournalRead() {
  std::vector<JournalLine> lines;
  Statement q(DeviceDb(), "SELECT seq, program, text FROM journal ORDER BY seq");
  while (q.Step()) lines.push_back({q.Int(0), q.Text(1), q.Text(2)});
  return lines;
}

void JournalClear() { Exec(DeviceDb(), "DELETE FROM journal"); }

}  // namespace platform
