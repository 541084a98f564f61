// selvane-device: creates and inspects the emulated phone. Each command lives
// in a file of its own and is added here. Errors become the exit statuses:
// 2 for a command line that is wrong, 1 for a command that could not be
// carried out (its changes then rolled back).
#include <cstdio>
#include <exception>
#include <string>

#include "platform/kernel/program.h"
#include "tools/device/commands.h"

namespace {

constexpr int kUsageStatus = 2;
constexpr int kFailureStatus = 1;

std::string CommandNames(CLI::App* parent) {
  std::string names;
  for (CLI::App* command : parent->get_subcommands([](CLI::App*) { return true; }))
    names += (names.empty() ? "" : ", ") + command->get_name();
  return names;
}

// Where a command is needed, the word given must name one: says which word
// names none, or that none was given, with the commands that fit there.
void CheckCommandWords(CLI::App& app, int argc, char** argv) {
  CLI::App* current = &app;
  std::string given;
  for (int i = 1; i < argc; ++i) {
    std::string word = argv[i];
    if (word.empty() || word[0] == '-') return;
    auto found = current->get_subcommands([&](CLI::App* command) { return command->check_name(word); });
    if (found.empty()) {
      if (current->get_require_subcommand_min() == 0) return;
      throw UsageError("unknown command \"" + given + word + "\"; the commands" +
                       (given.empty() ? "" : " of \"" + given.substr(0, given.size() - 1) + "\"") + " are " +
                       CommandNames(current));
    }
    current = found.front();
    given += word + " ";
  }
  if (current->get_require_subcommand_min() > 0)
    throw UsageError((given.empty() ? "name a command: " : "\"" + given.substr(0, given.size() - 1) +
                                                               "\" needs a command: ") +
                     CommandNames(current));
}

int RunCommand(CLI::App& app, int argc, char** argv) {
  try {
    CheckCommandWords(app, argc, argv);
    app.parse(argc, argv);
    FinishChange();
  } catch (const CLI::ParseError& e) {
    // Help, and the status of a program that `start --wait` waited for.
    if (e.get_exit_code() == 0 || e.get_name() == "RuntimeError") return app.exit(e);
    std::fprintf(stderr, "selvane-device: %s (see --help)\n", e.what());
    return kUsageStatus;
  } catch (const UsageError& e) {
    std::fprintf(stderr, "selvane-device: %s\n", e.what());
    return kUsageStatus;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "selvane-device: %s\n", e.what());
    return kFailureStatus;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  platform::SetProgramName("selvane-device");
  CLI::App app{"The emulated phone's tool: create a device, read and write its registry, read its journal, calendar and contacts, and let calls come in."};
  app.require_subcommand(1);
  AddInitCommand(app);
  AddRegCommand(app);
  AddJournalCommand(app);
  AddClockCommand(app);
  AddStateCommand(app);
  AddModesCommand(app);
  AddWeekCommand(app);
  AddStartCommand(app);
  AddCalendarCommand(app);
  AddRunCommand(app);
  AddContactsCommand(app);
  AddCallCommand(app);
  int status = RunCommand(app, argc, argv);
  DropChange();
  return status;
}
