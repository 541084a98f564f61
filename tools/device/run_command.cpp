// selvane-device run: switches the phone on. The Today screen (the program
// SelvaneToday) shows the active mode and, as the phone's shell, starts the
// programs registered with CeRunAppAtTime at their time; the tool waits for
// the phone to be switched off (the host window closed, or, headless, the
// automation script of SELVANE_INPUT done) and exits with its status. The
// phone's programs end with it: when the tool is ended by SIGTERM, SIGINT or
// SIGHUP, or the Today screen ends, every program it started, directly or
// through others, is ended too.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/device/device.h"
#include "platform/files/files.h"
#include "platform/kernel/display_choice.h"
#include "platform/kernel/processes.h"
#include "tools/device/commands.h"
#include "tools/device/program_group.h"

namespace {

// The file whose lock says that the phone of the device is on; it holds the
// process id of the run that switched it on.
constexpr char kPhoneOnFile[] = "phone.on";

// Takes the phone-on lock of the device, or says who holds it.
platform::HostFd SwitchPhoneOn() {
  std::filesystem::path file = platform::DeviceFolder() / kPhoneOnFile;
  platform::HostFd lock(open(file.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600));
  if (!lock) throw CommandError("cannot switch the phone of " + platform::DeviceFolder().string() + " on: " + file.string());
  if (flock(lock.get(), LOCK_EX | LOCK_NB) != 0) {
    char text[16] = {};
    ssize_t got = pread(lock.get(), text, sizeof text - 1, 0);
    std::string holder = got > 0 ? std::string(text, size_t(got)) : "unknown";
    throw CommandError("the phone of " + platform::DeviceFolder().string() + " is already on (process " + holder + ")");
  }
  std::string pid = std::to_string(getpid());
  if (ftruncate(lock.get(), 0) != 0 || pwrite(lock.get(), pid.data(), pid.size(), 0) != ssize_t(pid.size()))
    throw CommandError("cannot write " + file.string());
  return lock;
}

}  // namespace

void AddRunCommand(CLI::App& app) {
  CLI::App* run = app.add_subcommand("run", "Switch the phone on: its Today screen, and programs started at their times");
  run->footer(
      "In a host window (SELVANE_DISPLAY=sdl) the phone runs until the window is closed; headless it runs the "
      "automation script of SELVANE_INPUT (e.g. \"wait 20000\") and is switched off when the script is done. "
      "Ending this command (SIGTERM, SIGINT, SIGHUP) switches the phone off: its programs end with it.");
  run->callback([] {
    UseDevice();
    if (std::string refusal = platform::HostWindowRefusal(); !refusal.empty()) throw CommandError(refusal);
    platform::HostFd phoneOn = SwitchPhoneOn();
    const char* script = std::getenv("SELVANE_INPUT");
    if (platform::DisplayIsHeadless() && !(script && *script))
      std::fprintf(stderr, "selvane-device: no host display and no script (SELVANE_INPUT): the phone is switched "
                           "off once its screen is drawn\n");
    int status = RunProgramGroup(platform::TodayScreenBinary(), u"", true,
                                 GroupEnd::WithItsLeader);
    if (status != 0) throw CLI::RuntimeError(status);
  });
}
