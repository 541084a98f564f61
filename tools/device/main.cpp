// selvane-device: creates and inspects the emulated phone. Each command lives
// in a file of its own and is added here.
#include <cstdio>
#include <exception>

#include "commands.h"
#include "program.h"

int main(int argc, char** argv) {
  platform::SetProgramName("selvane-device");
  CLI::App app{"The emulated phone's tool: create a device, read and write its registry, read its journal and calendar."};
  app.require_subcommand(1);
  AddInitCommand(app);
  AddRegCommand(app);
  AddJournalCommand(app);
  AddClockCommand(app);
  AddStateCommand(app);
  AddStartCommand(app);
  AddCalendarCommand(app);
  AddRunCommand(app);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    return app.exit(e);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "selvane-device: %s\n", e.what());
    return 1;
  }
  return 0;
}
