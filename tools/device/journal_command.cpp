// selvane-device journal [--times] [--clear]: prints the journal as
// "SEQ PROGRAM TEXT", one line per hardware call (with --times the phone's
// clock time of each call after SEQ), or empties it.
#include <cstdio>

#include "platform/kernel/journal.h"
#include "tools/device/commands.h"

void AddJournalCommand(CLI::App& app) {
  CLI::App* journal = app.add_subcommand("journal", "Print the journal of the phone's hardware calls, or empty it");
  auto clear = std::make_shared<bool>(false);
  auto times = std::make_shared<bool>(false);
  journal->add_flag("--clear", *clear, "Empty the journal instead of printing it");
  journal->add_flag("--times", *times, "Print each line's phone time: SEQ YYYY-MM-DD HH:MM:SS PROGRAM TEXT");
  journal->callback([clear, times] {
    if (*clear) {
      ChangeDevice();
      platform::JournalClear();
      return;
    }
    ReadDevice();
    for (const auto& line : platform::JournalRead()) {
      if (*times)
        std::printf("%lld %s %s %s\n", static_cast<long long>(line.seq), line.time.c_str(), line.program.c_str(),
                    line.text.c_str());
      else
        std::printf("%lld %s %s\n", static_cast<long long>(line.seq), line.program.c_str(), line.text.c_str());
    }
  });
}
