// The program entry: the platform's main. It names the program after its
// binary, makes sure a whole device exists, starts the program's clock,
// installs the standard controls, takes its automation script, and calls
// WinMain with the arguments joined by single spaces as the command line.
#include <cstdio>
#include <exception>
#include <string>

#include <windows.h>

#include "../automation/automation.h"
#include "../controls/controls.h"
#include "../display/display.h"
#include "../hardware/phone_state.h"
#include "../kernel/clock.h"
#include "../kernel/program.h"
#include "../setup/device_setup.h"
#include "../text/utf.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int show);

int main(int argc, char** argv) {
  try {
    platform::SetProgramName(argc > 0 ? argv[0] : "selvane");
    // Display settings that name nothing allowed are refused before anything runs.
    std::string displayError = platform::DisplaySettingsError();
    if (!displayError.empty()) {
      std::fprintf(stderr, "%s: %s\n", platform::ProgramName().c_str(), displayError.c_str());
      return 1;
    }
    // Makes the device when there is none; refuses a damaged one.
    platform::EnsureDevice();
    platform::DeviceDb();
    platform::StartProgramClock();
    platform::InstallStandardControls();
    // The script, if any, becomes the message loop's stand-in user.
    platform::LoadAutomationScript();
    platform::StartPhoneHardware();
    platform::StartDisplay();
    std::string joined;
    for (int i = 1; i < argc; ++i) {
      if (i > 1) joined += ' ';
      joined += argv[i];
    }
    std::u16string commandLine = platform::Utf8ToUtf16(joined);
    static char instanceTag;
    int status = WinMain(reinterpret_cast<HINSTANCE>(&instanceTag), nullptr, commandLine.data(), 1);
    platform::RunProgramExit();
    return status;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s: %s\n", platform::ProgramName().c_str(), e.what());
    return 1;
  }
}
