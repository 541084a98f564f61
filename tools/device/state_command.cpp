// selvane-device state: the phone's state, one "name: value" line per fact,
// section by section (clock, the modes, timed starts, then the hardware).
#include <cstdio>
#include <string>

#include "platform/display/screen_records.h"
#include "platform/kernel/clock.h"
#include "platform/shell/timed_starts.h"
#include "tools/device/commands.h"
#include "tools/device/mode_state_sections.h"
#include "tools/device/phone_state_sections.h"

namespace {

void PrintClock() {
  std::printf("clock: %s%s\n", platform::FormatLocalTime(platform::DeviceNowMs()).c_str(),
              platform::DeviceClockFrozen() ? " (frozen)" : "");
}

void PrintTimedStarts() {
  auto starts = platform::TimedStarts();
  if (starts.empty()) {
    std::printf("timed starts: none\n");
    return;
  }
  std::printf("timed starts:\n");
  for (const auto& start : starts) std::printf("  %s \"%s\"\n", start.time.c_str(), start.path.c_str());
}

// The programs on the phone's screen, lowest first: "on the screen:
// SelvaneToday (process 1234), SelvaneSettings (process 1240)", or "nothing".
void PrintProgramsOnScreen() {
  std::string line;
  for (const auto& program : platform::ProgramsOnScreen())
    line += (line.empty() ? "" : ", ") + program.program + " (process " + std::to_string(program.pid) + ")";
  std::printf("on the screen: %s\n", line.empty() ? "nothing" : line.c_str());
}

// The sections in the order printed; each family adds its own.
void (*const kSections[])() = {
    PrintClock,
    PrintActiveMode,
    PrintTemporarySwitch,
    PrintNextWakeUp,
    PrintTimedStarts,
    PrintProgramsOnScreen,
    PrintRadioState,
    PrintSimState,
    PrintBluetoothState,
    PrintHeadsetState,
    PrintSoundState,
    PrintEventCounts,
};

}  // namespace

void AddStateCommand(CLI::App& app) {
  CLI::App* state = app.add_subcommand("state", "Print the phone's state, one \"name: value\" line each: the clock, the active mode, a pending "
                     "temporary switch, the next wake-up, the timed starts, then the hardware (radio, SIM, "
                     "Bluetooth, headset, sound, counts of the named events); `modes` prints the schedule");
  state->callback([] {
    ReadDevice();
    for (auto section : kSections) section();
  });
}
