// selvane-device run: switches the phone on. The Today screen (the program
// SelvaneToday) shows the active mode and, as the phone's shell, starts the
// programs registered with CeRunAppAtTime at their time; the tool waits for
// the phone to be switched off (the host window closed, or, headless, the
// automation script of SELVANE_INPUT done) and exits with its status.
#include <cstdio>
#include <cstdlib>

#include "commands.h"
#include "device/device.h"
#include "kernel/display_choice.h"
#include "kernel/processes.h"

void AddRunCommand(CLI::App& app) {
  CLI::App* run = app.add_subcommand("run", "Switch the phone on: its Today screen, and programs started at their times");
  run->footer(
      "In a host window (SELVANE_DISPLAY=sdl) the phone runs until the window is closed; headless it runs the "
      "automation script of SELVANE_INPUT (e.g. \"wait 20000\") and is switched off when the script is done.");
  run->callback([] {
    UseDevice();
    const char* script = std::getenv("SELVANE_INPUT");
    if (platform::DisplayIsHeadless() && !(script && *script))
      std::fprintf(stderr, "selvane-device: no host display and no script (SELVANE_INPUT): the phone is switched "
                           "off once its screen is drawn\n");
    std::filesystem::path binary = platform::ProgramBinaryFolder() / platform::kTodayScreen;
    pid_t pid = platform::StartProgram(binary, u"", true);
    if (pid < 0) throw CommandError("cannot start " + binary.string());
    int status = platform::WaitForProgram(pid);
    if (status != 0) throw CLI::RuntimeError(status);
  });
}
