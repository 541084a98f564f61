// selvane-device journal [--clear]: prints the journal as "SEQ PROGRAM TEXT",
// one line per hardware call, or empties it.
#include <cstdio>

#include "commands.h"
#include "journal.h"

void AddJournalCommand(CLI::App& app) {
  CLI::App* journal = app.add_subcommand("journal", "Print the journal of the phone's hardware calls, or empty it");
  auto clear = std::make_shared<bool>(false);
  journal->add_flag("--clear", *clear, "Empty the journal instead of printing it");
  journal->callback([clear] {
    if (*clear) {
      ChangeDevice();
      platform::JournalClear();
      return;
    }
    ReadDevice();
    for (const auto& line : platform::JournalRead())
      std::printf("%lld %s %s\n", static_cast<long long>(line.seq), line.program.c_str(), line.text.c_str());
  });
}
